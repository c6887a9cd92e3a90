// Selection entries, output names in the root folder and the KB total arithmetic. (Entries,
// totals and names in ordinary folders are checked through the file selection window and the
// start-up, the names' independence of the locale too.)
#include "app/output_names.h"
#include "app/selection.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vx;

TEST(Selection, NamesInTheRootHaveNoDoubledSlash) {
    EXPECT_EQ(fileEntry("/", "file.txt"), "/file.txt");
    EXPECT_EQ(outputArchivePath("/", QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5))),
              "/01022027-030405.zip");
}

TEST(Selection, KilobytesKeepFourPlacesAndTheTotalRoundsHalvesToEven) {
    EXPECT_DOUBLE_EQ(kilobytes(12345), 12.0557);
    EXPECT_DOUBLE_EQ(kilobytes(3LL * 1024 * 1024 * 1024), 3145728.0);
    constexpr qint32 kMax = std::numeric_limits<qint32>::max();
    // clang-format off
    const struct { qint32 total; double kb; qint32 sum; } cases[] = {
        {0, 0.999, 1}, {1, 0.999, 2}, {0, 0.5, 0}, {1, 0.5, 2}, {2, 0.4999, 2},
        {kMax - 1, 5.0, kMax}, {kMax, 3145728.0, kMax}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(addToTotal(c.total, c.kb), c.sum) << c.total << "+" << c.kb;
}
