// Fixed date forms, the day-count date value and the general date-time form.
#include "core/date_forms.h"

#include <gtest/gtest.h>

#include "core/number_forms.h"

using namespace vx;

TEST(DateForms, FixedFormsArePaddedAndTwentyFourHour) {
    EXPECT_EQ(fixedDate(QDate(2026, 12, 4)), "12-04-2026");
    EXPECT_EQ(fixedDate(QDate(2027, 1, 9)), "01-09-2027");
    EXPECT_EQ(fixedTime(QTime(16, 29, 7)), "16:29:07");
    EXPECT_EQ(fixedTime(QTime(0, 0, 0)), "00:00:00");
}

TEST(DateForms, DateValueCountsDaysSinceEndOf1899) {
    EXPECT_DOUBLE_EQ(toDateValue(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(toDateValue(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    const QDateTime t(QDate(2026, 12, 4), QTime(16, 29, 7));
    EXPECT_EQ(fromDateValue(toDateValue(t)), t);
}

TEST(DateForms, GeneralFormDropsMidnightAndDayZero) {
    const QDateTime midnight(QDate(2026, 12, 4), QTime(0, 0));
    const QString dateOnly = generalDateTime(midnight);
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
