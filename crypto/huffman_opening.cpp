// Reading the opening of a compressed block.
#include "crypto/huffman_opening.h"

#include <algorithm>

#include "crypto/huffman_format.h"

namespace vx::korva::huffman {
namespace {

int read16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | (p[1] << 8)); }
std::int32_t read32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (p[1] << 8) |
                                     (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

QString buildTree(const std::uint8_t* b, const Opening& h, DecodeTree& tree, int& minLength) {
    auto bitPos = static_cast<std::uint64_t>(h.codeStart) * 8;
    minLength = 256;
    for (int v = 0; v < 256; ++v) {
        const int l = h.lengths[v];
        if (l == 0) continue;
        if (QString e = tree.addCode(v, b, bitPos, l); !e.isEmpty()) return e;
        bitPos += static_cast<std::uint64_t>(l);
        minLength = std::min(minLength, l);
    }
    return {};
}

}  // namespace

qsizetype openingBytesNeeded(const std::uint8_t* b, qsizetype have, qsizetype blockLen) {
    qsizetype need = kHeaderSize;
    if (have >= kHeaderSize) {
        const int n = read16(b + kCountOffset);
        if (n >= 2 && n <= 256) {
            need = kHeaderSize + 2 * static_cast<qsizetype>(n);
            if (have >= need) {
                std::array<int, 256> lengths{};
                for (int i = 0; i < n; ++i) lengths[b[kHeaderSize + 2 * i]] = b[kHeaderSize + 2 * i + 1];
                qsizetype codeBits = 0;
                for (int l : lengths) codeBits += l;
                need += (codeBits + 7) / 8;
            }
        }
    }
    return std::min(need, blockLen);
}

QString readOpening(const std::uint8_t* b, qsizetype len, Opening& h, DecodeTree& tree) {
    if (len < kHeaderSize) return damagedError("header truncated");
    h.check = b[kChecksumOffset];
    h.outLen = read32(b + kLengthOffset);
    if (h.outLen < 0) return damagedError("negative length");
    const int n = read16(b + kCountOffset);
    if (n < 2 || n > 256) return damagedError("number of codes out of range");
    h.codeStart = kHeaderSize + 2 * static_cast<qsizetype>(n);
    if (h.codeStart > len) return damagedError("code table truncated");
    for (int i = 0; i < n; ++i) h.lengths[b[kHeaderSize + 2 * i]] = b[kHeaderSize + 2 * i + 1];
    qsizetype codeBits = 0;
    for (int l : h.lengths) codeBits += l;
    h.dataStart = h.codeStart + (codeBits + 7) / 8;
    if (h.dataStart > len) return damagedError("code bits truncated");
    int minLength = 0;
    if (QString e = buildTree(b, h, tree, minLength); !e.isEmpty()) return e;
    // Every value takes at least the shortest code, so a larger length cannot be in the data;
    // refusing it here also keeps a forged length from allocating a huge output.
    const auto dataBits = static_cast<std::uint64_t>(len - h.dataStart) * 8;
    if (h.outLen > 0 && static_cast<std::uint64_t>(h.outLen) >
                            dataBits / static_cast<std::uint64_t>(minLength))
        return damagedError("data ends before the stated length");
    return {};
}

}  // namespace vx::korva::huffman
