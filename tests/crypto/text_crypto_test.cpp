// The armoured text format: identification, round trips, wrong keys, damaged armour and
// cancelled runs.
#include "crypto/text_crypto.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "crypto/base64_codec.h"
#include "crypto/cipher.h"
#include "crypto/huffman_codec.h"
#include "crypto/korva_state.h"
#include "recording_sink.h"

namespace vx::korva {
namespace {

const QString kKey = QStringLiteral("Text Key 42");
const QString kBegin = QStringLiteral("--- BEGIN KORVA MESSAGE ---\r\n");
const QString kVersion = QStringLiteral("Version: KORVA v1.0.3\r\n");
const QString kEnd = QStringLiteral("\r\n--- END OF MESSAGE ---");

// An armour around a payload made by hand: salt, block and check value, enciphered.
QString armourFor(const QByteArray& block, int checkDelta = 0) {
    QByteArray salt(48, 'k');
    salt[0] = 48;
    QByteArray p = salt + block;
    p.append(static_cast<char>(salt[46] + checkDelta));
    p.append(salt[47]);
    Cipher c;
    c.init("Text Key 42", "");
    c.encrypt(reinterpret_cast<uint8_t*>(p.data()), size_t(p.size()));
    return kBegin + kVersion + QLatin1String(Base64Encode(p, 60)) + kEnd;
}

class TextCryptoTest : public ::testing::Test {
protected:
    // Runs TextCrypto and expects it to fail with code, giving the input back.
    void expectFailure(int code, const QString& input, const QString& key = kKey,
                       const QString& privateKey = QString()) {
        EXPECT_EQ(TextCrypto(input, key, privateKey), input);
        EXPECT_EQ(state().ErrorCode, code);
    }
    test::ModuleGuard guard;
};

TEST_F(TextCryptoTest, EmptyTextAndBadKey) {
    expectFailure(1, QStringLiteral(" \t\r\n  \r\n"), QStringLiteral("abc"));  // text first
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Cannot continue without text (Error 1)"));
    expectFailure(1, QString());
    expectFailure(3, QStringLiteral("hello"), QStringLiteral("xyxyxy"));
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Key too small/is repeating (Error 3)"));
}

TEST_F(TextCryptoTest, TrimRemovesOnlyBlanksTabsAndLineBreaks) {
    EXPECT_EQ(TrimWhiteSpace(QStringLiteral(" \t\r\nabc \x0b\f\n ")), QStringLiteral("abc \x0b\f"));
    EXPECT_EQ(TrimWhiteSpace(QStringLiteral("\r\n\t ")), QString());
}

TEST_F(TextCryptoTest, IdentificationByMarkers) {
    const QString body = QStringLiteral("QUJD");
    EXPECT_EQ(IdentifyCryptoText(kBegin + kVersion + body + kEnd), 1);
    EXPECT_EQ(IdentifyCryptoText(QStringLiteral("\r\n  ") + kBegin + kVersion + body + kEnd +
                                 QStringLiteral(" \n")), 1);
    EXPECT_EQ(IdentifyCryptoText(kBegin + QStringLiteral("Version: KORVA v1.0.4\r\n") + body +
                                 kEnd), 2);
    EXPECT_EQ(IdentifyCryptoText(kBegin + kVersion + body), 3);
    EXPECT_EQ(IdentifyCryptoText(QStringLiteral("x") + kBegin + kVersion + body + kEnd), 3);
    EXPECT_EQ(IdentifyCryptoText(kBegin + kEnd), 0);  // both markers, under 77 characters
    EXPECT_EQ(IdentifyCryptoText(kBegin + kVersion + kEnd), 0);  // exactly 76
    EXPECT_EQ(IdentifyCryptoText(kBegin + kVersion + QStringLiteral("A") + kEnd), 1);  // 77
    EXPECT_EQ(IdentifyCryptoText(QStringLiteral("a") + kBegin + kVersion + body + kEnd +
                                 QStringLiteral("b")), 0);
    EXPECT_EQ(IdentifyCryptoText(kBegin.toLower() + kVersion + body + kEnd), 3);
    EXPECT_EQ(IdentifyCryptoText(kBegin.toLower() + kVersion + body + kEnd.toLower()), 0);
}

TEST_F(TextCryptoTest, RoundTripReturnsTheTrimmedText) {
    const QString plain = QStringLiteral("  \r\nDear reader,\r\nthe meeting moves to 10:30.\r\n"
                                         "Caf\u00e9 \u20ac5 \u00ff\t\r\n\r\n");
    const QString armour = TextCrypto(plain, kKey, QStringLiteral("pk"));
    ASSERT_EQ(state().ErrorCode, 0);
    EXPECT_TRUE(armour.startsWith(kBegin + kVersion));
    EXPECT_TRUE(armour.endsWith(kEnd));
    const QStringList lines = armour.split(QStringLiteral("\r\n"));
    for (qsizetype i = 2; i + 2 < lines.size(); ++i) EXPECT_EQ(lines[i].size(), 60) << i;
    EXPECT_LT(lines[lines.size() - 2].size(), 61);

    EXPECT_EQ(TextCrypto(armour, kKey, QStringLiteral("pk")), TrimWhiteSpace(plain));
    EXPECT_EQ(state().ErrorCode, 0);
    EXPECT_EQ(guard.sink.drawn.back(), 0);
}

TEST_F(TextCryptoTest, PayloadIsSaltBlockAndCheck) {
    const QString armour = TextCrypto(QStringLiteral("x"), kKey, QString());
    const QString body = armour.mid(52, armour.size() - 52 - 24);
    QByteArray p = Base64Decode(body.toLatin1());
    Cipher c;
    c.init("Text Key 42", "");
    c.decrypt(reinterpret_cast<const uint8_t*>(p.constData()), reinterpret_cast<uint8_t*>(p.data()),
              size_t(p.size()));
    const int L = static_cast<uint8_t>(p[0]);
    ASSERT_GE(L, 32);
    EXPECT_EQ(p.mid(L, p.size() - L - 2), QByteArray("HE0\rx"));  // one character is stored
    EXPECT_EQ(p.right(2), p.mid(L - 2, 2));
}

TEST_F(TextCryptoTest, ArmourAroundBlanksDecodesAndOtherLeadingTextDoesNot) {
    const QString armour = TextCrypto(QStringLiteral("message"), kKey, QString());
    EXPECT_EQ(TextCrypto(QStringLiteral("\r\n \t") + armour + QStringLiteral("\r\n\r\n"), kKey,
                         QString()),
              QStringLiteral("message"));
    expectFailure(30, QStringLiteral("> ") + armour);
    EXPECT_EQ(state().ErrorMessage, QStringLiteral(
        "Crypto header or footer format incomplete/contains errors (Error 30)"));
    expectFailure(30, armour.left(armour.size() - 3));
}

TEST_F(TextCryptoTest, MarkersInsidePlainTextOrEmptyArmourAreEnciphered) {
    const QString inner = QStringLiteral("before\r\n") + kBegin + kVersion +
                          QStringLiteral("QUJD") + kEnd + QStringLiteral("\r\nafter");
    const QString a = TextCrypto(inner, kKey, QString());
    ASSERT_EQ(state().ErrorCode, 0);
    EXPECT_TRUE(a.startsWith(kBegin));
    EXPECT_EQ(TextCrypto(a, kKey, QString()), inner);

    const QString shortArmour = kBegin + kEnd;
    const QString b = TextCrypto(shortArmour, kKey, QString());
    ASSERT_EQ(state().ErrorCode, 0);
    EXPECT_EQ(TextCrypto(b, kKey, QString()), TrimWhiteSpace(shortArmour));
}

TEST_F(TextCryptoTest, VersionAndMarkerChanges) {
    const QString armour = TextCrypto(QStringLiteral("versioned"), kKey, QString());
    QString v = armour;
    v.replace(QStringLiteral("v1.0.3"), QStringLiteral("v1.0.4"));
    expectFailure(10, v);
    EXPECT_EQ(state().ErrorMessage,
              QStringLiteral("Crypto version unknown/contains errors (Error 10)"));
    QString lowerEnd = armour;
    lowerEnd.replace(QStringLiteral("END OF"), QStringLiteral("End of"));
    expectFailure(30, lowerEnd);
}

TEST_F(TextCryptoTest, WrongKeyOrPrivateKeyFails) {
    const QString armour = TextCrypto(QStringLiteral("for your eyes only"), kKey,
                                      QStringLiteral("pk"));
    expectFailure(33, armour, QStringLiteral("Text Key 43"), QStringLiteral("pk"));
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Failed decoding the text (Error 33)"));
    expectFailure(33, armour, kKey, QStringLiteral("pK"));
    expectFailure(33, armour, kKey, QString());
    for (int i = 0; i < 100; ++i) {
        TextCrypto(armour, QStringLiteral("other key %1").arg(i), QString());
        ASSERT_NE(state().ErrorCode, 0);
    }
}

TEST_F(TextCryptoTest, RewrappedBodyStillDecodes) {
    const QString plain = QString(500, QLatin1Char('w')) + QStringLiteral(" and more words");
    const QString armour = TextCrypto(plain, kKey, QString());
    QString body = armour.mid(52, armour.size() - 76);
    body.remove(QStringLiteral("\r\n"));
    QString wrapped;
    for (qsizetype i = 0; i < body.size(); i += 17) wrapped += body.mid(i, 17) + QStringLiteral(" \n\t");
    EXPECT_EQ(TextCrypto(kBegin + kVersion + wrapped + kEnd, kKey, QString()), plain);
}

TEST_F(TextCryptoTest, EachEncodingDiffers) {
    const QString a = TextCrypto(QStringLiteral("same"), kKey, QString());
    const QString b = TextCrypto(QStringLiteral("same"), kKey, QString());
    EXPECT_NE(a, b);
    EXPECT_EQ(TextCrypto(b, kKey, QString()), QStringLiteral("same"));
}

TEST_F(TextCryptoTest, DamagedBodies) {
    const QString good = armourFor(QByteArray("HE0\rall right"));
    EXPECT_EQ(TextCrypto(good, kKey, QString()), QStringLiteral("all right"));
    expectFailure(33, armourFor(QByteArray("HE0\rall right"), 1));  // check value
    expectFailure(33, armourFor(QByteArray("HX0\rnot a block")));   // identification
    expectFailure(33, armourFor(QByteArray("HE")));                 // shorter than one
    expectFailure(33, kBegin + kVersion + QStringLiteral("!!!!") + kEnd);  // empty payload
    expectFailure(33, kBegin + kVersion + QStringLiteral("QUJD") + kEnd);  // L beyond payload
    QString cut = good;
    cut.remove(60, 30);
    expectFailure(33, cut);

    QByteArray block = QByteArray(3000, 'a') + QByteArray(1000, 'b');
    HuffmanEncode(block, block.size());
    ASSERT_TRUE(block.startsWith("HE3\r"));
    block[4] = static_cast<char>(block[4] ^ 1);
    expectFailure(5, armourFor(block));
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Compression checksum error (Error 5)"));
}

TEST_F(TextCryptoTest, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    const QString armour = TextCrypto(QStringLiteral("z\u0142oty \u20ac"), kKey, QString());
    EXPECT_EQ(TextCrypto(armour, kKey, QString()), QStringLiteral("z?oty \u20ac"));
}

TEST_F(TextCryptoTest, AbortGivesTheInputBack) {
    const QString plain = QString(60000, QLatin1Char('e')) + QStringLiteral("xyz");
    guard.abortAtYield(1);  // compression
    expectFailure(11, plain);
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Encoding has been aborted by user"));

    setYieldHook([] {
        if (state().LastProgress >= 56) state().AbortFlag = true;  // ciphering only
    });
    const QString noisy = [] {
        QString s;
        for (int i = 0; i < 30000; ++i) s += QChar(u'!' + (i * 7919) % 90);
        return s;
    }();
    expectFailure(11, noisy);

    setYieldHook({});
    const QString armour = TextCrypto(noisy, kKey, QString());
    ASSERT_EQ(state().ErrorCode, 0);
    guard.yields = 0;
    guard.abortAtYield(1);  // deciphering
    expectFailure(21, armour);
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Decoding has been aborted by user"));
}

}  // namespace
}  // namespace vx::korva
