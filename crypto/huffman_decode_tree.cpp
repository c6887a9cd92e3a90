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

DecodeTable::DecodeTable(const DecodeTree& tree) {
    for (std::uint32_t index = 0; index <= kMask; ++index) {
        std::uint32_t values = 0;
        unsigned count = 0;
        unsigned used = 0;
        int node = DecodeTree::kRoot;
        bool leftTree = false;
        for (unsigned pos = 0; pos < kBits && count < 3; ++pos) {
            node = tree.child(node, static_cast<int>((index >> pos) & 1));
            if (node < 0) {
                leftTree = true;
                break;
            }
            const int v = tree.value(node);
            if (v >= 0) {
                values |= static_cast<std::uint32_t>(v) << (8 * count);
                ++count;
                used = pos + 1;
                node = DecodeTree::kRoot;
            }
        }
        if (count > 0)
            m_entries[index] = used | (count << 6) | (values << 8);
        else if (leftTree)
            m_entries[index] = 0;
        else
            m_entries[index] = kBits | (static_cast<std::uint32_t>(node) << 8);
    }
}

}  // namespace vx::korva::huffman
