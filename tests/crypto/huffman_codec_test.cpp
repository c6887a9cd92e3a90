// Huffman codec: exact blocks (one of them from an independent implementation), round trips over
// edge and large inputs, damaged blocks, checksum errors, yields, progress and abort.
#include "crypto/huffman_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "crypto/huffman_data_decoder.h"
#include "crypto_files.h"
#include "module_guard.h"
#include "sample_data.h"

namespace vx::korva {
namespace {

using sample::englishLikeText;
using sample::randomBytes;

QByteArray encoded(QByteArray a) {
    HuffmanEncode(a, a.size());
    return a;
}

// Bits given as a text, first bit first, packed from bit 0 of each byte.
QByteArray packed(const std::string& bits) {
    QByteArray out((bits.size() + 7) / 8, '\0');
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i] == '1') out[i / 8] = static_cast<char>(out[i / 8] | (1 << (i % 8)));
    return out;
}

// Block with the given pairs, code bits given as texts, data bits as a text.
QByteArray handMadeBlock(int check, std::int32_t outLen,
                         const std::vector<std::pair<int, std::string>>& codes,
                         const std::string& dataBits) {
    QByteArray b = "HE3\r";
    b.append(char(check)).append(reinterpret_cast<const char*>(&outLen), 4);  // little-endian
    b.append(char(codes.size())).append(char(codes.size() >> 8));
    std::string bits;
    for (const auto& [value, code] : codes) {
        b.append(char(value)).append(char(code.size()));
        bits += code;
    }
    return b + packed(bits) + packed(dataBits);
}

// Value i occurs Fibonacci(i) times: the deepest tree for its size, codes far longer than the
// decoder's 12-bit table.
QByteArray fibonacciInput(int values, std::uint32_t seed) {
    QByteArray out;
    for (qsizetype v = 0, a = 1, b = 1; v < values; ++v, b += a, a = b - a)  // (a, b) = (b, a + b)
        out += QByteArray(a, static_cast<char>(v * 7 + 1));
    std::shuffle(out.begin(), out.end(), std::mt19937(seed));
    return out;
}

const std::string kLongA(255, '0'), kLongB = "1" + std::string(254, '0');

class HuffmanCodec : public ::testing::Test {
protected:
    test::ModuleGuard guard;
};

TEST_F(HuffmanCodec, ExactBlocksAndTheirDecoding) {
    const QByteArray text = englishLikeText(25000, 13);
    QByteArray badSum = encoded(text);
    badSum[4] = static_cast<char>(badSum[4] ^ 0x5A);
    const int c = 'a' ^ 'b' ^ 'c';  // the checksum of the first two hand-made blocks
    // clang-format off
    const struct {
        QByteArray input, block;
        bool encodes;       // false: a block our encoder never writes, decoded only
        int errorCode = 0;  // 5: the checksum does not match, the data still comes out
    } cases[] = {
        {"", "HE0\r", true},
        {QByteArray(70000, 'z'), "HE0\r" + QByteArray(70000, 'z'), true},  // one value: stored
        // Counts 5, 1, 1: the third value takes the first free slot, so 'c' goes left.
        {"aaaaabc", handMadeBlock(c, 7, {{'a', "0"}, {'b', "11"}, {'c', "10"}}, "000001110"), true},
        {"abc", handMadeBlock(c, 3, {{'a', "10"}, {'b', "11"}, {'c', "0"}}, "10110"), true},
        {test::readFile(test::sampleFile("english_3k.txt")),
         test::readFile(test::sampleFile("english_3k.he")), true},
        // Bits after the last value are ignored.
        {"qprrp", handMadeBlock('q', 5, {{'p', "0"}, {'q', "10"}, {'r', "11"}}, "10011110" "1111"),
         false},
        // A later pair for the same value wins: 'p' is 0, 'q' 1, the data 0 1 0.
        {"pqp", QByteArray("HE3\rq\x03\0\0\0\x03\0p\x05q\x01p\x01\x02\x02", 19), false},
        {"\x01\x02", handMadeBlock(3, 2, {{1, kLongA}, {2, kLongB}}, kLongA + kLongB), false},
        {text, badSum, false, 5}};
    // clang-format on
    for (const auto& row : cases) {
        EXPECT_EQ(row.encodes ? encoded(row.input) : row.block, row.block)
            << row.input.left(20).constData();
        QByteArray a = row.block + "junk after the block";
        state().ErrorCode = 0;
        ASSERT_TRUE(HuffmanDecode(a, row.block.size()).isOk()) << row.input.left(20).constData();
        EXPECT_EQ(a, row.input);
        EXPECT_EQ(state().ErrorCode, row.errorCode) << row.input.left(20).constData();
    }
    EXPECT_EQ(state().ErrorMessage, "Compression checksum error (Error 5)");
}

