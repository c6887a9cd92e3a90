// Table-driven decoding of the data bits.
#include "crypto/huffman_data_decoder.h"

#include "crypto/bit_packing.h"

namespace vx::korva::huffman {
namespace {

constexpr qsizetype kGroupRoom = 13;  // output bytes one group of four probes may store into

}  // namespace

DataDecoder::DataDecoder(const DecodeTree& tree, const std::uint8_t* block, qsizetype blockLen,
                         std::uint64_t startBit, std::uint8_t* out, std::uint8_t* outEnd)
    : m_tree(tree),
      m_table(std::make_unique<DecodeTable>(tree)),
      m_block(block),
      m_blockLen(blockLen),
      m_endBit(static_cast<std::uint64_t>(blockLen) * 8),
      m_bit(startBit),
      m_out(out),
      m_outEnd(outEnd) {}

Stop DataDecoder::run(std::uint64_t limitBit) {
    if (Stop s = fastRun(limitBit); s != Stop::Limit) return s;
    while (m_bit < limitBit && m_out < m_outEnd) {
        if (Stop s = walkOne(DecodeTree::kRoot); s != Stop::Limit) return s;
    }
    if (m_out == m_outEnd) return Stop::Done;
    return m_bit >= m_endBit ? Stop::DataEnd : Stop::Limit;
}

// Groups of four probes between two refills of a 64-bit buffer that then holds 56..63
// bits: each probe takes at most 12 bits and stores 4 bytes, of which it keeps up to 3 values,
// so a group stores into at most 3 + 3 + 3 + 4 = 13 bytes of room. The refill's load address
// depends only on the previous refill, so the load does not wait for the probes (the buffer's bits
// end at byte `next`; the bits above `count` are either zero or the same bits the load brings).
Stop DataDecoder::fastRun(std::uint64_t limitBit) {
    static constexpr std::uint32_t kKeep[4] = {0, 0xFF, 0xFFFF, 0xFFFFFF};
    const DecodeTable& table = *m_table;
    while (m_bit < limitBit && m_outEnd - m_out >= kGroupRoom &&
           static_cast<qsizetype>(m_bit >> 3) + 15 <= m_blockLen) {
        qsizetype next = static_cast<qsizetype>(m_bit >> 3) + 7;
        std::uint64_t buf = load64(m_block + (m_bit >> 3)) >> (m_bit & 7);
        unsigned count = 56 - static_cast<unsigned>(m_bit & 7);
        std::uint8_t* out = m_out;
        std::uint32_t sum = 0;
        std::uint32_t special = 0;  // the entry that stopped the group, if any
        bool stopped = false;
        auto position = [&] { return static_cast<std::uint64_t>(next) * 8 - count; };
        do {
            buf |= load64(m_block + next) << count;
            next += (63 - count) >> 3;
            count |= 56;
            for (int k = 0; k < 4; ++k) {
                const std::uint32_t e = table.probe(buf);
                const unsigned n = DecodeTable::valueCount(e);
                if (n == 0) {
                    special = e;
                    stopped = true;
                    break;
                }
                const std::uint32_t values = DecodeTable::values(e);
                store32(out, values);
                sum ^= values & kKeep[n];
                out += n;
                count -= DecodeTable::bitsUsed(e);
                buf >>= (e & 63u);  // the entry's low bits are the bits it takes
            }
        } while (!stopped && position() < limitBit && m_outEnd - out >= kGroupRoom &&
                 next + 8 <= m_blockLen);
        m_bit = position();
        m_out = out;
        m_xor ^= sum;
        if (!stopped) break;
        if (!DecodeTable::isLongCode(special)) return Stop::NoCode;
        m_bit += DecodeTable::kBits;
        if (Stop s = walkOne(DecodeTable::nodeOf(special)); s != Stop::Limit) return s;
    }
    return Stop::Limit;
}

// Follows the data bits from `node` to a value and writes it; DataEnd when the data ends
// first, NoCode when the bits leave the tree, otherwise Limit.
Stop DataDecoder::walkOne(int node) {
    for (;;) {
        if (m_bit >= m_endBit) return Stop::DataEnd;
        const int bit = (m_block[m_bit >> 3] >> (m_bit & 7)) & 1;
        ++m_bit;
        node = m_tree.child(node, bit);
        if (node < 0) return Stop::NoCode;
        if (const int v = m_tree.value(node); v >= 0) {
            *m_out++ = static_cast<std::uint8_t>(v);
            m_xor ^= static_cast<std::uint32_t>(v);
            return m_out == m_outEnd ? Stop::Done : Stop::Limit;
        }
    }
}

}  // namespace vx::korva::huffman
