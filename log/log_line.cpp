// Log line text.
#include "log/log_line.h"

#include "core/date_forms.h"

namespace vx {

QString noteLine(const QDateTime& at, const QString& text) {
    return fixedDate(at.date()) + QLatin1Char(' ') + fixedTime(at.time()) + QStringLiteral(":  ") +
           text + QStringLiteral("\r\n");
}

QString logLine(const QDateTime& at, const QString& item, const QString& archiveName) {
    return noteLine(at, QStringLiteral("The following is included: ") + item +
                            QStringLiteral(" -- Archive: ") + archiveName);
}

}  // namespace vx
