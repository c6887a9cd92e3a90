// Remote names become local file names only when they cannot reach outside their folder.
#include "ftp/local_name.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "ftp/cli/cli_options.h"

TEST(LocalNames, NamesHoldingSlashOrDotDotAreNeverLocalPaths) {
    const char* names[][2] = {{"report.zip", "report.zip"}, {"my file.zip", "my file.zip"}, {".hidden", ".hidden"},
                              {"", "-"}, {".", "-"}, {"..", "-"}, {"../x", "-"}, {"a/b", "-"}, {"/etc/passwd", "-"},
                              {"a..b", "-"}};
    for (const auto& c : names) EXPECT_EQ(vx::ftp::localFileName(c[0]).value_or("-"), c[1]) << c[0];
    EXPECT_FALSE(vx::ftp::localFileName(QString::fromUtf8("a\0b", 3)));
    const char* gets[][3] = {  // get REMOTE LOCAL: the path written, "-" when refused
        {"sub/report.zip", ".", "report.zip"}, {" a.zip ", " . ", "a.zip"}, {"..", "/tmp/x.zip", "/tmp/x.zip"},
        {"sub/..", ".", "-"}, {"dir/", ".", "-"}, {"..", ".", "-"}};
    for (const auto& c : gets) EXPECT_EQ(vx::cli::getTarget(c[0], c[1]).value_or("-"), c[2]) << c[0];
}
