// Date and time texts. The fixed forms (mm-dd-yyyy, hh:mm:ss) never depend on the locale;
// the general date-time form follows the user's locale. The date value counts days since
// 30 December 1899 with the time of day as the fraction.
#pragma once

#include <QDateTime>
#include <QString>

namespace vx {

QString fixedDate(const QDate& date);  // "12-04-2026"
QString fixedTime(const QTime& time);  // "16:29:07" (24-hour)

// Days since 1899-12-30 00:00, time of day as fraction (negative days are not used here).
double toDateValue(const QDateTime& local);
QDateTime fromDateValue(double value);

// The locale's short date and time with seconds; the date alone when the time of day is
// exactly midnight, the time alone when the day count is 0.
QString generalDateTime(double dateValue);
QString generalDateTime(const QDateTime& local);

}  // namespace vx
