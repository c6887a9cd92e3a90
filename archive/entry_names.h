// Entry names as the program shows and writes them. A stored name may hold bytes that are not
// UTF-8, control characters (a terminal escape, a line break) or the direction marks that make
// "txt.exe" read as "exe.txt"; each such character becomes "_", and the caller reports the
// entry as renamed.
#pragma once

#include <zip.h>

#include <QByteArray>
#include <QString>

namespace vx {

// The name of the entry at index: its bytes read as UTF-8 when they are UTF-8 or flagged so
// (flaggedBadly: bytes that are not UTF-8 become "_"), else as libzip reads names of other
// tools (code page 437), then cleaned. renamed tells whether cleaning
// changed anything or the name was not UTF-8 although flagged so (flaggedBadly).
QString entryName(zip_t* za, zip_uint64_t index, bool flaggedBadly, bool* renamed);

// text with every control or direction character replaced by "_"; renamed set when one was.
QString cleanName(QString text, bool* renamed);

// The bytes of a name for a message: printable ASCII as it is, everything else as \xNN.
QString escapedName(const QByteArray& raw);

// "The entry name \"<escaped>\" in <archive> ... is shown and written as \"<clean>\"".
QString renamedReport(const QString& archive, const QByteArray& raw, const QString& clean);

}  // namespace vx
