// The cipher module's byte-oriented Huffman codec with its self-describing block: "HE3" + CR
// (compressed: checksum, length, code table, code bits, data bits) or "HE0" + CR (stored).
// Both directions work in place, yield and test the abort flag at fixed intervals and draw
// progress through the module state (encode 0..50 %, decode 45..100 %).
#pragma once

#include <QByteArray>
#include <QString>

#include "core/status.h"

namespace vx::korva {

// Replaces A by the block for its first Len bytes (Len is clamped to 0..A.size()). The block
// is stored ("HE0") when the input is empty, holds a single byte value, would not pack smaller,
// or is longer than the 32-bit length field can state. Yields every 1000 bytes while counting
// and every 10000 bytes after that. On abort A is left unchanged and state().AbortFlag tells
// the caller.
void HuffmanEncode(QByteArray& A, qsizetype Len);

// Replaces A by the data of the block held in its first Len bytes; bytes after them are
// ignored. A block without the identification gives an error whose message is exactly the
// identification description. A damaged compressed block (header, table or code bits cut
// short, a count of codes outside 2..256, a negative length, codes that do not form a tree of
// at most 512 nodes, bits that are no code, or data that ends before the stated length) gives
// an error "The compressed data is corrupt (...)", as does a Len outside 0..A.size(). On every error A is left unchanged. A
// checksum mismatch sets state().ErrorCode to 5 and state().ErrorMessage, and still delivers
// the output. Yields every 10000 block and output bytes. On abort A is left unchanged and the
// result is ok.
Status HuffmanDecode(QByteArray& A, qsizetype Len);

// The same around texts, one byte per character through the module's code page.
QString CompressString(const QString& text);
Result<QString> DecompressString(const QString& text);

}  // namespace vx::korva
