// Base64 codec: line breaks after the group that reaches the line length with the tail after
// everything, checked against Qt's plain Base64, and a decoder that skips foreign characters and
// takes back one byte for each "=" in the last two places of a group.
#include "crypto/base64_codec.h"

#include <gtest/gtest.h>

#include "sample_data.h"

namespace vx::korva {
namespace {

// Qt's Base64 of the data with CR LF after every ceil(lineLength / 4) full groups (a line
// length below 10 counting as 10) and the padded tail, if any, after everything.
QByteArray withLineBreaks(const QByteArray& data, int lineLength) {
    const QByteArray plain = data.toBase64();
    const qsizetype perLine = 4 * ((std::max(lineLength, 10) + 3) / 4);
    const qsizetype body = plain.size() - (data.size() % 3 ? 4 : 0);
    QByteArray out;
    for (qsizetype i = 0; i + perLine <= body; i += perLine) out += plain.mid(i, perLine) + "\r\n";
    return out + plain.mid(body - body % perLine);
}

TEST(Base64Codec, EncodesAsThePlainFormWithLineBreaksAndDecodesBack) {
    for (qsizetype n : {0, 1, 2, 3, 20, 28, 44, 45, 46, 47, 4097, 300001}) {
        const QByteArray data = sample::randomBytes(n, static_cast<std::uint32_t>(n));
        for (int length : {-5, 9, 10, 13, 17, 60, 76, 32767}) {
            const QByteArray text = Base64Encode(data, length);
            ASSERT_EQ(text, withLineBreaks(data, length)) << n << " " << length;
            ASSERT_EQ(Base64Decode(text), data) << n << " " << length;
        }
    }
}

TEST(Base64Codec, DecoderSkipsForeignCharactersAndHonoursPads) {
    // clang-format off
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"Q", ""}, {"QUJ", ""}, {"QU\r\nJ", ""}, {"!!!!!!!!", ""},
        {"QUJDQQ", "ABC"}, {"QUJDQUI", "ABC"},  // an incomplete group is dropped
        {"QQ==", "A"}, {"QUI=", "AB"}, {"QQ=A", QByteArray("A\0", 2)},  // "=" only in the last two
        {"=QUJ", "\x01\x05\x09"}, {"Q=JD", "\x40\x02\x43"},  // places: first or second it is 64
        {"QQ==QUJD", "AABC"}, {"QQ==\r\nQUI=", "AAB"}, {" Q U J D \r\n", "ABC"},
        {QByteArray("QU\0JD", 5), "ABC"}, {"Q\tU-J_D.Q:U*J~D\"\x80\xc3\xffQUJD", "ABCABCABC"}};
    // clang-format on
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(Base64Decode(text), bytes) << text.toHex().data();
}

}  // namespace
}  // namespace vx::korva
