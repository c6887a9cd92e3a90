// The armoured text format: identification, round trips, a sample from an independent
// implementation, failure codes, cancelled runs and failures inside a run.
#include "crypto/text_crypto.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>
#include <stdexcept>
#include <tuple>

#include "crypto/base64_codec.h"
#include "crypto/cipher.h"
#include "crypto/error_codes.h"
#include "crypto/file_crypto.h"
#include "crypto/huffman_codec.h"
#include "crypto_files.h"
#include "module_guard.h"

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

QString sampleText(const char* name) {
    return QString::fromLatin1(test::readFile(test::sampleFile(name)));
}

class TextCryptoTest : public ::testing::Test {
protected:
    test::ModuleGuard guard;
};

TEST_F(TextCryptoTest, IdentificationByTheTrimmedMarkers) {
    const QString body = QStringLiteral("QUJD");
    const std::pair<QString, int> cases[] = {
        {kBegin + kVersion + body + kEnd, 1},
        {"\r\n \t" + kBegin + kVersion + body + kEnd + " \n", 1},
        {kBegin + "Version: KORVA v1.0.4\r\n" + body + kEnd, 2},
        {kBegin + kVersion + body, 3},
        {"x" + kBegin + kVersion + body + kEnd, 3},
        {kBegin.toLower() + kVersion + body + kEnd, 3},
        {kBegin + kEnd, 0},                   // both markers, under 77 characters
        {kBegin + kVersion + kEnd, 0},        // exactly 76
        {kBegin + kVersion + "A" + kEnd, 1},  // 77
        {"a" + kBegin + kVersion + body + kEnd + "b", 0},
        {kBegin.toLower() + kVersion + body + kEnd.toLower(), 0},
    };
    for (const auto& [text, kind] : cases)
        EXPECT_EQ(IdentifyCryptoText(text), kind) << text.toStdString();
    EXPECT_EQ(TrimWhiteSpace(" \t\r\nabc \x0b\f\n "), "abc \x0b\f");
}

TEST_F(TextCryptoTest, RoundTripsGiveTheTrimmedTextBack) {
    const QString plain =
        "  \r\nDear reader,\r\nthe meeting moves to 10:30.\r\nCaf\u00e9 \u20ac5\t\r\n";
    const QString armour = TextCrypto(plain, kKey, "pk");
    ASSERT_EQ(state().ErrorCode, 0);
    const QStringList lines = armour.split("\r\n");
    for (qsizetype i = 2; i + 2 < lines.size(); ++i) EXPECT_EQ(lines[i].size(), 60) << i;
    EXPECT_LE(lines[lines.size() - 2].size(), 60);
    EXPECT_NE(TextCrypto(plain, kKey, "pk"), armour);  // a new salt every time
    EXPECT_EQ(guard.sink.drawn.back(), 0);

    QString rewrapped = armour.mid(52, armour.size() - 76).remove("\r\n");
    for (qsizetype i = 17; i < rewrapped.size(); i += 20) rewrapped.insert(i, " \n\t");
    const QString inner = "before\r\n" + kBegin + kVersion + "QUJD" + kEnd + "\r\nafter";
    const std::pair<QString, QString> cases[] = {
        {armour, TrimWhiteSpace(plain)},
        {"\r\n " + kBegin + kVersion + rewrapped + kEnd + "\r\n", TrimWhiteSpace(plain)},
        {TextCrypto(inner, kKey, "pk"), inner},  // markers inside a plain text
        {TextCrypto(kBegin + kEnd, kKey, "pk"), TrimWhiteSpace(kBegin + kEnd)},
        {TextCrypto("z\u0142oty \u20ac", kKey, "pk"), "z?oty \u20ac"},  // outside the code page
    };
    for (const auto& [input, output] : cases) {
        EXPECT_EQ(TextCrypto(input, kKey, "pk"), output);
        EXPECT_EQ(state().ErrorCode, 0) << state().ErrorMessage.toStdString();
    }
    EXPECT_EQ(TextCrypto(sampleText("one_char__nopk.asc"), "Tr0ub4dor&3x", {}),
              sampleText("one_char.txt"));
}

TEST_F(TextCryptoTest, FailuresGiveTheTextBackWithTheirCode) {
    const QString armour = TextCrypto("versioned", kKey, {});
    const QString sample = sampleText("one_char__nopk.asc");
    QByteArray badSum = QByteArray(3000, 'a') + QByteArray(1000, 'b');
    HuffmanEncode(badSum, badSum.size());
    badSum[4] = static_cast<char>(badSum[4] ^ 1);
    QString cut = armourFor("HE0\rall right");
    cut.remove(60, 30);
    const std::tuple<QString, QString, QString, int> cases[] = {
        // text, key, private key, code
        {" \t\r\n  \r\n", "abc", {}, 1},  // the text is checked before the key
        {"hello", "xyxyxy", {}, 3},
        {QString(armour).replace("v1.0.3", "v1.0.4"), kKey, {}, 10},
        {"> " + armour, kKey, {}, 30},
        {armour.chopped(3), kKey, {}, 30},
        {QString(armour).replace("END OF", "End of"), kKey, {}, 30},
        {sample, "Tr0ub4dor&3y", {}, 33},
        {sample, "Tr0ub4dor&3x", "pk", 33},
        {armourFor("HE0\rall right", 1), kKey, {}, 33},  // check value
        {armourFor("HX0\rnot a block"), kKey, {}, 33},
        {armourFor("HE"), kKey, {}, 33},
        {kBegin + kVersion + "!!!!" + kEnd, kKey, {}, 33},  // empty payload
        {kBegin + kVersion + "QUJD" + kEnd, kKey, {}, 33},  // salt beyond the payload
        {cut, kKey, {}, 33},
        {armourFor(badSum), kKey, {}, 5},
    };
    for (const auto& [text, key, privateKey, code] : cases) {
        EXPECT_EQ(TextCrypto(text, key, privateKey), text);
        EXPECT_EQ(state().ErrorCode, code) << text.toStdString();
        EXPECT_EQ(state().ErrorMessage, errorMessageFor(code, {}));
    }
    EXPECT_EQ(TextCrypto(armourFor("HE0\rall right"), kKey, {}), "all right");
}

TEST_F(TextCryptoTest, CancellingGivesTheTextBack) {
    QString noisy;
    for (int i = 0; i < 30000; ++i) noisy += QChar(u'!' + (i * 7919) % 90);
    const QString armour = TextCrypto(noisy, kKey, {});
    // Text, the yield that aborts (0: the first one of the cipher), code.
    const std::tuple<QString, int, int> cases[] = {
        {QString(60000, 'e') + "xyz", 1, 11}, {armour, 1, 21}, {noisy, 0, 11}};
    for (const auto& [text, abortAt, code] : cases) {
        guard.restart(abortAt);
        if (abortAt == 0)  // 56 % and more are drawn only while enciphering; the last case
            setYieldHook([] { state().AbortFlag = state().LastProgress >= 56; });
        EXPECT_EQ(TextCrypto(text, kKey, {}), text);
        EXPECT_EQ(state().ErrorCode, code);
    }
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
    QTemporaryDir dir;
    const QString src = dir.filePath("a.txt");
    test::writeAll(src, "file content");
    EXPECT_EQ(FileCrypto(src, src, kKey, {}), src);
    EXPECT_EQ(state().ErrorMessage, "File error: display gone (Error 12)");
    state().sink = &guard.sink;
}

}  // namespace
}  // namespace vx::korva
