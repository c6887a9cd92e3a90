// The module's file entry: enciphers a plain file into the encrypted file format (banner,
// enciphered salt, stored extension, 0 byte, compressed block, check value; extension ".uzp")
// or, when the file starts with the banner, restores the plain file. Every failure ends in
// state().ErrorCode / ErrorMessage and leaves the disk as it was.
#pragma once

#include <QString>

namespace vx::korva {

// Encrypts or decrypts Source, as its first 29 bytes decide, and writes the result next to
// Target's name: StripFileExt(Target) + ".uzp" when encoding, StripFileExt(Target) plus the
// stored extension when decoding. When Target equals Source the source is removed after the
// output was written completely, unless the output replaced it. An existing file of the
// output's name other than the source is replaced only when state().ConfirmReplace allows it.
// Resets the error fields and the abort flag; yields, tests the abort flag and draws progress
// while it runs. Returns the output path, or Source with state().ErrorCode set (3, 4, 5, 6, 7,
// 11, 12, 20, 21, 22, 23) and state().ErrorMessage describing it. Code 4 also covers a source
// that is no regular file (named in the message), and a symbolic link given as both source
// and target.
QString FileCrypto(const QString& Source, const QString& Target, const QString& Key,
                   const QString& PrivateKey);

// The two directions on their own (no key or source checks; FileCrypto makes them). Each
// returns the output path, or Source after an abort or error with state().ErrorCode set.
QString EncodeFile(const QString& Source, const QString& Target, const QString& Key,
                   const QString& PrivateKey);
QString DecodeFile(const QString& Source, const QString& Target, const QString& Key,
                   const QString& PrivateKey);

// 1 when the file starts with the banner (a file shorter than 29 bytes counts as padded with
// zero bytes), else 2 when the path ends in ".uzp" in any letter case, else 0.
int IdentifyCryptoFile(const QString& path);

}  // namespace vx::korva
