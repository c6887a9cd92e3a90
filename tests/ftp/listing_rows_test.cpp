// The listing collection and the rows the upload window shows for it.
#include "ftp/listing_rows.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "core/date_forms.h"
#include "ftp/cdir_list.h"
#include "ftp/find_data.h"

using namespace vx;

TEST(DirList, AddSetsEachBooleanFromItsAttributeBit) {
    struct {
        qint32 bit;
        bool cDirItem::*field;
    } bits[] = {{0x1, &cDirItem::ReadOnly},   {0x2, &cDirItem::Hidden},      {0x4, &cDirItem::System},
                {0x10, &cDirItem::Directory}, {0x20, &cDirItem::Archive},    {0x80, &cDirItem::Normal},
                {0x100, &cDirItem::Temporary}, {0x800, &cDirItem::Compressed}, {0x1000, &cDirItem::Offline}};
    for (const auto& b : bits) {
        cDirList list;
        const cDirItem* item = list.Add(b.bit, 1.5, 2.5, 3.5, 42, "f");
        for (const auto& other : bits) EXPECT_EQ(item->*other.field, other.bit == b.bit) << b.bit;
        EXPECT_EQ(item->CreationTime, 1.5);
        EXPECT_EQ(item->LastAccessTime, 2.5);
        EXPECT_EQ(item->LastWriteTime, 3.5);
        EXPECT_EQ(item->FileSize, 42);
    }
    cDirList all;
    const cDirItem* every = all.Add(0x1 | 0x2 | 0x4 | 0x10 | 0x20 | 0x80 | 0x100 | 0x800 | 0x1000, 0, 0, 0, 0, "x");
    for (const auto& b : bits) EXPECT_TRUE(every->*b.field);
}

TEST(DirList, ItemsByPositionAndByNameWithoutRegardToCase) {
    cDirList list;
    list.Add(0x80, 0, 0, 0, 1, "Report.ZIP");
    list.Add(0x10, 0, 0, 0, 2, "public_html");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1)->FileName, "Report.ZIP");
    EXPECT_EQ(list.Item(2)->FileName, "public_html");
    EXPECT_EQ(list.Item(0), nullptr);
    EXPECT_EQ(list.Item(3), nullptr);
    EXPECT_EQ(list.Item(QStringLiteral("report.zip")), list.Item(1));
    EXPECT_EQ(list.Item(QStringLiteral("PUBLIC_HTML")), list.Item(2));
    EXPECT_EQ(list.Item(QStringLiteral("missing")), nullptr);
    QStringList order;
    for (const auto& item : list) order << item->FileName;
    EXPECT_EQ(order, QStringList({"Report.ZIP", "public_html"}));
}

TEST(DirList, NameDifferingOnlyInCaseIsKeptButLookupFindsTheFirst) {
    cDirList list;
    list.Add(0x80, 0, 0, 0, 1, "a.txt");
    list.Add(0x80, 0, 0, 0, 2, "A.TXT");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(QStringLiteral("A.txt"))->FileSize, 1);
    EXPECT_EQ(list.Item(2)->FileName, "A.TXT");
}

TEST(ListingRows, AttributeTextIsNinePiecesInFixedOrder) {
    cDirList list;
    const cDirItem* normal = list.Add(0x80, 0, 0, 0, 0, "n");
    EXPECT_EQ(attributeText(*normal), " -  -  -  -  N  -  -  -  - ");
    const cDirItem* all = list.Add(0x1 | 0x2 | 0x4 | 0x10 | 0x20 | 0x80 | 0x100 | 0x800 | 0x1000, 0, 0, 0, 0, "a");
    EXPECT_EQ(attributeText(*all), " A  C  D  H  N  O  R  S  T ");
    const cDirItem* ro = list.Add(0x1 | 0x20, 0, 0, 0, 0, "r");
    EXPECT_EQ(attributeText(*ro), " A  -  -  -  -  -  R  -  - ");
    EXPECT_EQ(attributeText(*ro).size(), 27);
}

TEST(ListingRows, DotDotFirstThenFoldersAndFilesInListOrder) {
    cDirList list;
    const double when = toDateValue(QDateTime(QDate(2024, 3, 5), QTime(14, 22, 10)));
    list.Add(0x80, when, when, when, static_cast<qint32>(static_cast<quint32>(3000000000u)), "big.iso");
    list.Add(0x10, when, when, when, 4096, "public_html");
    list.Add(0x80, 0, 0, toDateValue(QDateTime(QDate(2024, 3, 5), QTime(0, 0))), 7, "midnight.txt");
    const auto rows = listingRows(list);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].text, "..");
    EXPECT_EQ(rows[0].smallIcon, 1);
    EXPECT_TRUE(rows[0].subItems.isEmpty());

    EXPECT_EQ(rows[1].text, "big.iso");
    EXPECT_EQ(rows[1].smallIcon, 2);
    ASSERT_EQ(rows[1].subItems.size(), 3);
    EXPECT_EQ(rows[1].subItems[0], "-1294967296");  // 3 000 000 000 read as signed 32 bits
    EXPECT_EQ(rows[1].subItems[1], generalDateTime(when));
    EXPECT_EQ(rows[1].subItems[2], " -  -  -  -  N  -  -  -  - ");

    EXPECT_EQ(rows[2].text, "public_html");
    EXPECT_EQ(rows[2].smallIcon, 1);
    EXPECT_EQ(rows[2].subItems, QStringList{"< Directory >"});

    // The general form drops the time of day at exactly midnight.
    EXPECT_EQ(rows[3].subItems[1], generalDateTime(QDateTime(QDate(2024, 3, 5), QTime(0, 0))));
    EXPECT_FALSE(rows[3].subItems[1].contains(QLatin1Char(':')));
}

TEST(ListingRows, EmptyListGivesOnlyDotDot) {
    cDirList list;
    const auto rows = listingRows(list);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].text, "..");
}

TEST(FileTimeToDate, TicksBecomeLocalDaysSince1899) {
    const QDateTime utc(QDate(2024, 3, 5), QTime(14, 22, 0), Qt::UTC);
    const qint64 ticks = ftp::fileTimeFromUtc(utc);
    // ticks / 10 000 / 86 400 000 - 109 205, after moving to local time.
    const double offsetDays = utc.toLocalTime().offsetFromUtc() / 86400.0;
    const double expected = ticks / 10000.0 / 86400000.0 - 109205 + offsetDays;
    EXPECT_NEAR(fileTimeToDate(ticks), expected, 1e-7);
    EXPECT_EQ(fromDateValue(fileTimeToDate(ticks)), utc.toLocalTime());
    EXPECT_EQ(fileTimeToDate(0), 0.0);   // unknown time
    EXPECT_EQ(fileTimeToDate(-5), 0.0);  // cannot be converted
}
