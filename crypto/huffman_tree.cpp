// Huffman tree of the encoder, merged in the block format's order so that a decoder reading the
// stored code lengths and codes rebuilds the same tree.
#include "crypto/huffman_tree.h"

#include <vector>

namespace vx::korva::huffman {
namespace {

struct Node {
    int parent = -1;
    int right = -1;
    int left = -1;
    int value = -1;
    std::uint64_t weight = 0;
};

// Picks the two free nodes to merge: the first two free nodes fill the slots, then each later
// free node replaces the heavier candidate when it is strictly lighter, the first slot when both
// weigh the same.
void pickPair(const std::vector<Node>& nodes, int& s1, int& s2) {
    s1 = -1;
    s2 = -1;
    for (int x = 0; x < static_cast<int>(nodes.size()); ++x) {
        if (nodes[x].parent != -1) continue;
        if (s1 < 0) {
            s1 = x;
            continue;
        }
        if (s2 < 0) {
            s2 = x;
            continue;
        }
        const std::uint64_t w = nodes[x].weight;
        const std::uint64_t w1 = nodes[s1].weight;
        const std::uint64_t w2 = nodes[s2].weight;
        if (w < w1) {
            if (w >= w2 || w1 >= w2)
                s1 = x;
            else
                s2 = x;
        } else if (w < w2) {
            s2 = x;
        }
    }
}

// Depth-first from the root: left child with a 0 appended, right child with a 1.
void assignCodes(const std::vector<Node>& nodes, CodeTable& codes) {
    struct Visit {
        int node;
        std::uint64_t bits;
        int length;
    };
    std::vector<Visit> stack{{static_cast<int>(nodes.size()) - 1, 0, 0}};
    while (!stack.empty()) {
        const Visit v = stack.back();
        stack.pop_back();
        const Node& n = nodes[v.node];
        if (n.value >= 0) {
            codes[n.value] = {v.bits, v.length};
            continue;
        }
        // The right child is pushed first so that the left subtree is finished first; the order
        // does not change any code, only the visiting order.
        stack.push_back({n.right, v.bits | (std::uint64_t{1} << v.length), v.length + 1});
        stack.push_back({n.left, v.bits, v.length + 1});
    }
}

}  // namespace

CodeTable buildHuffmanCodes(const ValueCounts& counts) {
    std::vector<Node> nodes;
    nodes.reserve(512);
    for (int v = 0; v < 256; ++v) {
        if (counts[v] > 0) nodes.push_back({-1, -1, -1, v, counts[v]});
    }
    CodeTable codes{};
    if (nodes.empty()) return codes;
    for (std::size_t remaining = nodes.size(); remaining >= 2; --remaining) {
        int s1 = -1;
        int s2 = -1;
        pickPair(nodes, s1, s2);
        const int m = static_cast<int>(nodes.size());
        nodes.push_back({-1, s2, s1, -1, nodes[s1].weight + nodes[s2].weight});
        nodes[s1].parent = m;
        nodes[s2].parent = m;
    }
    assignCodes(nodes, codes);
    return codes;
}

}  // namespace vx::korva::huffman
