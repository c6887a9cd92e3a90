// Huffman codec: exact blocks for small inputs, the stored fallback, round trips over edge and
// large inputs checked against a bit-by-bit reference model, damaged blocks, checksum errors,
// abort and progress.
#include "crypto/huffman_codec.h"

#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "codec_test_support.h"
#include "crypto/korva_state.h"

using namespace vx;
using namespace vx::korva;
using vx::korva::testing::englishLikeText;
using vx::korva::testing::ModuleHarness;
using vx::korva::testing::randomBytes;

namespace {

const QString kIdError = QStringLiteral(
    "The data either was not compressed with HE3 or is corrupt (identification string not found)");

QByteArray bytes(std::initializer_list<int> list) {
    QByteArray out;
    for (int b : list) out.append(static_cast<char>(b));
    return out;
}

QByteArray encoded(QByteArray a) {
    HuffmanEncode(a, a.size());
    return a;
}

// The block read field by field, with each code as a text of '0' and '1', first bit first.
struct ParsedBlock {
    int check = 0;
    std::int32_t outLen = 0;
    int n = 0;
    std::vector<std::pair<int, int>> pairs;
    std::map<int, std::string> codes;
    QByteArray data;
};

int bitAt(const QByteArray& a, qsizetype bit) {
    return (static_cast<std::uint8_t>(a[bit / 8]) >> (bit % 8)) & 1;
}

ParsedBlock parse(const QByteArray& b) {
    ParsedBlock p;
    auto u8 = [&](qsizetype i) { return static_cast<std::uint8_t>(b[i]); };
    p.check = u8(4);
    p.outLen = static_cast<std::int32_t>(u8(5) | (u8(6) << 8) | (u8(7) << 16) |
                                         (static_cast<std::uint32_t>(u8(8)) << 24));
    p.n = static_cast<std::int16_t>(u8(9) | (u8(10) << 8));
    for (int i = 0; i < p.n; ++i) p.pairs.push_back({u8(11 + 2 * i), u8(12 + 2 * i)});
    qsizetype bit = (11 + 2 * p.n) * 8;
    for (auto [value, length] : p.pairs) {
        std::string code;
        for (int k = 0; k < length; ++k) code += bitAt(b, bit++) ? '1' : '0';
        p.codes[value] = code;
    }
    p.data = b.mid((bit + 7) / 8);
    return p;
}

// Packs the codes of every input byte bit by bit, as the block format describes.
QByteArray referencePack(const QByteArray& input, const std::map<int, std::string>& codes) {
    QByteArray out;
    int used = 8;
    for (char c : input) {
        for (char bit : codes.at(static_cast<std::uint8_t>(c))) {
            if (used == 8) {
                out.append('\0');
                used = 0;
            }
            if (bit == '1') out[out.size() - 1] = static_cast<char>(out.back() | (1 << used));
            ++used;
        }
    }
    return out;
}

// Block with the given pairs, code bits given as texts, data bits as a text.
QByteArray handMadeBlock(int check, std::int32_t outLen,
                         const std::vector<std::pair<int, std::string>>& codes,
                         const std::string& dataBits) {
    QByteArray b("HE3\r");
    b.append(static_cast<char>(check));
    for (int k = 0; k < 4; ++k) b.append(static_cast<char>((outLen >> (8 * k)) & 0xFF));
    const int n = static_cast<int>(codes.size());
    b.append(static_cast<char>(n & 0xFF));
    b.append(static_cast<char>(n >> 8));
    std::string codeBits;
    for (const auto& [value, code] : codes) {
        b.append(static_cast<char>(value));
        b.append(static_cast<char>(code.size()));
        codeBits += code;
    }
    for (const std::string& bits : {codeBits, dataBits}) {
        for (std::size_t i = 0; i < bits.size(); i += 8) {
            int byte = 0;
            for (std::size_t k = 0; k < 8 && i + k < bits.size(); ++k)
                if (bits[i + k] == '1') byte |= 1 << k;
            b.append(static_cast<char>(byte));
        }
    }
    return b;
}

class HuffmanCodec : public ::testing::Test {
protected:
    ModuleHarness harness;
};

// --- Stored blocks -------------------------------------------------------------------------

TEST_F(HuffmanCodec, EmptyInputGivesTheBareStoredIdentification) {
    QByteArray a;
    HuffmanEncode(a, 0);
    EXPECT_EQ(a, QByteArray("HE0\r"));
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    EXPECT_TRUE(a.isEmpty());
}

TEST_F(HuffmanCodec, OneRepeatedValueIsStoredUnchanged) {
    for (qsizetype n : {1, 2, 999, 1000, 1001, 70000}) {
        const QByteArray input(n, 'z');
        QByteArray a = encoded(input);
        EXPECT_EQ(a, "HE0\r" + input) << n;
        ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
        EXPECT_EQ(a, input) << n;
    }
}

TEST_F(HuffmanCodec, StoredBlockDecodesToItsBytesAfterTheIdentification) {
    QByteArray a = QByteArray("HE0\r") + bytes({0, 255, 13, 10, 'H'}) + "junk";
    ASSERT_TRUE(HuffmanDecode(a, 9).isOk());  // only the first 9 bytes are the block
    EXPECT_EQ(a, bytes({0, 255, 13, 10, 'H'}));
}

TEST_F(HuffmanCodec, OnlyTheFirstLenBytesAreEncoded) {
    const QByteArray text = englishLikeText(5000, 3);
    QByteArray whole = text.left(3000);
    QByteArray part = text;
    HuffmanEncode(whole, whole.size());
    HuffmanEncode(part, 3000);
    EXPECT_EQ(part, whole);
}

// Huffman codes never average more than 8 bits, so the packed data reaches the input's size
// only when every value has an 8-bit code; that block is still written compressed, since the
// table and header are not counted, and is larger than the input.
TEST_F(HuffmanCodec, PackedDataAsLargeAsTheInputStillGivesACompressedBlock) {
    QByteArray input;
    for (int round = 0; round < 3; ++round)
        for (int v = 0; v < 256; ++v) input.append(static_cast<char>(v));
    QByteArray a = encoded(input);
    ASSERT_TRUE(a.startsWith("HE3\r"));
    const ParsedBlock p = parse(a);
    for (auto [value, length] : p.pairs) EXPECT_EQ(length, 8) << value;
    EXPECT_EQ(a.size(), 11 + 2 * 256 + 256 + input.size());
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    EXPECT_EQ(a, input);
}

// --- Exact codes and blocks ----------------------------------------------------------------

TEST_F(HuffmanCodec, CountsFiveOneOneGiveCodesZeroElevenTen) {
    // The third value replaces the first in the first slot: 'c' goes left, 'b' right.
    const QByteArray a = encoded("aaaaabc");
    const QByteArray expected = QByteArray("HE3\r") +
                                bytes({'a' ^ 'b' ^ 'c' ^ 'a' ^ 'a' ^ 'a' ^ 'a', 7, 0, 0, 0, 3, 0,
                                       'a', 1, 'b', 2, 'c', 2,
                                       0x0E,          // codes 0, 11, 10
                                       0xE0, 0x00});  // 0 0 0 0 0 11 10
    EXPECT_EQ(a, expected);
}

TEST_F(HuffmanCodec, CountsOneOneOneGiveTheFirstTwoMergedFirst) {
    const QByteArray a = encoded("abc");
    const QByteArray expected = QByteArray("HE3\r") +
                                bytes({'a' ^ 'b' ^ 'c', 3, 0, 0, 0, 3, 0, 'a', 2, 'b', 2, 'c', 1,
                                       0x0D,    // codes 10, 11, 0
                                       0x0D});  // 10 11 0
    EXPECT_EQ(a, expected);
}

TEST_F(HuffmanCodec, TwoValuesGetOneBitCodesLowerValueZero) {
    for (const QByteArray& input : {QByteArray("ABBBBBBBBB"), QByteArray("AAAAAAAAAB"),
                                   QByteArray("BABABABA")}) {
        const ParsedBlock p = parse(encoded(input));
        EXPECT_EQ(p.n, 2);
        EXPECT_EQ(p.codes.at('A'), "0") << input.constData();
        EXPECT_EQ(p.codes.at('B'), "1") << input.constData();
        EXPECT_EQ(p.data, referencePack(input, p.codes));
    }
}

TEST_F(HuffmanCodec, HeaderCarriesChecksumLengthAndAscendingPairs) {
    const QByteArray input = englishLikeText(20000, 7);
    const ParsedBlock p = parse(encoded(input));
    int sum = 0;
    for (char c : input) sum ^= static_cast<std::uint8_t>(c);
    EXPECT_EQ(p.check, sum);
    EXPECT_EQ(p.outLen, input.size());
    ASSERT_EQ(static_cast<int>(p.pairs.size()), p.n);
    EXPECT_TRUE(std::is_sorted(p.pairs.begin(), p.pairs.end()));
    // A prefix code with every leaf used: the lengths fill the code space exactly.
    double kraft = 0;
    for (auto [value, length] : p.pairs) kraft += std::ldexp(1.0, -length);
    EXPECT_DOUBLE_EQ(kraft, 1.0);
}

TEST_F(HuffmanCodec, AllByteValuesGiveN256AndRoundTrip) {
    QByteArray input = randomBytes(50000, 11);
    for (int v = 0; v < 256; ++v) input.append(static_cast<char>(v));
    QByteArray a = encoded(input);
    ASSERT_TRUE(a.startsWith("HE3\r"));
    EXPECT_EQ(parse(a).n, 256);
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    EXPECT_EQ(a, input);
    EXPECT_EQ(state().ErrorCode, 0);
}

// --- Round trips against the reference packing ---------------------------------------------

// Value i occurs Fibonacci(i) times: the deepest possible tree for its size, with codes far
// longer than the decoder's 12-bit table.
QByteArray fibonacciInput(int values, std::uint32_t seed) {
    QByteArray out;
    std::uint64_t a = 1, b = 1;
    for (int v = 0; v < values; ++v) {
        out.append(QByteArray(static_cast<qsizetype>(a), static_cast<char>(v * 7 + 1)));
        std::tie(a, b) = std::make_pair(b, a + b);
    }
    std::mt19937 rng(seed);
    std::shuffle(out.begin(), out.end(), rng);
    return out;
}

TEST_F(HuffmanCodec, DataBitsMatchTheReferencePackingForShallowAndDeepTrees) {
    // Short and long inputs take the per-value and the per-pair tables; the deep trees need
    // one to eight codes between two flushes of the bit buffer.
    const std::vector<QByteArray> inputs = {
        englishLikeText(123457, 1), englishLikeText(20001, 1), randomBytes(40000, 2),
        randomBytes(1200001, 2), fibonacciInput(20, 3), fibonacciInput(26, 4),
        fibonacciInput(30, 4), QByteArray("xy") + QByteArray(30001, 'x'),
        QByteArray("xy") + QByteArray(33, 'x')};
    for (const QByteArray& input : inputs) {
        const ParsedBlock p = parse(encoded(input));
        std::size_t longest = 0;
        for (const auto& [v, code] : p.codes) longest = std::max(longest, code.size());
        EXPECT_EQ(p.data, referencePack(input, p.codes)) << "longest code " << longest;
    }
}

TEST_F(HuffmanCodec, RoundTripsOfManySizesAndShapes) {
    std::vector<QByteArray> inputs = {bytes({0, 1}), bytes({255, 0, 255}), fibonacciInput(31, 5),
                                      englishLikeText(1 << 20, 6), randomBytes(777777, 7)};
    for (qsizetype n : {2, 3, 7, 8, 9, 15, 16, 17, 63, 64, 65, 9999, 10000, 10001, 20017})
        inputs.push_back(englishLikeText(n, static_cast<std::uint32_t>(n)));
    for (const QByteArray& input : inputs) {
        QByteArray a = encoded(input);
        ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk()) << input.size();
        EXPECT_EQ(a, input) << input.size();
    }
    EXPECT_EQ(state().ErrorCode, 0);
}

