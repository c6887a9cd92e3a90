// The names of this run's archive and log, fixed from the start-up clock to the second.
#pragma once

#include <QDateTime>
#include <QString>

namespace vx {

// folder & "/" & mmddyyyy & "-" & hhmmss & ".zip", independent of the locale.
QString outputArchivePath(const QString& folder, const QDateTime& at);

// The archive path without its last four characters, followed by ".txt".
QString logFilePathFor(const QString& archivePath);

}  // namespace vx