TEST_F(HuffmanCodec, RoundTripsOfManySizesAndShapes) {
    QByteArray all256 = randomBytes(50000, 11);
    for (int v = 0; v < 256; ++v) all256.append(static_cast<char>(v));
    std::vector<QByteArray> inputs = {
        QByteArray("\x00\x01", 2),     QByteArray("\xff\x00\xff", 3), all256,
        fibonacciInput(20, 3),         fibonacciInput(26, 4),         fibonacciInput(31, 5),
        "xy" + QByteArray(30001, 'x'), englishLikeText(1 << 20, 6),   randomBytes(1200001, 7)};
    for (qsizetype n : {3, 7, 8, 9, 15, 16, 17, 63, 64, 65, 9999, 10000, 10001, 20017})
        inputs.push_back(englishLikeText(n, static_cast<std::uint32_t>(n)));
    for (const QByteArray& input : inputs) {
        QByteArray a = encoded(input);
        EXPECT_TRUE(a.startsWith("HE3\r")) << input.size();
        ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk()) << input.size();
        EXPECT_EQ(a, input) << input.size();
    }
    EXPECT_EQ(state().ErrorCode, 0);
    // Every value with an 8-bit code: the data is as large as the input, yet not stored.
    QByteArray flat;
    for (int v = 0; v < 3 * 256; ++v) flat.append(static_cast<char>(v));
    EXPECT_EQ(encoded(flat).size(), 11 + 2 * 256 + 256 + flat.size());
}

TEST_F(HuffmanCodec, DamagedBlocksEndInAnErrorAndLeaveTheArray) {
    const QByteArray good = handMadeBlock('p' ^ 'q', 2, {{'p', "0"}, {'q', "1"}}, "01");
    auto with = [&](int at, std::initializer_list<int> values) {
        QByteArray b = good;
        for (int v : values) b[at++] = static_cast<char>(v);
        return b;
    };
    const std::string longC = "1" + std::string(199, '0'), longD = longC.substr(0, 199) + "1";
    const std::string zeros(150, '0');
    const char* const ends = "data ends before the stated length";
    const char* const range = "number of codes out of range";
    const char* const noCode = "the data holds a bit sequence that is no code";
    // clang-format off
    const struct {
        QByteArray block;
        const char* reason;  // nullptr: the identification error
        qsizetype len = -2;  // -2: the whole block
    } cases[] = {
        {"", nullptr}, {"HE3", nullptr}, {"HE1\r12345678901", nullptr}, {"HEX\r", nullptr},
        {"XE3\r" + good.mid(4), nullptr}, {"HE3\n" + good.mid(4), nullptr},
        {with(9, {1, 0}), range}, {with(9, {1, 1}), range}, {with(9, {0xFE, 0xFF}), range},
        {with(5, {0xFF, 0xFF, 0xFF, 0xFF}), "negative length"},
        {with(5, {9, 0, 0, 0}), ends}, {with(5, {0xFF, 0xFF, 0xFF, 0x7F}), ends},
        {handMadeBlock(0, 12, {{1, "0"}, {2, "10"}, {3, "11"}}, "1111111111"), ends},
        // A long code cut by the end of the data.
        {handMadeBlock(0, 20, {{1, "0"}, {2, longC}, {3, longD}}, "01" + zeros), ends},
        {handMadeBlock(0, 1, {{1, "0"}, {2, "01"}}, "0"), "a code passes through a value"},
        {handMadeBlock(0, 1, {{1, "01"}, {2, "0"}}, "0"), "a code ends on an inner node"},
        {handMadeBlock(0, 1, {{1, "01"}, {2, "01"}}, "0"), "two values share one code"},
        {handMadeBlock(0, 3, {{1, "0"}, {2, "10"}}, "01011"), noCode},
        // Regression: the table-driven loop did not stop on such bits and never returned.
        {handMadeBlock(0, 100, {{1, "0"}, {2, "10"}}, zeros.substr(0, 40) + "11" + zeros), noCode},
        {handMadeBlock(0, 1, {{1, kLongA}, {2, kLongB}, {3, "011"}}, "0"),
         "code tree over 512 nodes"},
        {good, "block length outside the array", -1},
        {good, "block length outside the array", good.size() + 1}};
    // clang-format on
    for (const auto& c : cases) {
        QByteArray a = c.block;
        const Status s = HuffmanDecode(a, c.len == -2 ? a.size() : c.len);
        ASSERT_FALSE(s.isOk()) << c.block.toHex().constData();
        const QString why = c.reason ? "The compressed data is corrupt (" + QString(c.reason) + ")"
                                     : "The data either was not compressed with HE3 or is corrupt "
                                       "(identification string not found)";
        EXPECT_EQ(s.message(), why);
        EXPECT_EQ(a, c.block);
    }
    // Every byte of a compressed block is needed, so every prefix is refused (a header, code
    // table or code bits cut short among them).
    const QByteArray block = encoded(englishLikeText(3000, 12));
    for (qsizetype len = 0; len < block.size(); ++len) {
        QByteArray a = block;
        EXPECT_FALSE(HuffmanDecode(a, len).isOk()) << len;
        EXPECT_EQ(a, block) << len;
    }
}