TEST_F(HuffmanCodec, DecodingIgnoresBytesAfterTheBlock) {
    const QByteArray input = englishLikeText(30000, 8);
    QByteArray a = encoded(input);
    const qsizetype len = a.size();
    a += randomBytes(100, 9);
    ASSERT_TRUE(HuffmanDecode(a, len).isOk());
    EXPECT_EQ(a, input);
}

TEST_F(HuffmanCodec, HandMadeBlockDecodesAndIgnoresBitsAfterTheLastValue) {
    // Codes: 'p' 0, 'q' 10, 'r' 11; data "q p r r p" = 10 0 11 11 0.
    QByteArray a = handMadeBlock('q', 5, {{'p', "0"}, {'q', "10"}, {'r', "11"}},
                                 "100111101111");  // bits after the fifth value are ignored
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    EXPECT_EQ(a, "qprrp");
    EXPECT_EQ(state().ErrorCode, 0);
}

TEST_F(HuffmanCodec, LaterPairForTheSameValueOverridesTheEarlierOne) {
    // 'p' first claims 5 bits, then 1; the code bits are read with the final lengths:
    // 'p' 0, 'q' 1 (0b10), data 0 1 0 (0b010).
    QByteArray a = QByteArray("HE3\r") +
                   bytes({'q', 3, 0, 0, 0, 3, 0, 'p', 5, 'q', 1, 'p', 1, 0x02, 0x02});
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    EXPECT_EQ(a, "pqp");
    EXPECT_EQ(state().ErrorCode, 0);
}

