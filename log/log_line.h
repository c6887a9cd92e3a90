// The line the selection steps append to the log for every file, folder or list entry.
#pragma once

#include <QDateTime>
#include <QString>

namespace vx {

// mm-dd-yyyy hh:mm:ss & ":  The following is included: " & item & " -- Archive: " & archive
// & CR LF.
QString logLine(const QDateTime& at, const QString& item, const QString& archiveName);

}  // namespace vx
