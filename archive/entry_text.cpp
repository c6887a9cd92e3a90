// Entry times on the zip clock and byte-count texts.
#include "archive/entry_text.h"

#include <QLocale>
#include <cmath>

namespace vx {

QString FormatEntryTime(std::time_t t) {
    if (t == static_cast<std::time_t>(-1)) return QString();
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return QString();
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return QString::fromLatin1(text);
}

std::uint32_t zipClock(std::time_t t) {
    std::tm tm{};
    if (!localtime_r(&t, &tm) || tm.tm_year < 80) return (1u << 21) | (1u << 16);
    if (tm.tm_year > 207)
        return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    return (static_cast<std::uint32_t>(tm.tm_year - 80) << 25) |
           (static_cast<std::uint32_t>(tm.tm_mon + 1) << 21) |
           (static_cast<std::uint32_t>(tm.tm_mday) << 16) |
           (static_cast<std::uint32_t>(tm.tm_hour) << 11) |
           (static_cast<std::uint32_t>(tm.tm_min) << 5) | static_cast<std::uint32_t>(tm.tm_sec / 2);
}

QString FormatByteCount(std::int64_t bytes) {
    if (bytes <= 0) return QStringLiteral("0 bytes");
    if (bytes == 1) return QStringLiteral("1 byte");
    if (bytes < 1024) return QStringLiteral("%1 bytes").arg(bytes);
    static const char* const units[] = {"KB", "MB", "GB", "TB"};
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    double value = static_cast<double>(bytes) / 1024.0;
    for (int unit = 0;; ++unit) {
        const bool last = unit == 3;
        // Round first, then choose the form, so 9.96 KB reads "10 KB" and 1023.6 KB "1.0 MB".
        if (std::round(value * 10.0) < 100.0)
            return QStringLiteral("%1 %2").arg(
                locale.toString(std::round(value * 10.0) / 10.0, 'f', 1),
                QLatin1String(units[unit]));
        if (std::round(value) < 1024.0 || last)
            return QStringLiteral("%1 %2").arg(locale.toString(std::round(value), 'f', 0),
                                               QLatin1String(units[unit]));
        value /= 1024.0;
    }
}

}  // namespace vx