TEST_F(HuffmanCodec, EncoderYieldsAndDrawsAtFixedPointsAndStopsAtAnyOfThem) {
    const QByteArray input = englishLikeText(100000, 16);
    QByteArray a = input;
    HuffmanEncode(a, a.size());
    // 100 yields while counting (0..3 %, 1.5 gives 2), 10 for the checksum (3..6 %, 4.5 gives
    // 4), 10 while packing (6..50 %).
    EXPECT_EQ(guard.yields, 120);
    EXPECT_EQ(guard.sink.drawn,
              (std::vector<int>{1, 2, 3, 4, 5, 6, 10, 15, 19, 24, 28, 32, 37, 41, 46}));
    for (int at : {1, 50, 100, 101, 110, 111, 120}) {
        guard.restart(at);
        a = input;
        HuffmanEncode(a, a.size());
        EXPECT_EQ(guard.yields, at);
        EXPECT_EQ(a, input) << at;
        EXPECT_TRUE(state().AbortFlag) << at;
    }
}

TEST_F(HuffmanCodec, DecoderYieldsAndDrawsAtFixedPointsAndStopsAtAnyOfThem) {
    // Two equally likely values take one bit each: a block of 16 + 99984 = 100000 bytes.
    QByteArray input = randomBytes(99984 * 8, 17);
    for (auto& c : input) c = (c & 1) ? 'b' : 'a';
    const QByteArray block = encoded(input);
    ASSERT_EQ(block.size(), 100000);
    guard.restart();
    QByteArray a = block;
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    ASSERT_EQ(a, input);
    // Block positions 10000 ... 100000 give 50 ... 95 %, then the checksum stage 50 ... 99 %.
    const std::vector<int>& d = guard.sink.drawn;
    ASSERT_GE(d.size(), 11u);
    EXPECT_EQ(std::vector<int>(d.begin(), d.begin() + 11),
              (std::vector<int>{50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 50}));
    EXPECT_TRUE(std::is_sorted(d.begin() + 10, d.end()));
    EXPECT_EQ(d.back(), 99);
    EXPECT_EQ(guard.yields, 10 + 80);  // 799872 output bytes: 80 checksum yields
    // Stopped while decoding the data, and in the checksum stage.
    for (int at : {1, 15}) {
        guard.restart(at);
        a = block;
        EXPECT_TRUE(HuffmanDecode(a, a.size()).isOk());
        EXPECT_EQ(a, block) << at;
        EXPECT_TRUE(state().AbortFlag);
    }
}

// Regression: with exactly twelve bytes of room the table loop ran one more group, whose last
// four-byte store reached one byte past the output.
TEST(HuffmanDataDecoder, NeverWritesPastTheOutput) {
    huffman::DecodeTree tree;
    const std::uint8_t codeBits = 0b10;  // 'a' is 0, 'b' is 1
    ASSERT_TRUE(tree.addCode('a', &codeBits, 0, 1).isEmpty());
    ASSERT_TRUE(tree.addCode('b', &codeBits, 1, 1).isEmpty());
    const QByteArray data = randomBytes(64, 5);
    const auto* in = reinterpret_cast<const std::uint8_t*>(data.constData());
    for (int n : {12, 13, 24, 25, 36}) {
        QByteArray out(n + 1, '#');
        auto* o = reinterpret_cast<std::uint8_t*>(out.data());
        huffman::DataDecoder decoder(tree, in, data.size(), 0, o, o + n);
        EXPECT_EQ(decoder.run(~std::uint64_t(0)), huffman::Stop::Done);
        EXPECT_EQ(out[n], '#') << n;
        EXPECT_EQ(out[n - 1], (data[(n - 1) / 8] >> ((n - 1) % 8)) & 1 ? 'b' : 'a') << n;
    }
}

}  // namespace
}  // namespace vx::korva
