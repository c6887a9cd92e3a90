// The decoder's code tree, rebuilt from the codes stored in a block, and the lookup table that
// decodes up to three values per probe of 12 bits. A damaged code table is refused while the
// tree is built. Internal to the cipher module.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "crypto/huffman_format.h"

namespace vx::korva::huffman {

class DecodeTree {
public:
    static constexpr int kRoot = 0;

    DecodeTree();

    // Adds the code of `value`: `length` bits starting at bit `bitPos` of `bytes`, bit 0 of each
    // byte first. Returns an empty text, or the description of the damage when the code passes
    // through a node that carries a value, ends on a node that already carries one or has
    // children, or would need more than 512 nodes. The caller keeps the bits within `bytes`.
    QString addCode(int value, const std::uint8_t* bytes, std::uint64_t bitPos, int length);

    // The child reached by `bit` (0 left, 1 right), -1 when missing.
    int child(int node, int bit) const { return m_nodes[node].child[bit]; }
    // The value a node carries, -1 for none.
    int value(int node) const { return m_nodes[node].value; }

private:
    struct Node {
        std::int16_t child[2] = {-1, -1};
        std::int16_t value = -1;
    };
    std::array<Node, kMaxTreeNodes> m_nodes{};
    int m_count = 1;
};

// One probe of the lookup table: the next 12 data bits, first bit lowest, select an entry.
// An entry that completes values holds the bits they take in bits 0..5 (so that a shift by the
// entry itself consumes them), their number (1..3) in bits 6..7, and the values in bits 8..31,
// first value lowest. An entry with no value either leads into the tree (the 12 bits end on an
// inner node, whose index is in bits 8..16, and take 12 bits) or takes no bits (they leave the
// tree: no code).
class DecodeTable {
public:
    static constexpr int kBits = 12;
    static constexpr std::uint32_t kMask = (1u << kBits) - 1;

    explicit DecodeTable(const DecodeTree& tree);

    std::uint32_t probe(std::uint64_t bits) const { return m_entries[bits & kMask]; }

    static unsigned bitsUsed(std::uint32_t e) { return e & 63u; }
    static unsigned valueCount(std::uint32_t e) { return (e >> 6) & 3u; }
    static std::uint32_t values(std::uint32_t e) { return e >> 8; }
    static bool isLongCode(std::uint32_t e) { return valueCount(e) == 0 && bitsUsed(e) != 0; }
    static int nodeOf(std::uint32_t e) { return static_cast<int>((e >> 8) & 511u); }

private:
    std::array<std::uint32_t, 1u << kBits> m_entries{};
};

}  // namespace vx::korva::huffman