// --- Damaged blocks -----------------------------------------------------------------------

TEST_F(HuffmanCodec, MissingIdentificationGivesTheIdentificationError) {
    const QByteArray good = encoded(englishLikeText(500, 10));
    const std::vector<QByteArray> blocks = {
        QByteArray(), QByteArray("H"), QByteArray("HE3"), QByteArray("HE1\r12345678901"),
        QByteArray("HE9\r"), QByteArray("HEX\r"), "XE3\r" + good.mid(4), "HF3\r" + good.mid(4),
        "HE3\n" + good.mid(4), "he3\r" + good.mid(4)};
    for (const QByteArray& block : blocks) {
        QByteArray a = block;
        const Status s = HuffmanDecode(a, a.size());
        ASSERT_FALSE(s.isOk()) << block.left(4).toHex().constData();
        EXPECT_EQ(s.message(), kIdError);
        EXPECT_EQ(a, block);
    }
}

TEST_F(HuffmanCodec, DamagedBlocksEndInAnErrorAndLeaveTheArray) {
    const QByteArray good = handMadeBlock('p' ^ 'q', 2, {{'p', "0"}, {'q', "1"}}, "01");
    auto withLength = [&](std::int32_t len) {
        QByteArray b = good;
        for (int k = 0; k < 4; ++k) b[5 + k] = static_cast<char>((len >> (8 * k)) & 0xFF);
        return b;
    };
    auto withCount = [&](int n) {
        QByteArray b = good;
        b[9] = static_cast<char>(n & 0xFF);
        b[10] = static_cast<char>((n >> 8) & 0xFF);
        return b;
    };
    std::string longA(255, '0'), longB = "1" + std::string(254, '0');
    struct Case {
        const char* name;
        QByteArray block;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"header truncated", good.left(10), "header truncated"},
        {"no values", withCount(0), "number of codes out of range"},
        {"one value", withCount(1), "number of codes out of range"},
        {"257 values", withCount(257), "number of codes out of range"},
        {"negative count", withCount(-2), "number of codes out of range"},
        {"pairs cut", withCount(200), "code table truncated"},
        {"code bits cut", handMadeBlock(0, 0, {{1, longA}, {2, longB}}, "").left(40),
         "code bits truncated"},
        {"negative length", withLength(-1), "negative length"},
        {"length beyond data", withLength(9), "data ends before the stated length"},
        {"huge length", withLength(0x7FFFFFFF), "data ends before the stated length"},
        {"data runs out", handMadeBlock(0, 12, {{1, "0"}, {2, "10"}, {3, "11"}}, "1111111111"),
         "data ends before the stated length"},
        {"through a value", handMadeBlock(0, 1, {{1, "0"}, {2, "01"}}, "0"),
         "a code passes through a value"},
        {"value on inner node", handMadeBlock(0, 1, {{1, "01"}, {2, "0"}}, "0"),
         "a code ends on an inner node"},
        {"shared code", handMadeBlock(0, 1, {{1, "01"}, {2, "01"}}, "0"),
         "two values share one code"},
        {"no such code", handMadeBlock(0, 3, {{1, "0"}, {2, "10"}}, "01011"),
         "the data holds a bit sequence that is no code"},
        // Regression: the table-driven loop did not stop on such bits and never returned.
        {"no such code, long data",
         handMadeBlock(0, 100, {{1, "0"}, {2, "10"}},
                       std::string(40, '0') + "11" + std::string(150, '0')),
         "the data holds a bit sequence that is no code"},
        {"over 512 nodes", handMadeBlock(0, 1, {{1, longA}, {2, longB}, {3, "011"}}, "0"),
         "code tree over 512 nodes"},
    };
    for (const Case& c : cases) {
        QByteArray a = c.block;
        const Status s = HuffmanDecode(a, a.size());
        ASSERT_FALSE(s.isOk()) << c.name;
        EXPECT_EQ(s.message(), QStringLiteral("The compressed data is corrupt (%1)")
                                   .arg(QLatin1String(c.reason)))
            << c.name;
        EXPECT_EQ(a, c.block) << c.name;
    }
}

