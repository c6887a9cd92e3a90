// Fuzz target for the encrypted file decoder (the in-memory half of DecodeFile). The first
// input byte picks a mode by its lowest bit:
//   0: the rest is the image of an encrypted file after its banner, opened with a fixed key;
//   1: the rest describes a file whose check value is right (salt length, extension bytes,
//      whether the 0 byte is there, then any block), so damage reaches the extension rule
//      and the block decoder behind the check.
// Every outcome must be one of the decoder's codes; nothing may read or write outside.
// (Round trips are left to the unit tests: sealing costs a salt and a compression per run.)
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    if (data[0] % 2 == 0) raw(data + 1, size - 1);
    else crafted(data + 1, size - 1);
    return 0;
}
