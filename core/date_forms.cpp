// Fixed and locale date-time texts and the day-count date value.
#include "core/date_forms.h"

#include <QLocale>
#include <cmath>

namespace vx {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;

// The locale's time format with seconds but without a time-zone field.
QString timeWithSeconds(const QTime& t) {
    QString fmt = QLocale::system().timeFormat(QLocale::LongFormat);
    fmt.remove(QLatin1Char('t'));
    return QLocale::system().toString(t, fmt.trimmed());
}

}  // namespace

QString fixedDate(const QDate& date) { return date.toString(QStringLiteral("MM-dd-yyyy")); }

QString fixedTime(const QTime& time) { return time.toString(QStringLiteral("HH:mm:ss")); }

double toDateValue(const QDateTime& local) {
    const double days = static_cast<double>(kEpoch.daysTo(local.date()));
    return days + local.time().msecsSinceStartOfDay() / static_cast<double>(kMsPerDay);
}

QDateTime fromDateValue(double value) {
    const double whole = std::floor(value);
    const qint64 ms = std::llround((value - whole) * kMsPerDay);
    const QDate date = kEpoch.addDays(static_cast<qint64>(whole));
    return QDateTime(date, QTime(0, 0)).addMSecs(ms);
}

QString generalDateTime(double dateValue) {
    const QDateTime dt = fromDateValue(dateValue);
    const QLocale loc = QLocale::system();
    if (std::floor(dateValue) == 0.0) return timeWithSeconds(dt.time());
    if (dt.time() == QTime(0, 0)) return loc.toString(dt.date(), QLocale::ShortFormat);
    return loc.toString(dt.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           timeWithSeconds(dt.time());
}

QString generalDateTime(const QDateTime& local) { return generalDateTime(toDateValue(local)); }

}  // namespace vx
