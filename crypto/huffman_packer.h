// The encoder's inner loop: packs the code of every input byte into the data area through a
// 64-bit buffer, from per-value tables, or per-pair tables (two input bytes per lookup) when the
// input is long enough to repay building them. Internal to the cipher module.
#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <memory>

#include "crypto/bit_packing.h"
#include "crypto/huffman_tree.h"

namespace vx::korva::huffman {

class CodePacker {
public:
    // `codes` must give every byte value that occurs in the input a code of 1..56 bits.
    CodePacker(const CodeTable& codes, qsizetype inputLength);

    // Appends the codes of p[0..n) to `w`.
    void pack(const std::uint8_t* p, qsizetype n, BitWriter& w) const { m_pack(*this, p, n, w); }

private:
    using PackFn = void (*)(const CodePacker&, const std::uint8_t*, qsizetype, BitWriter&);
    template <int K>
    static void packSingles(const CodePacker& c, const std::uint8_t* p, qsizetype n, BitWriter& w);
    template <int K>
    static void packPairs(const CodePacker& c, const std::uint8_t* p, qsizetype n, BitWriter& w);
    static void packTail(const CodePacker& c, const std::uint8_t* p, const std::uint8_t* end,
                         BitWriter& w);

    std::array<std::uint64_t, 256> m_bits{};
    std::array<std::uint8_t, 256> m_lengths{};
    // Indexed by first byte + 256 * second byte; only pairs of coded values are filled.
    std::unique_ptr<std::uint64_t[]> m_pairBits;
    std::unique_ptr<std::uint8_t[]> m_pairLengths;
    PackFn m_pack = nullptr;
};

}  // namespace vx::korva::huffman
