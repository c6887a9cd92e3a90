// Extension and output name rules: the last point of the file name counts.
#include "crypto/file_names.h"

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::korva;

TEST(FileNames, StripAndExtension) {
    // The encrypted file tests run the usual names through a round trip; these are the edges.
    const char* cases[][3] = {
        // path, stripped, extension
        {"/home/u/archive.tar.gz", "/home/u/archive.tar", "gz"},
        {"/home/u/trailing.", "/home/u/trailing", ""},
        {"proj.v2/README", "proj.v2/README", ""},  // a point in a folder's name is not one
        {"Work.D/Notes", "Work.D/Notes", ""},
        {"/home/u/.hidden", "/home/u/.hidden", ""},  // a leading point starts the name
        {"/home/u/.config.bak", "/home/u/.config", "bak"},
        {"x.\xc3\x89T\xc3\x89", "x", "\xc3\xa9t\xc3\xa9"},  // lower case beyond ASCII
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripFileExt(QString::fromUtf8(c[0])), QString::fromUtf8(c[1])) << c[0];
        EXPECT_EQ(GetFileExt(QString::fromUtf8(c[0])), QString::fromUtf8(c[2])) << c[0];
        EXPECT_EQ(EncryptedFileName(QString::fromUtf8(c[0])), QString::fromUtf8(c[1]) + ".uzp");
    }
}
