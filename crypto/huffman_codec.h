// The cipher module's byte-oriented Huffman codec with its self-describing block: "HE3" + CR
// (compressed: checksum, length, code table, code bits, data bits) or "HE0" + CR (stored).
// Both directions work in place, yield and test the abort flag at fixed intervals and draw
// progress through the module state (encode 0..50 %, decode 45..100 %).
#pragma once

#include <QByteArray>
#include <QString>

#include "core/status.h"

namespace vx::korva {

// Replaces A by the block for its first Len bytes. On abort A is left unchanged and
// state().AbortFlag tells the caller.
void HuffmanEncode(QByteArray& A, qsizetype Len);

// Replaces A by the data of the block held in its first Len bytes. A block without the
// identification, or a damaged compressed block, gives an error whose message is the error's
// description, and A is left unchanged. A checksum mismatch sets state().ErrorCode to 5 and
// still delivers the output. On abort A is left unchanged and the result is ok.
Status HuffmanDecode(QByteArray& A, qsizetype Len);

// The same around texts, one byte per character through the module's code page.
QString CompressString(const QString& text);
Result<QString> DecompressString(const QString& text);

}  // namespace vx::korva
