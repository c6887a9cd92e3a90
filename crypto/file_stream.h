// The encrypted file format, streamed: a file of any size is enciphered or restored in pieces
// of a fixed size, with memory that does not depend on its size, and byte for byte as the
// in-memory halves (file_format.h) would write or read it. Reading, the Huffman codec, the
// cipher and writing run as stages on their own threads with small queues between them; the
// cipher, the one stage that cannot be split, stays on the calling thread, which yields, tests
// the abort flag and draws progress every 5000 bytes as before.
#pragma once

#include <QByteArray>
#include <QString>

namespace vx::korva {

// The size of the pieces a file is read in (1 MiB); tests set smaller ones to reach every
// boundary with small files. 0 restores the default.
void setStreamChunkSize(qsizetype bytes);

// Encrypts the source into output, storing the extension bytes. Two readings: one counts the
// byte values for the Huffman block's opening, the second packs and enciphers; a source that
// changes in between (size, time, content, the file behind the name) is refused. A source of
// 2 GiB or more is always stored, so it is read once (and refused when it changed meanwhile).
// Progress: 0..10 % counting, 10..100 % enciphering. Returns 0, 11 (abort) or 12 with why.
int encodeStreamed(const QString& source, const QString& output, const QByteArray& extension,
                   const QString& key, const QString& privateKey, QString& why);

// Restores the source into the file that outputFor names from the stored extension bytes
// (an empty text: the reason why the extension cannot make a name, given as a 22). Progress
// 0..100 % over the deciphered bytes. Returns 0 with output set, or 21, 22 (with why), 23, 5;
// the codes come in the order the in-memory reader finds them. Nothing is left on failure.
using OutputNamer = QString (*)(const QString& target, const QByteArray& extension, QString& why);
int decodeStreamed(const QString& source, const QString& target, OutputNamer outputFor,
                   const QString& key, const QString& privateKey, QString& output, QString& why);

}  // namespace vx::korva
