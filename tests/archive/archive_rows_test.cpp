// List texts: ratio rounding and CRC digits.
#include "archive/archive_rows.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace vx;

TEST(ArchiveRows, RatioRoundsHalvesToEvenAndGoesNegativeWhenAnEntryGrew) {
    const struct { quint64 size, packed; const char* text; } cases[] = {
        {1234, 617, "50%"},  {1000, 625, "38%"},  {1000, 375, "62%"},  // 37.5 up, 62.5 down
        {1000, 1000, "0%"},  {1000, 1030, "-3%"}, {1000, 1, "100%"},   {3, 2, "33%"},
        {0, 0, "0%"},        {0, 22, "0%"},       {5'000'000'000, 2'500'000'000, "50%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ratioText(c.size, c.packed), c.text) << c.size << " packed to " << c.packed;
}

TEST(ArchiveRows, TheLargestZip64SizeShowsAsANumber) {
    ArkovoEntry entry;
    entry.Size = entry.PackedSize = ~quint64(0);
    entry.FileName = "d/max.bin";
    const auto texts = rowTexts(entry);
    EXPECT_EQ(QString(texts[kColSize]).remove(QRegularExpression("[^0-9]")),
              "18446744073709551615");
    EXPECT_EQ(texts[kColRatio], "0%");
}

TEST(ArchiveRows, CrcIsUpperCaseHexWithoutLeadingZerosAndNeverNegative) {
    const struct { quint32 crc; const char* text; } cases[] = {
        {0, "0"}, {255, "FF"}, {0x0ABC, "ABC"}, {0x80000000, "80000000"}, {0xDEADBEEF, "DEADBEEF"}};
    for (const auto& c : cases) EXPECT_EQ(hexCrc(c.crc), c.text);
}
