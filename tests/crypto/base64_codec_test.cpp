// Base64 codec: line breaks after the group that reaches the line length, the tail after
// everything, comparison with the system's base64 tool, and a decoder that skips foreign
// characters and takes back one byte for each "=" in the last two places of a group.
#include "crypto/base64_codec.h"

#include <QProcess>
#include <gtest/gtest.h>

#include "codec_test_support.h"

using namespace vx::korva;
using vx::korva::testing::randomBytes;

namespace {

// Inserts CR LF into plain Base64 after every ceil(lineLength / 4) full groups; the padded
// tail (if any) follows after everything.
QByteArray withLineBreaks(const QByteArray& plain, int lineLength, bool hasTail) {
    const qsizetype perLine = 4 * ((std::max(lineLength, 10) + 3) / 4);
    const qsizetype body = plain.size() - (hasTail ? 4 : 0);
    QByteArray out;
    for (qsizetype i = 0; i < body; i += perLine) {
        const QByteArray line = plain.mid(i, std::min(perLine, body - i));
        out += line;
        if (line.size() == perLine) out += "\r\n";
    }
    if (hasTail) out += plain.right(4);
    return out;
}

QByteArray systemBase64(const QByteArray& data) {
    QProcess p;
    p.start(QStringLiteral("base64"), {QStringLiteral("-w"), QStringLiteral("0")});
    if (!p.waitForStarted()) return "(base64 did not start)";
    p.write(data);
    p.closeWriteChannel();
    p.waitForFinished();
    return p.readAllStandardOutput();
}

TEST(Base64Codec, FortyFiveBytesMakeOneFullLine) {
    const QByteArray data = randomBytes(45, 1);
    const QByteArray text = Base64Encode(data, 60);
    ASSERT_EQ(text.size(), 62);
    EXPECT_EQ(text.left(60), data.toBase64());
    EXPECT_EQ(text.right(2), "\r\n");
}

TEST(Base64Codec, FortySixBytesPutTheTailOnASecondLine) {
    const QByteArray data = randomBytes(46, 2);
    const QByteArray text = Base64Encode(data, 60);
    const QByteArray plain = data.toBase64();
    EXPECT_EQ(text, plain.left(60) + "\r\n" + plain.mid(60));
    EXPECT_TRUE(text.endsWith("=="));
    EXPECT_EQ(text.size(), 66);
}

TEST(Base64Codec, SmallInputsAndTails) {
    struct Case {
        QByteArray data;
        QByteArray text;
    };
    const Case cases[] = {{"", ""},         {"A", "QQ=="},     {"AB", "QUI="},
                          {"ABC", "QUJD"},  {"ABCD", "QUJDRA=="}, {"\xff\xfe\xfd", "//79"},
                          {QByteArray(3, '\0'), "AAAA"}};
    for (const Case& c : cases) {
        EXPECT_EQ(Base64Encode(c.data, 60), c.text) << c.data.toHex().constData();
        EXPECT_EQ(Base64Decode(c.text), c.data) << c.text.constData();
    }
}

TEST(Base64Codec, LineLengthBelowTenActsAsTen) {
    const QByteArray data = randomBytes(20, 3);  // 6 groups and a tail of 2
    const QByteArray plain = data.toBase64();
    const QByteArray expected =
        plain.mid(0, 12) + "\r\n" + plain.mid(12, 12) + "\r\n" + plain.right(4);
    for (int length : {-5, 0, 1, 9, 10, 11, 12})
        EXPECT_EQ(Base64Encode(data, length), expected) << length;
    EXPECT_EQ(Base64Encode(data, 13), plain.left(16) + "\r\n" + plain.mid(16, 8) + plain.right(4));
}

TEST(Base64Codec, TailFollowsTheLineBreakOfTheLastFullLine) {
    const QByteArray data = randomBytes(28, 4);  // 9 groups: three full lines of 12, tail of 1
    const QByteArray text = Base64Encode(data, 10);
    EXPECT_TRUE(text.endsWith("\r\n" + data.toBase64().right(4)));
    EXPECT_EQ(text.size(), 3 * 14 + 4);
    const QByteArray whole = Base64Encode(randomBytes(30, 4), 20);  // 10 groups, 2 lines
    EXPECT_TRUE(whole.endsWith("\r\n"));
    EXPECT_EQ(whole.count("\r\n"), 2);
}

TEST(Base64Codec, MatchesTheSystemToolWithLineBreaksInserted) {
    if (systemBase64("x") != "eA==") GTEST_SKIP() << "no base64 tool";
    for (qsizetype n : {0, 1, 2, 3, 44, 45, 46, 47, 1000, 4097, 65537}) {
        const QByteArray data = randomBytes(n, static_cast<std::uint32_t>(n + 5));
        const QByteArray plain = systemBase64(data);
        ASSERT_EQ(plain.size(), (n + 2) / 3 * 4);
        for (int length : {10, 17, 60, 64, 76, 200})
            EXPECT_EQ(Base64Encode(data, length), withLineBreaks(plain, length, n % 3 != 0))
                << n << " " << length;
    }
}

TEST(Base64Codec, LargeRandomDataRoundTripsAtEveryLineLength) {
    for (int length : {10, 60, 76, 1000, 32767}) {
        const QByteArray data = randomBytes(300001 + length, static_cast<std::uint32_t>(length));
        const QByteArray text = Base64Encode(data, length);
        EXPECT_EQ(Base64Decode(text), data) << length;
        QByteArray plain = text;
        plain.replace("\r\n", "");
        EXPECT_EQ(plain, data.toBase64()) << length;
    }
}

TEST(Base64Codec, DecoderSkipsLineBreaksBlanksAndForeignCharacters) {
    const QByteArray data = randomBytes(5000, 6);
    const QByteArray text = Base64Encode(data, 60);
    std::mt19937 rng(7);
    static const char kForeign[] = " \t\r\n\0-_.:*~\"\x80\xc3\xff";
    const QByteArray foreign(kForeign, sizeof(kForeign) - 1);
    QByteArray noisy;
    for (char c : text) {
        while (rng() % 4 == 0) noisy.append(foreign[static_cast<int>(rng() % foreign.size())]);
        noisy.append(c);
    }
    EXPECT_EQ(Base64Decode(noisy), data);
    EXPECT_EQ(Base64Decode(" Q U J D \r\n"), "ABC");
}

TEST(Base64Codec, ShortAndIncompleteTextsDecodeToLess) {
    EXPECT_EQ(Base64Decode(""), "");
    EXPECT_EQ(Base64Decode("Q"), "");
    EXPECT_EQ(Base64Decode("QUJ"), "");
    EXPECT_EQ(Base64Decode("QUJDQQ"), "ABC");    // incomplete last group dropped
    EXPECT_EQ(Base64Decode("QUJDQUI"), "ABC");
    EXPECT_EQ(Base64Decode("QU\r\nJ"), "");      // 5 characters, 3 symbols
    EXPECT_EQ(Base64Decode("!!!!!!!!"), "");     // no symbols at all
}

TEST(Base64Codec, EachPadInTheLastTwoPlacesTakesBackOneByte) {
    EXPECT_EQ(Base64Decode("QQ=="), "A");
    EXPECT_EQ(Base64Decode("QUI="), "AB");
    // "=" third and a symbol fourth: only the third byte is taken back.
    EXPECT_EQ(Base64Decode("QQ=A"), QByteArray("A\0", 2));
    // "=" in the first or second place is the value 64, whose bits fall outside the byte.
    EXPECT_EQ(Base64Decode("=QUJ"), QByteArray("\x01\x05\x09", 3));
    EXPECT_EQ(Base64Decode("Q=JD"), QByteArray("\x40\x02\x43", 3));
    // Groups go on after a padded group.
    EXPECT_EQ(Base64Decode("QQ==QUJD"), "AABC");
    EXPECT_EQ(Base64Decode("QQ==\r\nQUI="), "AAB");
}

}  // namespace
