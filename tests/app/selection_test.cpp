// Selection entries and the KB total arithmetic.
#include "app/selection.h"

#include <gtest/gtest.h>

#include "temp_home.h"

using namespace vx;

TEST(Selection, EntriesFromTheRootHaveNoDoubledSlash) {
    EXPECT_EQ(fileEntry("/", "file.txt"), "/file.txt");
    EXPECT_EQ(folderEntry("/"), "/*.*");
    EXPECT_EQ(fileEntry("/home/ann", "a b.txt"), "/home/ann/a b.txt");
    EXPECT_EQ(folderEntry("/home/ann"), "/home/ann/*.*");
}

TEST(Selection, KilobytesKeepFourPlaces) {
    EXPECT_DOUBLE_EQ(kilobytes(12345), 12.0557);
    EXPECT_DOUBLE_EQ(kilobytes(1023), 0.999);
    EXPECT_DOUBLE_EQ(kilobytes(0), 0.0);
    EXPECT_DOUBLE_EQ(kilobytes(3LL * 1024 * 1024 * 1024), 3145728.0);
}

TEST(Selection, TotalRoundsAfterEachAdditionHalvesToEven) {
    EXPECT_EQ(addToTotal(0, 0.999), 1);
    EXPECT_EQ(addToTotal(1, 0.999), 2);
    EXPECT_EQ(addToTotal(0, 0.5), 0);
    EXPECT_EQ(addToTotal(1, 0.5), 2);
    EXPECT_EQ(addToTotal(2, 0.4999), 2);
}

TEST(Selection, SizeOfAMissingFileIsUnknown) {
    test::TempHome home;
    EXPECT_FALSE(GetFileSize(home.file("gone.bin")).has_value());
    const QString f = home.write("k.bin", QByteArray(2048, 'x'));
    EXPECT_EQ(GetFileSize(f), 2.0);
}
