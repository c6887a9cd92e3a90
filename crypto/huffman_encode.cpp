// HuffmanEncode: counts the byte values, builds the codes, and writes the compressed block, or
// the stored block when packing would not make the data smaller. The work runs in stretches
// between the fixed yield points, so the inner loops carry no checks.
#include <QByteArray>
#include <algorithm>
#include <climits>

#include "crypto/bit_packing.h"
#include "crypto/huffman_codec.h"
#include "crypto/huffman_format.h"
#include "crypto/huffman_packer.h"
#include "crypto/huffman_tree.h"
#include "crypto/korva_state.h"

namespace vx::korva {
namespace {

using namespace huffman;

QByteArray storedBlock(const QByteArray& a, qsizetype len) {
    QByteArray block(kIdSize + len, Qt::Uninitialized);
    std::memcpy(block.data(), "HE0\r", kIdSize);
    if (len > 0) std::memcpy(block.data() + kIdSize, a.constData(), static_cast<size_t>(len));
    return block;
}

// Counts p[0..n) into four lanes (so that neighbouring equal bytes do not wait on one another)
// and returns the xor of the bytes.
std::uint8_t countStretch(const std::uint8_t* p, qsizetype n, std::uint64_t (*lanes)[256]) {
    const std::uint8_t* end = p + n;
    std::uint64_t acc = 0;
    for (; end - p >= 8; p += 8) {
        const std::uint64_t w = load64(p);
        acc ^= w;
        ++lanes[0][w & 255];
        ++lanes[1][(w >> 8) & 255];
        ++lanes[2][(w >> 16) & 255];
        ++lanes[3][(w >> 24) & 255];
        ++lanes[0][(w >> 32) & 255];
        ++lanes[1][(w >> 40) & 255];
        ++lanes[2][(w >> 48) & 255];
        ++lanes[3][w >> 56];
    }
    acc ^= acc >> 32;
    acc ^= acc >> 16;
    acc ^= acc >> 8;
    auto x = static_cast<std::uint8_t>(acc);
    for (; p < end; ++p) {
        ++lanes[0][*p];
        x ^= *p;
    }
    return x;
}

// Progress 0..3 %, a yield every 1000 bytes. The checksum is taken in the same pass, since it
// reads the same bytes. False when aborted.
bool countValues(const std::uint8_t* in, qsizetype len, ValueCounts& counts, std::uint8_t& sum) {
    std::uint64_t lanes[4][256] = {};
    sum = 0;
    for (qsizetype i = 0; i < len; i += kCountInterval) {
        if (!checkpoint(static_cast<double>(i) / static_cast<double>(len) * 3)) return false;
        sum ^= countStretch(in + i, std::min<qsizetype>(kCountInterval, len - i), lanes);
    }
    for (int v = 0; v < 256; ++v) counts[v] = lanes[0][v] + lanes[1][v] + lanes[2][v] + lanes[3][v];
    return true;
}

// The checksum stage's yields and progress, 3..6 %, every 10000 bytes; the xor itself was taken
// while counting. False when aborted.
bool checksumStage(qsizetype len) {
    for (qsizetype i = 0; i < len; i += kWorkInterval) {
        if (!checkpoint(static_cast<double>(i) / static_cast<double>(len) * 3 + 3)) return false;
    }
    return true;
}

struct Plan {
    CodeTable codes;
    int coded = 0;            // N: values with a code
    std::uint64_t codeBits = 0;  // S
    std::uint64_t dataBits = 0;  // D
};

Plan planFor(const ValueCounts& counts) {
    Plan plan;
    plan.codes = buildHuffmanCodes(counts);
    for (int v = 0; v < 256; ++v) {
        const int l = plan.codes[v].length;
        if (l == 0) continue;
        ++plan.coded;
        plan.codeBits += static_cast<std::uint64_t>(l);
        plan.dataBits += static_cast<std::uint64_t>(l) * counts[v];
    }
    return plan;
}

void writeHeader(std::uint8_t* out, std::uint8_t sum, qsizetype len, const Plan& plan) {
    std::memcpy(out, "HE3\r", kIdSize);
    out[kChecksumOffset] = sum;
    const auto l = static_cast<std::uint32_t>(len);
    for (int b = 0; b < 4; ++b) out[kLengthOffset + b] = static_cast<std::uint8_t>(l >> (8 * b));
    out[kCountOffset] = static_cast<std::uint8_t>(plan.coded & 255);
    out[kCountOffset + 1] = static_cast<std::uint8_t>(plan.coded >> 8);
    std::uint8_t* pair = out + kHeaderSize;
    for (int v = 0; v < 256; ++v) {
        if (plan.codes[v].length == 0) continue;
        *pair++ = static_cast<std::uint8_t>(v);
        *pair++ = static_cast<std::uint8_t>(plan.codes[v].length);
    }
}

// Writes the whole compressed block; progress 6..50 %. False when aborted.
bool writeBlock(const std::uint8_t* in, qsizetype len, std::uint8_t sum, const Plan& plan,
                QByteArray& block) {
    const qsizetype tableEnd = kHeaderSize + 2 * plan.coded;
    const auto codeBytes = static_cast<qsizetype>((plan.codeBits + 7) / 8);
    const auto dataBytes = static_cast<qsizetype>((plan.dataBits + 7) / 8);
    const qsizetype size = tableEnd + codeBytes + dataBytes;
    block = QByteArray(size + 8, Qt::Uninitialized);  // 8 bytes of room for whole-word stores
    auto* out = reinterpret_cast<std::uint8_t*>(block.data());
    writeHeader(out, sum, len, plan);

    BitWriter w(out + tableEnd);
    for (const HuffmanCode& c : plan.codes) {
        if (c.length > 0) w.put(c.bits, static_cast<unsigned>(c.length));
    }
    w.alignToByte();

    const CodePacker packer(plan.codes, len);
    for (qsizetype i = 0; i < len; i += kWorkInterval) {
        if (!checkpoint(static_cast<double>(i) / static_cast<double>(len) * 44 + 3 + 3))
            return false;
        packer.pack(in + i, std::min<qsizetype>(kWorkInterval, len - i), w);
    }
    w.alignToByte();
    block.resize(size);
    return true;
}

}  // namespace

void HuffmanEncode(QByteArray& A, qsizetype Len) {
    Len = std::clamp<qsizetype>(Len, 0, A.size());
    if (Len == 0) {
        A = storedBlock(A, 0);
        return;
    }
    const auto* in = reinterpret_cast<const std::uint8_t*>(A.constData());
    ValueCounts counts{};
    std::uint8_t sum = 0;
    if (!countValues(in, Len, counts, sum)) return;

    // The length field holds 32 signed bits; longer input can only be stored. (This also
    // keeps the counts within the bound that limits codes to 46 bits.)
    if (Len > INT32_MAX) {
        A = storedBlock(A, Len);
        return;
    }
    const Plan plan = planFor(counts);
    const std::uint64_t packedSize = (plan.dataBits + 7) / 8;
    if (packedSize == 0 || packedSize > static_cast<std::uint64_t>(Len)) {
        A = storedBlock(A, Len);
        return;
    }

    if (!checksumStage(Len)) return;
    QByteArray block;
    if (!writeBlock(in, Len, sum, plan, block)) return;
    A = std::move(block);
}

}  // namespace vx::korva