TEST_F(HuffmanCodec, TreeOfExactly511NodesIsAccepted) {
    const std::string longA(255, '0'), longB = "1" + std::string(254, '0');
    QByteArray a = handMadeBlock(1 ^ 2, 2, {{1, longA}, {2, longB}}, longA + longB);
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    EXPECT_EQ(a, bytes({1, 2}));
}

TEST_F(HuffmanCodec, LongCodeCutByTheEndOfTheDataIsAnError) {
    // A 200-bit code begins 1 bit into 13 bytes of data: the table probe leads into the tree
    // walk, which runs out of data.
    const std::string b = "1" + std::string(199, '0'), c = "1" + std::string(198, '0') + "1";
    QByteArray a = handMadeBlock(0, 20, {{1, "0"}, {2, b}, {3, c}}, "01" + std::string(100, '0'));
    const QByteArray before = a;
    const Status s = HuffmanDecode(a, a.size());
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.message(),
              QStringLiteral("The compressed data is corrupt (data ends before the stated length)"));
    EXPECT_EQ(a, before);
}

TEST_F(HuffmanCodec, BlockLengthOutsideTheArrayIsRefused) {
    QByteArray a = encoded("abcabc");
    const QByteArray before = a;
    EXPECT_FALSE(HuffmanDecode(a, -1).isOk());
    EXPECT_FALSE(HuffmanDecode(a, a.size() + 1).isOk());
    EXPECT_EQ(a, before);
}

