// The in-memory halves of the encrypted file format, apart from any file: sealing a content
// into the pieces of an encrypted file, and opening the image of one. The file entry
// (file_crypto.h) adds reading, naming and writing; the fuzz target drives these directly.
#pragma once

#include <QByteArray>
#include <QString>

namespace vx::korva {

// The 29 bytes every encrypted file starts with.
QByteArray cryptoFileBanner();

// What goes around the enciphered block in an encrypted file.
struct SealedPieces {
    QByteArray header;  // enciphered salt, extension bytes and 0 byte
    QByteArray check;   // the two enciphered check bytes
};

// Compresses content, takes a salt, keys the module's cipher and enciphers header, block and
// check value as one stream; content becomes the enciphered block. The file is then banner,
// header, content, check. Yields and draws progress. Returns 0, or the abort code 11.
int sealContent(QByteArray& content, const QByteArray& extension, const QString& key,
                const QString& privateKey, SealedPieces& pieces);

// Deciphers and expands the image of an encrypted file (banner included; the banner itself is
// not tested). On success returns 0, content becomes the plain bytes and extension the stored
// extension bytes. Otherwise returns 21 (abort), 23 (salt beyond the end, check value wrong),
// 22 with why describing the damage (nothing after the banner, an extension without its end,
// a damaged block), or 5 (checksum of the compressed block); content is then of no use. Never
// reads or writes outside the image.
int openContent(QByteArray& content, const QString& key, const QString& privateKey,
                QByteArray& extension, QString& why);

}  // namespace vx::korva
