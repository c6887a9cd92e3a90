// The encoder's decisions once the byte values are counted, shared by the in-memory encoder and
// the streamed file encoder: the codes, the block's sizes, whether the block is stored, and the
// bytes that open a compressed block. Internal to the cipher module.
#pragma once

#include <QtGlobal>
#include <climits>
#include <cstdint>

#include "crypto/bit_packing.h"
#include "crypto/huffman_packer.h"
#include "crypto/huffman_tree.h"

namespace vx::korva::huffman {

// Counts byte values in four lanes (so that neighbouring equal bytes do not wait on one
// another) and keeps the xor of the bytes.
class ValueCounter {
public:
    void add(const std::uint8_t* p, qsizetype n);
    // Adds another counter's bytes (counted over a different stretch).
    void merge(const ValueCounter& other);
    ValueCounts counts() const;
    std::uint8_t checksum() const { return m_sum; }

private:
    std::uint64_t m_lanes[4][256] = {};
    std::uint8_t m_sum = 0;
};

struct Plan {
    CodeTable codes;
    int coded = 0;               // N: values with a code
    int longest = 0;             // the longest code, in bits
    std::uint64_t codeBits = 0;  // S
    std::uint64_t dataBits = 0;  // D
};

// The longest input the 32-bit length field can state; longer input is always stored, and
// planFor is never asked about it (the counts stay below 2^32, which limits codes to 46 bits).
inline constexpr qsizetype kLongestCompressed = INT32_MAX;

Plan planFor(const ValueCounts& counts);

// True when len bytes with these counts go into a stored block: empty input, a length the
// 32-bit field cannot state, a single value (no data bits) or data that would not pack smaller.
bool storedBlockFor(const Plan& plan, qsizetype len);

// Size of the compressed block's opening (header, pairs, code bits) and of the whole block.
qsizetype openingSize(const Plan& plan);
qsizetype compressedSize(const Plan& plan);

// Writes the opening; out needs openingSize(plan) + 8 bytes of room.
void writeOpening(std::uint8_t* out, std::uint8_t sum, qsizetype len, const Plan& plan);

// Packs the data bits of a compressed block piece by piece into separate buffers: each call
// hands back the whole bytes completed, the bits of a partly filled byte carry over.
class StreamPacker {
public:
    StreamPacker(const Plan& plan, qsizetype len) : m_packer(plan.codes, len), m_writer(nullptr) {}
    // Room a call for n input bytes needs in its output buffer.
    static qsizetype roomFor(const Plan& plan, qsizetype n) {
        return n * plan.longest / 8 + 16;
    }
    // Packs in[0..n) into out and returns the number of whole bytes written.
    qsizetype pack(const std::uint8_t* in, qsizetype n, std::uint8_t* out);
    // Writes the last, partly filled byte (completed with zero bits), if any; returns 0 or 1.
    qsizetype finish(std::uint8_t* out);

private:
    CodePacker m_packer;
    BitWriter m_writer;
};

}  // namespace vx::korva::huffman
