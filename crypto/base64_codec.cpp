// Base64 of the cipher module, table driven: the encoder turns each 12-bit half of a group into
// two characters with one lookup; the decoder takes four clean characters with four lookups and
// falls back to one character at a time around line breaks, foreign characters and "=".
#include "crypto/base64_codec.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vx::korva {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kPad = 64;  // the value of "="

// Two characters for each 12-bit value, first character in the low byte.
struct PairTable {
    std::array<std::uint16_t, 4096> pairs{};
    PairTable() {
        for (int v = 0; v < 4096; ++v) {
            pairs[v] = static_cast<std::uint16_t>(static_cast<std::uint8_t>(kAlphabet[v >> 6]) |
                                                  (static_cast<std::uint8_t>(kAlphabet[v & 63]) << 8));
        }
    }
};

// Value of each character code: 0..63 for the alphabet, 64 for "=", -1 for everything else.
struct DecodeTable {
    std::array<std::int16_t, 256> values{};
    // The value already shifted to its place in a group, with bit 31 set for any character
    // that is not one of the 64 symbols.
    std::array<std::uint32_t, 256> placed[4]{};
    DecodeTable() {
        values.fill(-1);
        for (int i = 0; i < 64; ++i) values[static_cast<std::uint8_t>(kAlphabet[i])] = static_cast<std::int16_t>(i);
        values['='] = kPad;
        for (int c = 0; c < 256; ++c) {
            const int v = values[c];
            for (int k = 0; k < 4; ++k)
                placed[k][c] = (v < 0 || v == kPad) ? 0x80000000u
                                                    : static_cast<std::uint32_t>(v) << (18 - 6 * k);
        }
    }
};

const PairTable& pairTable() {
    static const PairTable t;
    return t;
}
const DecodeTable& decodeTable() {
    static const DecodeTable t;
    return t;
}

void encodeGroup(const std::uint8_t* in, char* out, const PairTable& t) {
    const std::uint32_t v = (in[0] << 16) | (in[1] << 8) | in[2];
    const std::uint16_t hi = t.pairs[v >> 12];
    const std::uint16_t lo = t.pairs[v & 4095];
    std::memcpy(out, &hi, 2);  // little-endian: first character first
    std::memcpy(out + 2, &lo, 2);
}

// Writes the three bytes of a group of four values and returns how many are kept: an "=" in the
// fourth place takes back the last byte, one in the third place takes back one more.
int decodeQuad(const int q[4], std::uint8_t* out) {
    out[0] = static_cast<std::uint8_t>(((q[0] << 2) & 255) | ((q[1] >> 4) & 3));
    out[1] = static_cast<std::uint8_t>(((q[1] & 15) << 4) | ((q[2] >> 2) & 15));
    out[2] = static_cast<std::uint8_t>(((q[2] & 3) << 6) | q[3]);
    return 3 - (q[3] == kPad ? 1 : 0) - (q[2] == kPad ? 1 : 0);
}

}  // namespace

QByteArray Base64Encode(const QByteArray& bytes, int lineLength) {
    if (lineLength < 10) lineLength = 10;
    const qsizetype n = bytes.size();
    const qsizetype groups = n / 3;
    const qsizetype rest = n % 3;
    // A line ends after the group that brings its count of characters to the line length.
    const qsizetype groupsPerLine = (static_cast<qsizetype>(lineLength) + 3) / 4;
    const qsizetype lines = groups / groupsPerLine;
    QByteArray out(groups * 4 + lines * 2 + (rest ? 4 : 0), Qt::Uninitialized);

    const PairTable& t = pairTable();
    const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    char* o = out.data();
    qsizetype g = 0;
    while (g < groups) {
        const qsizetype lineEnd = std::min(groups, g + groupsPerLine);
        for (; g < lineEnd; ++g, in += 3, o += 4) encodeGroup(in, o, t);
        if (g % groupsPerLine == 0) {
            *o++ = '\r';
            *o++ = '\n';
        }
    }
    if (rest) {
        const std::uint8_t tail[3] = {in[0], rest == 2 ? in[1] : std::uint8_t{0}, 0};
        encodeGroup(tail, o, t);
        o[3] = '=';
        if (rest == 1) o[2] = '=';
    }
    return out;
}

QByteArray Base64Decode(const QByteArray& text) {
    const qsizetype n = text.size();
    if (n < 4) return {};
    QByteArray out((n / 4) * 3, Qt::Uninitialized);
    const DecodeTable& t = decodeTable();
    const auto* c = reinterpret_cast<const std::uint8_t*>(text.constData());
    auto* o = reinterpret_cast<std::uint8_t*>(out.data());
    qsizetype kept = 0;
    int q[4];
    int have = 0;
    qsizetype i = 0;
    while (i < n) {
        if (have == 0) {
            // Runs of clean groups, as in the body of every line.
            while (n - i >= 4) {
                const std::uint32_t x = t.placed[0][c[i]] | t.placed[1][c[i + 1]] |
                                        t.placed[2][c[i + 2]] | t.placed[3][c[i + 3]];
                if (x & 0x80000000u) break;
                o[kept] = static_cast<std::uint8_t>(x >> 16);
                o[kept + 1] = static_cast<std::uint8_t>(x >> 8);
                o[kept + 2] = static_cast<std::uint8_t>(x);
                kept += 3;
                i += 4;
            }
            if (i == n) break;
        }
        const int v = t.values[c[i++]];
        if (v < 0) continue;
        q[have++] = v;
        if (have == 4) {
            kept += decodeQuad(q, o + kept);
            have = 0;
        }
    }
    out.resize(kept);
    return out;
}

}  // namespace vx::korva
