// The cipher against a plain model of its definition, and the checkpoints of its bulk runs.
#include "crypto/cipher.h"

#include <gtest/gtest.h>

#include "module_guard.h"
#include "reference_cipher.h"
#include "sample_data.h"

using namespace vx;
using namespace vx::korva;

TEST(Cipher, EveryWayOfCallingItMatchesTheModel) {
    // Keys longer than the first table, bytes above 127, private keys longer than 23 bytes.
    // clang-format off
    std::vector<std::pair<QByteArray, QByteArray>> keys = {
        {"abcde", ""}, {"Secret key 1", "private"}, {QByteArray(463, 'x') + "y", ""},
        {"\xff\xfe\xfd\xfc\xfb", "\xff"}, {"short", QByteArray(40, '\x80')}};
    // clang-format on
    for (std::uint32_t i = 1; i <= 12; ++i)
        keys.push_back({sample::randomBytes(i * 53, i), sample::randomBytes(i * 3, i)});
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const auto& [key, privateKey] = keys[k];
        // Byte and array calls form one stream; deciphering may move the bytes down.
        const QByteArray plain = sample::randomBytes(20000, k);
        const int shift = k % 2 ? 10 : 0;
        QByteArray data = QByteArray(shift, '#') + plain;
        auto* d = reinterpret_cast<uint8_t*>(data.data());
        Cipher enc(key, privateKey), dec(key, privateKey);
        test::ReferenceCipher model(key, privateKey);
        for (int i = 0; i < 100; ++i) d[shift + i] = enc.encryptByte(d[shift + i]);
        enc.encrypt(d + shift + 100, size_t(plain.size() - 100));
        for (qsizetype i = 0; i < plain.size(); ++i)
            ASSERT_EQ(d[shift + i], model.encrypt(static_cast<uint8_t>(plain[i]))) << k << " " << i;
        for (int i = 0; i < 77; ++i) d[i] = dec.decryptByte(d[shift + i]);
        dec.decrypt(d + shift + 77, d + 77, size_t(plain.size() - 77));
        EXPECT_EQ(data.left(plain.size()), plain) << k;
    }
}

TEST(Cipher, ModuleStateIsKeyedFromTextThroughTheCodePage) {
    const QString key = QChar(0x20AC) + QStringLiteral("abcd");  // the euro sign is byte 0x80
    InitCipher(key, "pk");
    test::ReferenceCipher model(QByteArray("\x80") + "abcd", "pk");
    const uint8_t x = EncryptByte('A');
    EXPECT_EQ(x, model.encrypt('A'));
    EXPECT_EQ(NextKeyByte(9), model.next(9));
    InitCipher(key, "pk");
    EXPECT_EQ(DecryptByte(x), 'A');
}

TEST(CipherArrays, CheckpointAfterEveryMultipleOf5000) {
    // clang-format off
    const struct { qsizetype n; bool encrypt; int yields; std::vector<int> drawn; } cases[] = {
        {12001, true, 3, {56, 74, 93}},       // 5000 / 12000 x 44 + 56 = 74.33
        {12001, false, 3, {21, 42}},          // 0 equals the last value drawn
        {20001, false, 5, {12, 25, 38, 50}},  // 12.5 and 37.5 round to even
        {1, true, 1, {56}}, {0, false, 0, {}}};
    // clang-format on
    for (const auto& c : cases) {
        test::ModuleGuard guard;
        QByteArray data(c.n, 'z');
        InitCipher("progress", {});
        ASSERT_TRUE(c.encrypt ? EncryptArray(data) : DecryptArray(data));
        EXPECT_EQ(guard.yields, c.yields) << c.n;
        EXPECT_EQ(guard.sink.drawn, c.drawn) << c.n;
    }
}
