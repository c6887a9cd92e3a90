// The lines of the log: one for every file, folder or list entry the selection steps take in,
// and a dated note for anything else worth keeping.
#pragma once

#include <QDateTime>
#include <QString>

namespace vx {

// mm-dd-yyyy hh:mm:ss & ":  The following is included: " & item & " -- Archive: " & archive
// & CR LF.
QString logLine(const QDateTime& at, const QString& item, const QString& archiveName);

// mm-dd-yyyy hh:mm:ss & ":  " & text & CR LF: any other event worth keeping in the log.
QString noteLine(const QDateTime& at, const QString& text);

}  // namespace vx
