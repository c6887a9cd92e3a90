// Bit packing of the Huffman data area. Each flush writes a whole 64-bit word and leaves at most
// 7 bits behind, so K codes of at most 56 / K bits each can be added between two flushes.
#include "crypto/huffman_packer.h"

#include <algorithm>
#include <vector>

namespace vx::korva::huffman {
namespace {

constexpr qsizetype kPairsFrom = 64 * 1024;

}  // namespace

CodePacker::CodePacker(const CodeTable& codes, qsizetype inputLength) {
    std::vector<int> coded;
    int maxLength = 1;
    for (int v = 0; v < 256; ++v) {
        m_bits[v] = codes[v].bits;
        m_lengths[v] = static_cast<std::uint8_t>(codes[v].length);
        if (codes[v].length > 0) coded.push_back(v);
        maxLength = std::max(maxLength, codes[v].length);
    }
    const auto n = static_cast<qsizetype>(coded.size());
    // Building costs one entry per pair of coded values and a 576 KB allocation; worth it when
    // the input is far longer.
    if (2 * maxLength <= 56 && inputLength >= std::max<qsizetype>(kPairsFrom, 16 * n * n)) {
        m_pairBits.reset(new std::uint64_t[65536]);
        m_pairLengths.reset(new std::uint8_t[65536]);
        for (int a : coded) {
            for (int b : coded) {
                const int i = a | (b << 8);
                m_pairBits[i] = m_bits[a] | (m_bits[b] << m_lengths[a]);
                m_pairLengths[i] = static_cast<std::uint8_t>(m_lengths[a] + m_lengths[b]);
            }
        }
        switch (56 / (2 * maxLength)) {
            case 1: m_pack = packPairs<1>; break;
            case 2: m_pack = packPairs<2>; break;
            case 3: m_pack = packPairs<3>; break;
            default: m_pack = packPairs<4>; break;
        }
        return;
    }
    switch (std::min(56 / maxLength, 8)) {
        case 1: m_pack = packSingles<1>; break;
        case 2: m_pack = packSingles<2>; break;
        case 3: m_pack = packSingles<3>; break;
        case 4: m_pack = packSingles<4>; break;
        case 5: m_pack = packSingles<5>; break;
        case 6: m_pack = packSingles<6>; break;
        case 7: m_pack = packSingles<7>; break;
        default: m_pack = packSingles<8>; break;
    }
}

void CodePacker::packTail(const CodePacker& c, const std::uint8_t* p, const std::uint8_t* end,
                          BitWriter& w) {
    for (; p < end; ++p) w.put(c.m_bits[*p], c.m_lengths[*p]);
}

// The loops work on local copies of the writer and the table pointers: the writer's byte
// stores could alias anything, which would otherwise make the compiler reload them every time.
template <int K>
void CodePacker::packSingles(const CodePacker& c, const std::uint8_t* p, qsizetype n,
                             BitWriter& w) {
    const std::uint64_t* bits = c.m_bits.data();
    const std::uint8_t* lengths = c.m_lengths.data();
    BitWriter local = w;
    const std::uint8_t* end = p + n;
    for (; end - p >= K; p += K) {
        for (int k = 0; k < K; ++k) local.add(bits[p[k]], lengths[p[k]]);
        local.flush();
    }
    for (; p < end; ++p) local.put(bits[*p], lengths[*p]);
    w = local;
}

template <int K>
void CodePacker::packPairs(const CodePacker& c, const std::uint8_t* p, qsizetype n,
                           BitWriter& w) {
    const std::uint64_t* bits = c.m_pairBits.get();
    const std::uint8_t* lengths = c.m_pairLengths.get();
    BitWriter local = w;
    const std::uint8_t* end = p + n;
    for (; end - p >= 2 * K; p += 2 * K) {
        for (int k = 0; k < K; ++k) {
            const int i = p[2 * k] | (p[2 * k + 1] << 8);
            local.add(bits[i], lengths[i]);
        }
        local.flush();
    }
    w = local;
    packTail(c, p, end, w);
}

}  // namespace vx::korva::huffman
