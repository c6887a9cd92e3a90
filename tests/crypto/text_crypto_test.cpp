// The armoured text format: identification, round trips, a sample from an independent
// implementation, failure codes, cancelled runs and failures inside a run.
#include "crypto/text_crypto.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "crypto/base64_codec.h"
#include "crypto/cipher.h"
#include "crypto/error_codes.h"
#include "crypto/file_crypto.h"
#include "crypto/huffman_codec.h"
#include "crypto_files.h"

namespace vx::korva {
namespace {

const QString kKey = QStringLiteral("Text Key 42");
const QString kBegin = QStringLiteral("--- BEGIN KORVA MESSAGE ---\r\n");
const QString kVersion = QStringLiteral("Version: KORVA v1.0.3\r\n");
const QString kEnd = QStringLiteral("\r\n--- END OF MESSAGE ---");

// An armour around a payload made by hand: salt, block and check value, enciphered.
QString armourFor(const QByteArray& block, int checkDelta = 0) {
    QByteArray p = QByteArray(1, 48) + QByteArray(47, 'k') + block;
    p.append(static_cast<char>('k' + checkDelta));
    p.append('k');
    Cipher c("Text Key 42", {});
    c.encrypt(reinterpret_cast<uint8_t*>(p.data()), size_t(p.size()));
    return kBegin + kVersion + QLatin1String(Base64Encode(p, 60)) + kEnd;
}

class TextCryptoTest : public test::CryptoFolder {};

TEST_F(TextCryptoTest, IdentificationByTheTrimmedMarkers) {
    const QString body = QStringLiteral("QUJD");
    // clang-format off
    const std::pair<QString, int> cases[] = {
        {kBegin + kVersion + body + kEnd, 1},
        {"\r\n \t" + kBegin + kVersion + body + kEnd + " \n", 1},
        {kBegin + "Version: KORVA v1.0.4\r\n" + body + kEnd, 2}, {kBegin + kVersion + body, 3},
        {"x" + kBegin + kVersion + body + kEnd, 3},
        {"a" + kBegin + kVersion + body + kEnd + "b", 0},
        {kBegin + kVersion + kEnd, 0}, {kBegin + kVersion + "A" + kEnd, 1}};  // 76, 77 characters
    // clang-format on
    for (const auto& [text, kind] : cases)
        EXPECT_EQ(IdentifyCryptoText(text), kind) << text.toStdString();
    EXPECT_EQ(TrimWhiteSpace(" \t\r\nabc \x0b\f\n "), "abc \x0b\f");
}

TEST_F(TextCryptoTest, RoundTripsGiveTheTrimmedTextBack) {
    const QString plain =
        "  \r\nDear reader,\r\nthe meeting moves to 10:30.\r\nCaf\u00e9 \u20ac5\t\r\n";
    const QString armour = TextCrypto(plain, kKey, "pk");
    ASSERT_EQ(state().ErrorCode, 0);
    EXPECT_EQ(armour.section("\r\n", 2, 2).size(), 60);  // lines of 60 characters
    EXPECT_EQ(guard.sink.drawn.back(), 0);

    // Blanks and line breaks around the armour and inside its body are skipped.
    const QString body = armour.mid(52, armour.size() - 76).replace("\r\n", " \r\n\t");
    const QString rewrapped = kBegin + kVersion + body + kEnd;
    EXPECT_EQ(TextCrypto(" \n" + rewrapped, kKey, "pk"), TrimWhiteSpace(plain));
    EXPECT_EQ(state().ErrorCode, 0) << state().ErrorMessage.toStdString();
    const QString outside = TextCrypto("z\u0142oty \u20ac", kKey, "pk");  // not in the code page
    EXPECT_EQ(TextCrypto(outside, kKey, "pk"), "z?oty \u20ac");
    const QString sample =
        QString::fromLatin1(test::readFile(test::sampleFile("one_char__nopk.asc")));
    EXPECT_EQ(TextCrypto(sample, "Tr0ub4dor&3x", {}),
              QString::fromLatin1(test::readFile(test::sampleFile("one_char.txt"))));
}

TEST_F(TextCryptoTest, FailuresAndCancelledRunsGiveTheTextBackWithTheirCode) {
    const QString armour = TextCrypto("versioned", kKey, {});
    QString noisy;  // 90 values: compressing its 30000 bytes takes 30 + 3 + 3 yields
    for (int i = 0; i < 30000; ++i) noisy += QChar(u'!' + (i * 7919) % 90);
    const QString noisyArmour = TextCrypto(noisy, kKey, {});
    QByteArray badSum = QByteArray(3000, 'a') + QByteArray(1000, 'b');
    HuffmanEncode(badSum, badSum.size());
    badSum[4] = static_cast<char>(badSum[4] ^ 1);
    // clang-format off
    const struct { QString text, key; int code, abortAt = 0; } cases[] = {  // abortAt: a yield
        {" \t\r\n  \r\n", "abc", 1},  // the text is checked before the key
        {"hello", "xyxyxy", 3}, {QString(armour).replace("v1.0.3", "v1.0.4"), kKey, 10},
        {"> " + armour, kKey, 30}, {QString(armour).replace("END OF", "End of"), kKey, 30},
        {armourFor("HE0\rall right", 1), kKey, 33},  // check value (as with a wrong key)
        {armourFor("HE"), kKey, 33},  // no block
        {kBegin + kVersion + "!!!!" + kEnd, kKey, 33},  // empty payload
        {kBegin + kVersion + "QUJD" + kEnd, kKey, 33},  // salt beyond the payload
        {armourFor(badSum), kKey, 5},
        {noisy, kKey, 11, 1}, {noisy, kKey, 11, 37}, {noisyArmour, kKey, 21, 1}};
    // clang-format on
    for (const auto& [text, key, code, abortAt] : cases) {
        guard.restart(abortAt);
        EXPECT_EQ(TextCrypto(text, key, {}), text);
        EXPECT_EQ(state().ErrorCode, code) << text.toStdString();
        EXPECT_EQ(state().ErrorMessage, errorMessageFor(code, {}));
    }
    guard.restart();
    EXPECT_EQ(TextCrypto(armourFor("HE0\rall right"), kKey, {}), "all right");
}

// A display that fails while a run draws its progress, as a run-time fault inside a run would.
class BrokenSink : public ProgressSink {
    void drawProgress(int percent) override {
        if (percent > 0) throw std::runtime_error("display gone");
    }
};

// Regression: every failure inside a run was reported as "Out of memory".
TEST_F(TextCryptoTest, AFailureInsideARunIsReportedAsWhatItWas) {
    const QString armour = TextCrypto(QString(30000, 'w') + "x", kKey, {});
    BrokenSink broken;
    state().sink = &broken;
    EXPECT_EQ(TextCrypto("plain text", kKey, {}), "plain text");
    EXPECT_EQ(state().ErrorMessage, "File error: display gone (Error 12)");
    EXPECT_EQ(TextCrypto(armour, kKey, {}), armour);
    EXPECT_EQ(state().ErrorCode, 33);
    EXPECT_EQ(state().FileErrorText, "display gone");
    const QString src = make("a.txt", "file content");
    EXPECT_EQ(FileCrypto(src, src, kKey, {}), src);
    EXPECT_EQ(state().ErrorMessage, "File error: display gone (Error 12)");
    state().sink = &guard.sink;
}

}  // namespace
}  // namespace vx::korva
