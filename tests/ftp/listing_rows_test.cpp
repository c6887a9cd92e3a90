// The listing collection, its items by position and by name, and the rows the upload window shows.
#include "ftp/listing_rows.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "core/date_forms.h"

using namespace vx;

TEST(ListingRows, DotDotFirstThenEntriesInListOrder) {
    const double noon = toDateValue(QDateTime(QDate(2024, 3, 5), QTime(14, 22, 10)));
    const double midnight = toDateValue(QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    cDirList list;
    list.Add(0x80, 0, 0, noon, 10737418240LL, "big.iso");  // 10 GiB
    list.Add(0x10, 0, 0, noon, 4096, "folder");
    list.Add(0x21, 0, 0, midnight, 7, "read only");
    list.Add(0x10, 0, 0, 0, 0, "BIG.iso");  // differs only in case: kept, but the name finds the first
    QStringList rows;  // text, icon and sub-items
    for (const auto& row : listingRows(list))
        rows << (QStringList{row.text, QString::number(row.smallIcon)} + row.subItems).join('|');
    EXPECT_EQ(rows, QStringList({"..|1",
                                 "big.iso|2|10737418240|" + generalDateTime(noon) + "| -  -  -  -  N  -  -  -  - ",
                                 "folder|1|< Directory >",
                                 "read only|2|7|" + generalDateTime(midnight) + "| A  -  -  -  -  -  R  -  - ",
                                 "BIG.iso|1|< Directory >"}));
    EXPECT_TRUE(list.Item(0) == nullptr && list.Item(5) == nullptr && list.Item(QStringLiteral("missing")) == nullptr);
    const cDirItem* first = list.Item(QStringLiteral("big.ISO"));  // items count from 1
    EXPECT_TRUE(first && first == list.Item(1) && list.Item(4)->FileName == "BIG.iso");
    EXPECT_FALSE(generalDateTime(midnight).contains(':'));  // the date alone at midnight
    EXPECT_EQ(fileTimeToDate(0) + fileTimeToDate(-5), 0.0);  // unknown or unconvertible times
}