TEST_F(HuffmanCodec, EveryTruncationAndByteChangeEndsCleanly) {
    const QByteArray input = englishLikeText(3000, 12);
    const QByteArray block = encoded(input);
    for (qsizetype len = 0; len < block.size(); ++len) {
        QByteArray a = block;
        // Every byte of a compressed block is needed, so every prefix is refused.
        EXPECT_FALSE(HuffmanDecode(a, len).isOk()) << len;
        EXPECT_EQ(a, block) << len;
    }
    for (qsizetype i = 0; i < std::min<qsizetype>(block.size(), 400); ++i) {
        for (int flip : {0x01, 0x80, 0xFF}) {
            QByteArray a = block;
            a[i] = static_cast<char>(a[i] ^ flip);
            const QByteArray damaged = a;
            state().ErrorCode = 0;
            const Status s = HuffmanDecode(a, a.size());
            if (!s.isOk()) {
                EXPECT_EQ(a, damaged);
            }
        }
    }
}

// --- Checksum -------------------------------------------------------------------------------

TEST_F(HuffmanCodec, AlteredChecksumSetsCodeFiveAndStillDeliversTheData) {
    const QByteArray input = englishLikeText(25000, 13);
    QByteArray a = encoded(input);
    a[4] = static_cast<char>(a[4] ^ 0x5A);
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    EXPECT_EQ(a, input);
    EXPECT_EQ(state().ErrorCode, 5);
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Compression checksum error (Error 5)"));
}

TEST_F(HuffmanCodec, DamagedDataBitIsCaughtByTheChecksum) {
    QByteArray a = handMadeBlock('p' ^ 'q', 2, {{'p', "0"}, {'q', "1"}}, "00");  // "pp"
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    EXPECT_EQ(a, "pp");
    EXPECT_EQ(state().ErrorCode, 5);
}

// --- Abort ----------------------------------------------------------------------------------

TEST_F(HuffmanCodec, AbortAtAnyStageOfEncodingLeavesTheArray) {
    const QByteArray input = englishLikeText(100000, 14);
    // 100 yields while counting, 10 for the checksum, 10 while packing.
    for (int at : {1, 50, 100, 101, 110, 111, 120}) {
        ModuleHarness h;
        h.abortAt(at);
        QByteArray a = input;
        HuffmanEncode(a, a.size());
        EXPECT_EQ(a, input) << at;
        EXPECT_TRUE(state().AbortFlag) << at;
        EXPECT_EQ(h.yields, at);
    }
    ModuleHarness h;
    QByteArray a = input;
    HuffmanEncode(a, a.size());
    EXPECT_EQ(h.yields, 120);
    EXPECT_TRUE(a.startsWith("HE3\r"));
}

TEST_F(HuffmanCodec, AbortAtAnyStageOfDecodingLeavesTheArray) {
    const QByteArray block = encoded(englishLikeText(400000, 15));
    ModuleHarness counting;
    QByteArray full = block;
    ASSERT_TRUE(HuffmanDecode(full, full.size()).isOk());
    const int total = counting.yields;
    ASSERT_GT(total, 40);
    for (int at : {1, total / 4, total / 2, total - 1, total}) {
        ModuleHarness h;
        h.abortAt(at);
        QByteArray a = block;
        EXPECT_TRUE(HuffmanDecode(a, a.size()).isOk());
        EXPECT_EQ(a, block) << at;
        EXPECT_TRUE(state().AbortFlag);
    }
}

