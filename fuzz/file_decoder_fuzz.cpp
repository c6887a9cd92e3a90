// Fuzz target for the encrypted file decoder (the in-memory half of DecodeFile). The first
// input byte picks a mode (by its value modulo 8, so the costly round trip runs least):
//   0-3: the rest is the image of an encrypted file after its banner, opened with a fixed key;
//   4-6: the rest describes a file whose check value is right (salt length, extension bytes,
//      whether the 0 byte is there, then any block), so damage reaches the extension rule
//      and the block decoder behind the check;
//   7: the rest is sealed as a file and opened again, which must give it back unchanged.
// Every outcome must be one of the decoder's codes; nothing may read or write outside.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "crypto/cipher.h"
#include "crypto/file_format.h"
#include "crypto/korva_state.h"

using namespace vx::korva;

namespace {

const QString kKey = QStringLiteral("Fuzzing Key 1");
const QByteArray kKeyBytes = "Fuzzing Key 1";

void require(bool ok) {
    if (!ok) std::abort();
}

int open(QByteArray image, QByteArray& ext) {
    state().ErrorCode = 0;
    state().AbortFlag = false;
    QString why;
    const int code = openContent(image, kKey, QString(), ext, why);
    require(code == 0 || code == 5 || code == 22 || code == 23);
    require(code != 22 || !why.isEmpty());
    return code;
}

void raw(const uint8_t* d, size_t n) {
    QByteArray ext;
    open(cryptoFileBanner() + QByteArray(reinterpret_cast<const char*>(d), qsizetype(n)), ext);
}

void crafted(const uint8_t* d, size_t n) {
    if (n < 3) return;
    const int saltLen = d[0];
    const int extLen = d[1] % 16;
    const bool terminate = (d[2] & 1) != 0;
    d += 3;
    n -= 3;
    if (n < size_t(extLen)) return;
    QByteArray plain(saltLen, 'S');
    if (saltLen > 0) plain[0] = static_cast<char>(saltLen);
    plain.append(reinterpret_cast<const char*>(d), extLen);
    if (terminate) plain.append('\0');
    plain.append(reinterpret_cast<const char*>(d + extLen), qsizetype(n - extLen));
    plain.append(saltLen >= 2 ? plain.mid(saltLen - 2, 2) : QByteArray(2, 'S'));
    Cipher c(kKeyBytes, {});
    c.encrypt(reinterpret_cast<uint8_t*>(plain.data()), size_t(plain.size()));
    QByteArray ext;
    open(cryptoFileBanner() + plain, ext);
}

void roundTrip(const uint8_t* d, size_t n) {
    if (n < 1) return;
    const QByteArray ext(reinterpret_cast<const char*>(d + 1), d[0] % 8 < n - 1 ? d[0] % 8 : 0);
    if (ext.contains('\0')) return;
    const qsizetype skip = 1 + ext.size();
    QByteArray content(reinterpret_cast<const char*>(d + skip), qsizetype(n) - skip);
    const QByteArray original = content;
    state().AbortFlag = false;
    SealedPieces pieces;
    require(sealContent(content, ext, kKey, QString(), pieces) == 0);
    QByteArray back;
    QByteArray image = cryptoFileBanner() + pieces.header + content + pieces.check;
    state().ErrorCode = 0;
    QString why;
    require(openContent(image, kKey, QString(), back, why) == 0);
    require(image == original && back == ext);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int mode = data[0] % 8;
    if (mode < 4) raw(data + 1, size - 1);
    else if (mode < 7) crafted(data + 1, size - 1);
    else roundTrip(data + 1, size - 1);
    return 0;
}
