// The cipher against a plain model of its definition, and the checkpoints of its bulk runs.
#include "crypto/cipher.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <vector>

#include "crypto/korva_state.h"
#include "recording_sink.h"
#include "reference_cipher.h"

namespace vx::korva {
namespace {

using test::ModuleGuard;
using test::ReferenceCipher;

QByteArray randomBytes(QRandomGenerator& rng, qsizetype n) {
    QByteArray b(n, Qt::Uninitialized);
    for (auto& c : b) c = static_cast<char>(rng.bounded(256));
    return b;
}

struct KeyCase {
    QByteArray key, privateKey;
};

std::vector<KeyCase> keyCases() {
    QRandomGenerator rng(7);
    std::vector<KeyCase> cases = {
        {"abcde", ""},
        {"Secret key 1", "private"},
        {QByteArray(463, 'x') + "y", ""},  // a key as long as the first table
        {"\xff\xfe\xfd\xfc\xfb", "\xff"},
        {"short", QByteArray(40, '\x80')},
    };
    for (int i = 0; i < 20; ++i)
        cases.push_back({randomBytes(rng, 5 + rng.bounded(600)), randomBytes(rng, rng.bounded(30))});
    return cases;
}

TEST(Cipher, KeyScheduleMatchesModel) {
    for (const KeyCase& c : keyCases()) {
        Cipher fast;
        fast.init(c.key, c.privateKey);
        ReferenceCipher ref(c.key, c.privateKey);
        for (int i = 0; i < 463; ++i) ASSERT_EQ(fast.tableEntry(1, i), ref.t1[i]);
        for (int i = 0; i < 251; ++i) ASSERT_EQ(fast.tableEntry(2, i), ref.t2[i]);
        for (int i = 0; i < 181; ++i) ASSERT_EQ(fast.tableEntry(3, i), ref.t3[i]);
    }
}

TEST(Cipher, KeystreamMatchesModelForEveryFeedbackPattern) {
    QRandomGenerator rng(11);
    for (const KeyCase& c : keyCases()) {
        Cipher fast;
        fast.init(c.key, c.privateKey);
        ReferenceCipher ref(c.key, c.privateKey);
        for (int i = 0; i < 20000; ++i) {
            // extreme feedback values stress the largest index sums
            const int fb = i % 3 == 0 ? 255 : static_cast<int>(rng.bounded(256));
            ASSERT_EQ(fast.nextKeyByte(static_cast<uint8_t>(fb)), ref.next(fb)) << "byte " << i;
        }
    }
}

TEST(Cipher, BulkEncryptAndDecryptMatchModelAndRoundTrip) {
    QRandomGenerator rng(13);
    for (const KeyCase& c : keyCases()) {
        const QByteArray plain = randomBytes(rng, 1 + rng.bounded(30000));
        QByteArray data = plain;
        Cipher enc;
        enc.init(c.key, c.privateKey);
        enc.encrypt(reinterpret_cast<uint8_t*>(data.data()), size_t(data.size()));

        ReferenceCipher ref(c.key, c.privateKey);
        for (qsizetype i = 0; i < plain.size(); ++i)
            ASSERT_EQ(static_cast<uint8_t>(data[i]), ref.encrypt(static_cast<uint8_t>(plain[i])))
                << "byte " << i;
        EXPECT_EQ(enc.feedback(), static_cast<uint8_t>(data.back()));

        Cipher dec;
        dec.init(c.key, c.privateKey);
        dec.decrypt(reinterpret_cast<const uint8_t*>(data.constData()),
                    reinterpret_cast<uint8_t*>(data.data()), size_t(data.size()));
        EXPECT_EQ(data, plain);
    }
}

TEST(Cipher, ByteAndArrayCallsFormOneStream) {
    QRandomGenerator rng(17);
    const QByteArray plain = randomBytes(rng, 12345);
    Cipher a;
    a.init("mixed calls", "pk");
    QByteArray mixed = plain;
    auto* m = reinterpret_cast<uint8_t*>(mixed.data());
    for (int i = 0; i < 100; ++i) m[i] = a.encryptByte(m[i]);
    a.encrypt(m + 100, 5000);
    for (int i = 5100; i < 5200; ++i) m[i] = a.encryptByte(m[i]);
    a.encrypt(m + 5200, size_t(mixed.size() - 5200));

    Cipher b;
    b.init("mixed calls", "pk");
    QByteArray whole = plain;
    b.encrypt(reinterpret_cast<uint8_t*>(whole.data()), size_t(whole.size()));
    EXPECT_EQ(mixed, whole);

    Cipher d;
    d.init("mixed calls", "pk");
    for (qsizetype i = 0; i < 77; ++i) m[i] = d.decryptByte(m[i]);
    d.decrypt(m + 77, m + 77, size_t(mixed.size() - 77));
    EXPECT_EQ(mixed, plain);
}

TEST(Cipher, DecryptMovesBytesDownWhileDeciphering) {
    const QByteArray plain("The quick brown fox jumps over the lazy dog, twice over.");
    Cipher e;
    e.init("movekey", "");
    QByteArray buf = QByteArray(10, '#') + plain;
    e.encrypt(reinterpret_cast<uint8_t*>(buf.data()) + 10, size_t(plain.size()));
    Cipher d;
    d.init("movekey", "");
    auto* p = reinterpret_cast<uint8_t*>(buf.data());
    d.decrypt(p + 10, p, size_t(plain.size()));
    EXPECT_EQ(buf.left(plain.size()), plain);
}

TEST(Cipher, PrivateKeyShapesOnlyTheThirdGenerator) {
    Cipher none, zero, one, two;
    none.init("samekey", "");
    zero.init("samekey", QByteArray(1, '\0'));  // xor with zeros leaves the schedule as built
    one.init("samekey", "alpha");
    two.init("samekey", "beta");
    bool t3Differs = false;
    for (int i = 0; i < 463; ++i) EXPECT_EQ(one.tableEntry(1, i), two.tableEntry(1, i));
    for (int i = 0; i < 251; ++i) EXPECT_EQ(one.tableEntry(2, i), two.tableEntry(2, i));
    for (int i = 0; i < 181; ++i) {
        t3Differs |= one.tableEntry(3, i) != two.tableEntry(3, i);
        EXPECT_EQ(none.tableEntry(3, i), zero.tableEntry(3, i));
    }
    EXPECT_TRUE(t3Differs);

    QByteArray a(64, 'a'), b(64, 'a');
    one.encrypt(reinterpret_cast<uint8_t*>(a.data()), 64);
    two.encrypt(reinterpret_cast<uint8_t*>(b.data()), 64);
    EXPECT_NE(a, b);
}

TEST(Cipher, ModuleFunctionsShareOneState) {
    ModuleGuard guard;
    InitCipher(QStringLiteral("modulekey"), QStringLiteral("pk"));
    const uint8_t x0 = EncryptByte('A');
    const uint8_t x1 = EncryptByte('B');
    EXPECT_EQ(cipher().feedback(), x1);
    InitCipher(QStringLiteral("modulekey"), QStringLiteral("pk"));
    EXPECT_EQ(DecryptByte(x0), 'A');
    EXPECT_EQ(DecryptByte(x1), 'B');

    // key text goes through the code page: the euro sign is byte 0x80
    InitCipher(QString(QChar(0x20AC)) + QStringLiteral("abcd"), QString());
    ReferenceCipher ref(QByteArray("\x80" "abcd"), QByteArray());
    EXPECT_EQ(NextKeyByte(9), ref.next(9));
}

TEST(CipherArrays, CheckpointAfterEveryMultipleOf5000WithProgress) {
    ModuleGuard guard;
    guard.countYields();
    QByteArray data(12001, 'z');  // last index 12000
    InitCipher(QStringLiteral("progress"), QString());
    ASSERT_TRUE(EncryptArray(data));
    EXPECT_EQ(guard.yields, 3);  // after bytes 0, 5000 and 10000
    // 0/12000 -> 56; 5000/12000*44+56 = 74.33 -> 74; 10000/12000*44+56 = 92.67 -> 93
    EXPECT_EQ(guard.sink.drawn, (std::vector<int>{56, 74, 93}));

    guard.yields = 0;
    guard.sink.drawn.clear();
    state().LastProgress = 0;
    InitCipher(QStringLiteral("progress"), QString());
    ASSERT_TRUE(DecryptArray(data));
    EXPECT_EQ(guard.yields, 3);
    // 0 is not drawn (equal to the last value); 20.83 -> 21; 41.67 -> 42
    EXPECT_EQ(guard.sink.drawn, (std::vector<int>{21, 42}));
    EXPECT_EQ(data, QByteArray(12001, 'z'));
}

TEST(CipherArrays, ProgressRoundsHalvesToEven) {
    ModuleGuard guard;
    // last index 20000: 5000 -> 12.5 -> 12 and 15000 -> 37.5 -> 38 when deciphering
    QByteArray data(20001, 'q');
    InitCipher(QStringLiteral("halves"), QString());
    ASSERT_TRUE(DecryptArray(data));
    EXPECT_EQ(guard.sink.drawn, (std::vector<int>{12, 25, 38, 50}));
}

TEST(CipherArrays, AbortStopsRightAfterTheCheckpointByte) {
    ModuleGuard guard;
    const QByteArray plain(15000, 'p');
    QByteArray data = plain;
    guard.abortAtYield(2);  // the yield after byte 5000
    InitCipher(QStringLiteral("abortkey"), QString());
    EXPECT_FALSE(EncryptArray(data));
    EXPECT_EQ(data.mid(5001), plain.mid(5001));  // untouched from byte 5001 on

    Cipher ref;
    ref.init("abortkey", "");
    QByteArray expected = plain.left(5001);
    ref.encrypt(reinterpret_cast<uint8_t*>(expected.data()), 5001);
    EXPECT_EQ(data.left(5001), expected);
}

TEST(CipherArrays, OneAndZeroByteArraysRunOn) {
    ModuleGuard guard;
    QByteArray one("x");
    InitCipher(QStringLiteral("tinykey"), QString());
    EXPECT_TRUE(EncryptArray(one));
    InitCipher(QStringLiteral("tinykey"), QString());
    EXPECT_TRUE(DecryptArray(one));
    EXPECT_EQ(one, QByteArray("x"));
    QByteArray none;
    EXPECT_TRUE(EncryptArray(none));
    EXPECT_TRUE(DecryptArray(none));
}

}  // namespace
}  // namespace vx::korva