// --- Progress and yields ----------------------------------------------------------------------

TEST_F(HuffmanCodec, EncodingDrawsItsPercentagesRoundedHalvesToEven) {
    const QByteArray input = englishLikeText(100000, 16);
    QByteArray a = input;
    HuffmanEncode(a, a.size());
    // Count 0..3 % (1.5 gives 2), checksum 3..6 % (4.5 gives 4), packing 6..50 %.
    const std::vector<int> expected = {1, 2, 3, 4, 5, 6, 10, 15, 19, 24, 28, 32, 37, 41, 46};
    EXPECT_EQ(harness.sink.drawn, expected);
    EXPECT_EQ(harness.yields, 120);
}

// Two equally likely values take one bit each, so the block's length is set by the input.
QByteArray oneBitBlockInput(qsizetype dataBytes) {
    QByteArray input = randomBytes(dataBytes * 8, 17);
    for (auto& c : input) c = (c & 1) ? 'b' : 'a';
    input[0] = 'a';
    input[1] = 'b';
    return input;
}

TEST_F(HuffmanCodec, DecodingDrawsDataThenChecksumProgressAndStepsBackOnce) {
    const QByteArray input = oneBitBlockInput(99984);  // block of 16 + 99984 = 100000 bytes
    QByteArray a = encoded(input);
    ASSERT_EQ(a.size(), 100000);
    harness.sink.drawn.clear();
    harness.yields = 0;
    state().LastProgress = 0;
    ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
    ASSERT_EQ(a, input);
    const std::vector<int>& d = harness.sink.drawn;
    ASSERT_GE(d.size(), 11u);
    // Block positions 10000, 20000, ... 100000: 50 %, 55 % ... 95 %.
    const std::vector<int> data(d.begin(), d.begin() + 10);
    EXPECT_EQ(data, (std::vector<int>{50, 55, 60, 65, 70, 75, 80, 85, 90, 95}));
    EXPECT_EQ(d[10], 50);
    EXPECT_TRUE(std::is_sorted(d.begin() + 10, d.end()));
    EXPECT_EQ(d.back(), 99);
    EXPECT_EQ(harness.yields, 10 + 80);  // 799872 output bytes: 80 checksum yields
}

TEST_F(HuffmanCodec, DecoderYieldsAtABlockPositionOnlyWhenItNeedsThatByte) {
    // Data starts at block index 16; block position 10000 is index 9999, data byte 9983.
    for (auto [outLen, dataYields] : {std::pair<qsizetype, int>{8 * 9983, 0}, {8 * 9983 + 1, 1}}) {
        ModuleHarness h;
        const QByteArray input = oneBitBlockInput(9984).left(outLen);
        QByteArray a = encoded(oneBitBlockInput(9984));
        h.yields = 0;
        // Rewrite the length field and checksum for the shorter output.
        for (int k = 0; k < 4; ++k) a[5 + k] = static_cast<char>((outLen >> (8 * k)) & 0xFF);
        int sum = 0;
        for (char c : input) sum ^= static_cast<std::uint8_t>(c);
        a[4] = static_cast<char>(sum);
        ASSERT_TRUE(HuffmanDecode(a, a.size()).isOk());
        EXPECT_EQ(a, input);
        EXPECT_EQ(state().ErrorCode, 0);
        EXPECT_EQ(h.yields, dataYields + 8) << outLen;
    }
}

// --- Texts ----------------------------------------------------------------------------------

TEST_F(HuffmanCodec, StringsRoundTripThroughTheCodePage) {
    const QString text = QStringLiteral("Gr\u00FC\u00DFe \u20AC 100 \u2013 caf\u00E9, caf\u00E9, caf\u00E9!");
    const QString packed = CompressString(text);
    EXPECT_TRUE(packed.startsWith(QStringLiteral("HE3\r")));
    const Result<QString> back = DecompressString(packed);
    ASSERT_TRUE(back.isOk());
    EXPECT_EQ(back.value(), text);

    const Result<QString> bad = DecompressString(QStringLiteral("not a block"));
    ASSERT_FALSE(bad.isOk());
    EXPECT_EQ(bad.message(), kIdError);
}

}  // namespace
