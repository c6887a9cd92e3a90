// Fuzz target for Base64Decode (and Base64Encode). The input is decoded as text: the result can
// never exceed three bytes per four characters. Then the input is encoded with a line length
// taken from its first two bytes and decoded back, which must give it unchanged, and the
// encoded text without its line breaks must be the plain standard encoding.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "crypto/base64_codec.h"

using namespace vx::korva;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray decoded = Base64Decode(input);
    if (decoded.size() > (input.size() / 4) * 3) std::abort();

    const int lineLength = size >= 2 ? static_cast<std::int16_t>(data[0] | (data[1] << 8)) : 60;
    const QByteArray text = Base64Encode(input, lineLength);
    if (Base64Decode(text) != input) std::abort();
    QByteArray plain = text;
    plain.replace("\r\n", "");
    if (plain != input.toBase64()) std::abort();
    return 0;
}
