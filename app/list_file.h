// The lines of a list file: a prepared list of entries to send, one per line.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace vx {

// Every line taken whole, empty ones included; lines end in LF or CR LF, and a last line end
// does not start another line. The bytes are read as UTF-8 when valid, otherwise as
// Windows-1252. An empty file has no lines.
QStringList listFileLines(const QByteArray& bytes);

}  // namespace vx
