// The day-count date value, the general date-time form and number texts.
#include "core/date_forms.h"

#include <gtest/gtest.h>

#include "core/number_forms.h"

using namespace vx;

// The fixed date and time forms are checked in the log lines of the file selection and log
// windows' tests.
TEST(DateForms, TheDayCount) {
    EXPECT_DOUBLE_EQ(toDateValue(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(toDateValue(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    EXPECT_EQ(fromDateValue(46360.686886574076), QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7)));
}

TEST(DateForms, GeneralFormDropsMidnightAndDayZero) {
    const QString dateOnly = generalDateTime(QDateTime(QDate(2026, 12, 4), QTime(0, 0)));
    EXPECT_FALSE(dateOnly.contains(':')) << dateOnly.toStdString();
    const QString timeOnly = generalDateTime(0.75);  // 18:00 on day 0
    EXPECT_TRUE(timeOnly.contains("18") || timeOnly.contains("6")) << timeOnly.toStdString();
    EXPECT_FALSE(timeOnly.contains("1899"));
    const QString both = generalDateTime(QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7)));
    EXPECT_TRUE(both.contains("29:07") || both.contains("29.07")) << both.toStdString();
    EXPECT_TRUE(both.startsWith(dateOnly)) << both.toStdString();
}

TEST(NumberForms, ZeroIsEmptyAndThousandsAreGrouped) {
    EXPECT_EQ(groupedOrEmpty(0), "");
    EXPECT_EQ(groupedOrEmpty(617), "617");
    EXPECT_EQ(groupedOrEmpty(1234).size(), 5);  // a group separator was inserted
    EXPECT_EQ(groupedTwoDecimals(0).right(3).mid(1), "00");
}
