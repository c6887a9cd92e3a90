// The cipher module's Base64: the standard alphabet with "=" padding, CR LF line breaks after
// the group that reaches the line length, and a decoder that skips every foreign character.
#pragma once

#include <QByteArray>

namespace vx::korva {

// Encodes bytes; a line length below 10 acts as 10. Empty input gives an empty result.
QByteArray Base64Encode(const QByteArray& bytes, int lineLength);

// Decodes text, one byte per character; never fails (foreign characters are skipped, an
// incomplete last group is dropped).
QByteArray Base64Decode(const QByteArray& text);

}  // namespace vx::korva
