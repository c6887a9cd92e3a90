// List texts: ratio rounding, CRC digits, row cells and name lists.
#include "archive/archive_rows.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(ArchiveRows, RatioRoundsHalvesToEvenAndGoesNegativeWhenAnEntryGrew) {
    const struct { qint64 size, packed; const char* text; } cases[] = {
        {1234, 617, "50%"},   {1000, 625, "38%"},  // 37.5 goes up to the even 38
        {1000, 375, "62%"},                          // 62.5 goes down to the even 62
        {1000, 1000, "0%"},   {1000, 1030, "-3%"}, {1000, 1, "100%"},
        {3, 2, "33%"},        {0, 0, "0%"},        {0, 22, "0%"},
        {5'000'000'000, 2'500'000'000, "50%"},     // sizes past 4 GiB
    };
    for (const auto& c : cases)
        EXPECT_EQ(ratioText(c.size, c.packed), c.text) << c.size << " packed to " << c.packed;
}

TEST(ArchiveRows, CrcIsUpperCaseHexWithoutLeadingZerosAndNeverNegative) {
    const struct { quint32 crc; const char* text; } cases[] = {
        {0, "0"}, {255, "FF"}, {0x0ABC, "ABC"}, {0x7FFFFFFF, "7FFFFFFF"},
        {0x80000000, "80000000"}, {0xDEADBEEF, "DEADBEEF"}, {0xFFFFFFFF, "FFFFFFFF"}};
    for (const auto& c : cases) EXPECT_EQ(hexCrc(c.crc), c.text);
}

TEST(ArchiveRows, RowShowsNamePartsGroupedSizesAndTheDateAsStored) {
    ArkovoEntry e{"12-04-2026 16:29:06", 1, 617, 1234, "docs/2026/report.txt"};
    auto cells = rowTexts(e);
    EXPECT_EQ(cells[kColName], "report.txt");
    EXPECT_EQ(cells[kColDateTime], "12-04-2026 16:29:06");
    EXPECT_EQ(cells[kColSize], "1,234");
    EXPECT_EQ(cells[kColPacked], "617");
    EXPECT_EQ(cells[kColRatio], "50%");
    EXPECT_TRUE(cells[kColPath].startsWith("docs/2026")) << cells[kColPath].toStdString();

    e = {"", 0, 0, 0, "empty.txt"};  // zero sizes give empty cells
    cells = rowTexts(e);
    EXPECT_EQ(cells[kColSize], "");
    EXPECT_EQ(cells[kColPacked], "");
    EXPECT_EQ(cells[kColRatio], "0%");
    EXPECT_EQ(cells[kColPath], "");
}

TEST(ArchiveRows, NamesFollowTheIndexesInOrderAsBareFileNames) {
    const QStringList stored = {"", "a/one.txt", "two.txt", "deep/er/three.txt"};
    const auto lookup = [&](qint64 i) { return stored.value(i); };
    EXPECT_EQ(namesForIndexes({3, 1, 3}, lookup),
              QStringList({"three.txt", "one.txt", "three.txt"}));
    EXPECT_TRUE(namesForIndexes({}, lookup).isEmpty());
}
