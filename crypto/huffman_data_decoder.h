// The decoder's inner loop: turns the data bits of a block into output bytes through the 12-bit
// lookup table, walking the tree for long codes and near the ends of the data and the output.
// Reads stay inside the block and writes inside the output. Internal to the cipher module.
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <memory>

#include "crypto/huffman_decode_tree.h"

namespace vx::korva::huffman {

enum class Stop { Limit, Done, NoCode, DataEnd };

// Decodes the data bits into the output, stopping at a bit limit (overshooting it by at most
// one group of probes or one code), when the output is full, or on damage. Keeps the xor of
// the values it writes.
class DataDecoder {
public:
    // block[0..blockLen) holds the data from bit startBit on; out[0..outEnd) receives the values.
    DataDecoder(const DecodeTree& tree, const std::uint8_t* block, qsizetype blockLen,
                std::uint64_t startBit, std::uint8_t* out, std::uint8_t* outEnd);

    // Decodes until the bit limit is reached (Limit), the output is full (Done), the bits leave
    // the tree (NoCode) or the data ends first (DataEnd).
    Stop run(std::uint64_t limitBit);

    // Goes on with another stretch of the data (block[0..blockLen), its next bit at `bit`), or
    // into another output buffer: a streamed block is decoded piece by piece.
    void setInput(const std::uint8_t* block, qsizetype blockLen, std::uint64_t bit) {
        m_block = block;
        m_blockLen = blockLen;
        m_endBit = static_cast<std::uint64_t>(blockLen) * 8;
        m_bit = bit;
    }
    void setOutput(std::uint8_t* out, std::uint8_t* outEnd) {
        m_out = out;
        m_outEnd = outEnd;
    }
    std::uint8_t* output() const { return m_out; }

    std::uint64_t bit() const { return m_bit; }
    bool full() const { return m_out == m_outEnd; }
    // The xor of the values written so far.
    std::uint8_t checksum() const {
        const std::uint32_t x = m_xor ^ (m_xor >> 16);
        return static_cast<std::uint8_t>(x ^ (x >> 8));
    }

private:
    Stop fastRun(std::uint64_t limitBit);
    Stop walkOne(int node);

    const DecodeTree& m_tree;
    std::unique_ptr<DecodeTable> m_table;
    const std::uint8_t* m_block;
    qsizetype m_blockLen;
    std::uint64_t m_endBit;
    std::uint64_t m_bit;
    std::uint8_t* m_out;
    std::uint8_t* m_outEnd;
    std::uint32_t m_xor = 0;
};

}  // namespace vx::korva::huffman
