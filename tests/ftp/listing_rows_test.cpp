// The listing collection and the rows the upload window shows for it.
#include "ftp/listing_rows.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "core/date_forms.h"

using namespace vx;

TEST(DirList, ItemsByPositionAndByNameWithoutRegardToCase) {
    cDirList list;
    list.Add(0x80, 0, 0, 0, 1, "Report.ZIP");
    list.Add(0x10, 0, 0, 0, 2, "public_html");
    list.Add(0x80, 0, 0, 0, 3, "report.zip");  // differs only in case: kept, but the name finds the first
    EXPECT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.Item(0) == nullptr && list.Item(4) == nullptr && list.Item(QStringLiteral("missing")) == nullptr);
    EXPECT_EQ(list.Item(QStringLiteral("REPORT.zip")), list.Item(1));
    EXPECT_EQ(list.Item(QStringLiteral("PUBLIC_HTML")), list.Item(2));
    QStringList order;
    for (const auto& item : list) order << QStringLiteral("%1 %2").arg(item->FileName).arg(item->FileSize);
    EXPECT_EQ(order, QStringList({"Report.ZIP 1", "public_html 2", "report.zip 3"}));
}

TEST(ListingRows, DotDotFirstThenEntriesInListOrder) {
    const double noon = toDateValue(QDateTime(QDate(2024, 3, 5), QTime(14, 22, 10)));
    const double midnight = toDateValue(QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    const struct {
        qint32 attributes;
        double written;
        qint32 size;
        QString row;  // text, icon and sub-items
    } cases[] = {{0x80, noon, static_cast<qint32>(3000000000u),
                  "2|-1294967296|" + generalDateTime(noon) + "| -  -  -  -  N  -  -  -  - "},
                 {0x10, noon, 4096, "1|< Directory >"},
                 {0x21, midnight, 7, "2|7|" + generalDateTime(midnight) + "| A  -  -  -  -  -  R  -  - "},
                 {0x802, 0, 0, "2|0|" + generalDateTime(0.0) + "| -  C  -  H  -  -  -  -  - "},
                 {0x1104, 0, 0, "2|0|" + generalDateTime(0.0) + "| -  -  -  -  -  O  -  S  T "},
                 {0x19b7, 0, 0, "1|< Directory >"}};
    cDirList list;
    QStringList expected = {"..|1"}, rows;
    for (const auto& c : cases) {
        list.Add(c.attributes, 0, 0, c.written, c.size, QString::number(list.Count()));
        expected << QString::number(list.Count() - 1) + "|" + c.row;
    }
    for (const auto& row : listingRows(list))
        rows << (QStringList{row.text, QString::number(row.smallIcon)} + row.subItems).join('|');
    EXPECT_EQ(rows, expected);
    EXPECT_FALSE(generalDateTime(midnight).contains(':'));  // the date alone at midnight
    EXPECT_EQ(attributeText(*list.Item(6)), " A  C  D  H  N  O  R  S  T ");
    EXPECT_EQ(fileTimeToDate(0) + fileTimeToDate(-5), 0.0);  // unknown or unconvertible times
}
