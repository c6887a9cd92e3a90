// Code tree and lookup table of the Huffman decoder.
#include "crypto/huffman_decode_tree.h"

namespace vx::korva::huffman {

DecodeTree::DecodeTree() = default;

QString DecodeTree::addCode(int value, const std::uint8_t* bytes, std::uint64_t bitPos,
                            int length) {
    int node = kRoot;
    for (int k = 0; k < length; ++k, ++bitPos) {
        if (m_nodes[node].value >= 0) return damagedError("a code passes through a value");
        const int bit = (bytes[bitPos >> 3] >> (bitPos & 7)) & 1;
        int next = m_nodes[node].child[bit];
        if (next < 0) {
            if (m_count == kMaxTreeNodes) return damagedError("code tree over 512 nodes");
            next = m_count++;
            m_nodes[node].child[bit] = static_cast<std::int16_t>(next);
        }
        node = next;
    }
    Node& end = m_nodes[node];
    if (end.value >= 0) return damagedError("two values share one code");
    if (end.child[0] >= 0 || end.child[1] >= 0)
        return damagedError("a code ends on an inner node");
    end.value = static_cast<std::int16_t>(value);
    return {};
}

namespace {

// Entry for one value of `length` bits.
std::uint32_t valueEntry(int value, int length) {
    return static_cast<std::uint32_t>(length) | (1u << 6) | (static_cast<std::uint32_t>(value) << 8);
}

}  // namespace

// First the entries of one value each: every node within 12 bits of the root fills the entries
// whose low bits are its path (a value's node all of them, an inner node at depth 12 the one
// entry that leads into the tree); entries nothing fills leave the tree. Then each entry takes
// a second and a third value from the entry of the bits that follow, when those values end
// within the 12 bits.
DecodeTable::DecodeTable(const DecodeTree& tree) {
    std::array<std::uint32_t, 1u << kBits> single{};  // 0: the bits leave the tree
    struct Visit {
        int node;
        unsigned depth;
        std::uint32_t path;
    };
    Visit stack[2 * kBits + 2];  // a pending sibling per level at most
    int top = 0;
    stack[top++] = {DecodeTree::kRoot, 0, 0};
    while (top > 0) {
        const Visit v = stack[--top];
        const int value = tree.value(v.node);
        if (value >= 0 || v.depth == kBits) {
            const std::uint32_t e = value >= 0 ? valueEntry(value, static_cast<int>(v.depth))
                                               : kBits | (static_cast<std::uint32_t>(v.node) << 8);
            for (std::uint32_t high = 0; high < (1u << (kBits - v.depth)); ++high)
                single[v.path | (high << v.depth)] = e;
            continue;
        }
        for (int bit = 0; bit < 2; ++bit) {
            const int child = tree.child(v.node, bit);
            if (child >= 0)
                stack[top++] = {child, v.depth + 1, v.path | (static_cast<std::uint32_t>(bit) << v.depth)};
        }
    }
    for (std::uint32_t index = 0; index <= kMask; ++index) {
        std::uint32_t e = single[index];
        if (valueCount(e) == 0) {
            m_entries[index] = e;
            continue;
        }
        std::uint32_t used = bitsUsed(e);
        std::uint32_t values = DecodeTable::values(e);
        std::uint32_t count = 1;
        while (count < 3) {
            const std::uint32_t next = single[index >> used];
            if (valueCount(next) == 0 || used + bitsUsed(next) > kBits) break;
            values |= DecodeTable::values(next) << (8 * count);
            used += bitsUsed(next);
            ++count;
        }
        m_entries[index] = used | (count << 6) | (values << 8);
    }
}

}  // namespace vx::korva::huffman
