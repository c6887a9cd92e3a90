// The opening of a compressed block as the decoder reads it (checksum, length, code lengths,
// where the code and data bits start), the tree rebuilt from it, and the test that the stated
// length can be in the data at all. Shared by the in-memory and the streamed decoder. Internal
// to the cipher module.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "crypto/huffman_decode_tree.h"

namespace vx::korva::huffman {

struct Opening {
    std::uint8_t check = 0;
    qsizetype outLen = 0;
    std::array<int, 256> lengths{};  // code length of each value, 0 for none
    qsizetype codeStart = 0;         // first byte of the code bits
    qsizetype dataStart = 0;         // first byte of the data bits
};

// How many bytes of a block of blockLen bytes must be at hand before readOpening can judge it,
// given the `have` bytes at b: grows as the count and the pairs become known.
qsizetype openingBytesNeeded(const std::uint8_t* b, qsizetype have, qsizetype blockLen);

// Reads the opening of a block of len bytes (b holds at least openingBytesNeeded of them) and
// rebuilds the tree; an empty text, or the description of the damage.
QString readOpening(const std::uint8_t* b, qsizetype len, Opening& h, DecodeTree& tree);

}  // namespace vx::korva::huffman
