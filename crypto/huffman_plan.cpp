// Counting, planning and the opening of a compressed block.
#include "crypto/huffman_plan.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "crypto/huffman_format.h"

namespace vx::korva::huffman {

void ValueCounter::add(const std::uint8_t* p, qsizetype n) {
    const std::uint8_t* end = p + n;
    std::uint64_t acc = 0;
    for (; end - p >= 8; p += 8) {
        const std::uint64_t w = load64(p);
        acc ^= w;
        ++m_lanes[0][w & 255];
        ++m_lanes[1][(w >> 8) & 255];
        ++m_lanes[2][(w >> 16) & 255];
        ++m_lanes[3][(w >> 24) & 255];
        ++m_lanes[0][(w >> 32) & 255];
        ++m_lanes[1][(w >> 40) & 255];
        ++m_lanes[2][(w >> 48) & 255];
        ++m_lanes[3][w >> 56];
    }
    acc ^= acc >> 32;
    acc ^= acc >> 16;
    acc ^= acc >> 8;
    auto x = static_cast<std::uint8_t>(acc);
    for (; p < end; ++p) {
        ++m_lanes[0][*p];
        x ^= *p;
    }
    m_sum ^= x;
}

void ValueCounter::merge(const ValueCounter& other) {
    for (int l = 0; l < 4; ++l)
        for (int v = 0; v < 256; ++v) m_lanes[l][v] += other.m_lanes[l][v];
    m_sum ^= other.m_sum;
}

ValueCounts ValueCounter::counts() const {
    ValueCounts c{};
    for (int v = 0; v < 256; ++v)
        c[v] = m_lanes[0][v] + m_lanes[1][v] + m_lanes[2][v] + m_lanes[3][v];
    return c;
}

Plan planFor(const ValueCounts& counts) {
    Plan plan;
    plan.codes = buildHuffmanCodes(counts);
    for (int v = 0; v < 256; ++v) {
        const int l = plan.codes[v].length;
        if (l == 0) continue;
        ++plan.coded;
        plan.longest = std::max(plan.longest, l);
        plan.codeBits += static_cast<std::uint64_t>(l);
        plan.dataBits += static_cast<std::uint64_t>(l) * counts[v];
    }
    return plan;
}

bool storedBlockFor(const Plan& plan, qsizetype len) {
    if (len <= 0 || len > kLongestCompressed) return true;
    const std::uint64_t packedSize = (plan.dataBits + 7) / 8;
    return packedSize == 0 || packedSize > static_cast<std::uint64_t>(len);
}

qsizetype openingSize(const Plan& plan) {
    return kHeaderSize + 2 * plan.coded + static_cast<qsizetype>((plan.codeBits + 7) / 8);
}

qsizetype compressedSize(const Plan& plan) {
    return openingSize(plan) + static_cast<qsizetype>((plan.dataBits + 7) / 8);
}

void writeOpening(std::uint8_t* out, std::uint8_t sum, qsizetype len, const Plan& plan) {
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
    BitWriter w(pair);
    for (const HuffmanCode& c : plan.codes) {
        if (c.length > 0) w.put(c.bits, static_cast<unsigned>(c.length));
    }
    w.alignToByte();
}

qsizetype StreamPacker::pack(const std::uint8_t* in, qsizetype n, std::uint8_t* out) {
    m_writer.moveTo(out);
    m_packer.pack(in, n, m_writer);
    m_writer.flush();
    return m_writer.position() - out;
}

qsizetype StreamPacker::finish(std::uint8_t* out) {
    m_writer.moveTo(out);
    m_writer.alignToByte();
    return m_writer.position() - out;
}

}  // namespace vx::korva::huffman
