// Extension and output name rules: the last point of the whole path counts.
#include "crypto/file_names.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace vx::korva {
namespace {

TEST(FileNames, StripAndExtension) {
    struct Case {
        const char* path;
        const char* stripped;
        const char* ext;
    } cases[] = {
        {"/home/u/report.DOC", "/home/u/report", "doc"},
        {"/home/u/archive.tar.gz", "/home/u/archive.tar", "gz"},
        {"/home/u/README", "/home/u/README", ""},
        {"/home/u/my.dir/report", "/home/u/my", "dir/report"},  // the folder's point
        {"/home/u/trailing.", "/home/u/trailing", ""},
        {".hidden", "", "hidden"},
        {"", "", ""},
        {"x.\xc3\x89T\xc3\x89", "x", "\xc3\xa9t\xc3\xa9"},  // lower case beyond ASCII
    };
    for (const Case& c : cases) {
        const QString p = QString::fromUtf8(c.path);
        EXPECT_EQ(StripFileExt(p), QString::fromUtf8(c.stripped)) << c.path;
        EXPECT_EQ(GetFileExt(p), QString::fromUtf8(c.ext)) << c.path;
    }
}

TEST(FileNames, FileExistsOnlyForFiles) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("a.txt"));
    EXPECT_FALSE(FileExists(f));
    QFile file(f);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(FileExists(f));  // an empty file exists
    EXPECT_FALSE(FileExists(dir.path()));
}

}  // namespace
}  // namespace vx::korva
