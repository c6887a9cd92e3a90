// Layout of the Huffman block and the texts of its errors, shared by the encoder and the decoder.
// Internal to the cipher module.
#pragma once

#include <QString>
#include <cstdint>

namespace vx::korva::huffman {

// "HE3" + CR opens a compressed block, "HE0" + CR a stored one.
inline constexpr char kCompressedTag = '3';
inline constexpr char kStoredTag = '0';
inline constexpr int kIdSize = 4;

// Compressed block header: id, checksum, uncompressed length (32-bit), N (16-bit), N pairs.
inline constexpr int kChecksumOffset = 4;
inline constexpr int kLengthOffset = 5;
inline constexpr int kCountOffset = 9;
inline constexpr int kHeaderSize = 11;

// Work between two yields: the encoder's count loop, and every other loop of both directions.
inline constexpr int kCountInterval = 1000;
inline constexpr int kWorkInterval = 10000;

// The decoder's tree never holds more nodes than a full tree of 256 leaves needs, plus one.
inline constexpr int kMaxTreeNodes = 512;

inline QString identificationError() {
    return QStringLiteral(
        "The data either was not compressed with HE3 or is corrupt (identification string not "
        "found)");
}

inline QString damagedError(const char* what) {
    return QStringLiteral("The compressed data is corrupt (%1)").arg(QLatin1String(what));
}

inline QString checksumErrorMessage() {
    return QStringLiteral("Compression checksum error (Error 5)");
}
inline constexpr int kChecksumErrorCode = 5;

}  // namespace vx::korva::huffman
