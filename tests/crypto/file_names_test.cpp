// Extension and output name rules: the last point of the whole path counts.
#include "crypto/file_names.h"

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::korva;

TEST(FileNames, StripAndExtension) {
    const char* cases[][3] = {
        // path, stripped, extension
        {"/home/u/report.DOC", "/home/u/report", "doc"},
        {"/home/u/archive.tar.gz", "/home/u/archive.tar", "gz"},
        {"/home/u/README", "/home/u/README", ""},
        {"/home/u/my.dir/report", "/home/u/my", "dir/report"},  // the folder's point
        {"/home/u/trailing.", "/home/u/trailing", ""},
        {".hidden", "", "hidden"},
        {"x.\xc3\x89T\xc3\x89", "x", "\xc3\xa9t\xc3\xa9"},  // lower case beyond ASCII
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripFileExt(QString::fromUtf8(c[0])), QString::fromUtf8(c[1])) << c[0];
        EXPECT_EQ(GetFileExt(QString::fromUtf8(c[0])), QString::fromUtf8(c[2])) << c[0];
    }
}
