// Log line text.
#include "log/log_line.h"

#include "core/date_forms.h"

namespace vx {

QString logLine(const QDateTime& at, const QString& item, const QString& archiveName) {
    return fixedDate(at.date()) + QLatin1Char(' ') + fixedTime(at.time()) +
           QStringLiteral(":  The following is included: ") + item +
           QStringLiteral(" -- Archive: ") + archiveName + QStringLiteral("\r\n");
}

}  // namespace vx
