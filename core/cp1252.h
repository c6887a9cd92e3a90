// Windows-1252 with its five undefined codes mapped to themselves, so that every byte value
// round-trips; and the reading rule for data files kept beside the program.
#pragma once

#include <QByteArray>
#include <QString>

namespace vx {

// One character per byte.
QString cp1252ToString(const QByteArray& bytes);

// One byte per character; a character the code page lacks becomes '?'.
QByteArray stringToCp1252(const QString& text);

// The code page's character for a byte, and the byte for a character (-1 when it has none).
char16_t cp1252Char(unsigned char byte);
int cp1252Byte(char16_t ch);

// Text of a data file: UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252.
QString decodeDataFile(const QByteArray& bytes);

// The text as the bytes of a data file that decodeDataFile read from original: Windows-1252 again
// when the original was read as such, every character fits and the bytes read back as the same
// text, otherwise UTF-8. So a file written back keeps the bytes of every line that did not
// change, unless keeping them would change what the file says.
QByteArray encodeDataFile(const QString& text, const QByteArray& original);

}  // namespace vx
