// Output archive and log names.
#include "app/output_names.h"

#include "core/date_forms.h"

namespace vx {

QString outputArchivePath(const QString& folder, const QDateTime& at) {
    const QString date = fixedDate(at.date()).remove(QLatin1Char('-'));
    const QString time = fixedTime(at.time()).remove(QLatin1Char(':'));
    const QString sep = folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
    return folder + sep + date + QLatin1Char('-') + time + QStringLiteral(".zip");
}

QString logFilePathFor(const QString& archivePath) {
    return archivePath.chopped(qMin<qsizetype>(4, archivePath.size())) + QStringLiteral(".txt");
}

}  // namespace vx
