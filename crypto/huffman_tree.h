// Code construction of the Huffman encoder: the exact merge order of the block format (which two
// free nodes are joined, and which goes left), then the codes read off the tree depth-first.
// Internal to the cipher module.
#pragma once

#include <array>
#include <cstdint>

namespace vx::korva::huffman {

// One value's code. Bit k of `bits` is the k-th bit of the code counted from the root, so the
// code is written to the block by packing `bits` from its lowest bit up. Length 0: no code.
struct HuffmanCode {
    std::uint64_t bits = 0;
    int length = 0;
};

using ValueCounts = std::array<std::uint64_t, 256>;
using CodeTable = std::array<HuffmanCode, 256>;

// Builds the codes for the counted values. Values with count 0 get no code; a single counted
// value gets a code of length 0. Precondition: the counts add up to less than 2^32, which keeps
// every code within 46 bits (a leaf at depth d needs a total weight of at least the Fibonacci
// number F(d + 2)).
CodeTable buildHuffmanCodes(const ValueCounts& counts);

}  // namespace vx::korva::huffman
