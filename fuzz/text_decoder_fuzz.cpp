// Fuzz target for the armoured text decoder. The first input byte picks a mode by its value
// modulo 3:
//   0: the rest is the body of an armour (between intact marker lines);
//   1: the rest is a payload (salt length, then any block) whose check value is right,
//      enciphered and armoured, so damage reaches the block decoder behind the check;
//   2: the rest is a whole text as typed or pasted; only armoured ones are decoded (a plain
//      text would be enciphered, which costs a salt and a compression per run).
// A failure must give the input back unchanged with one of the module's codes.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "crypto/ansi_text.h"
#include "crypto/base64_codec.h"
#include "crypto/cipher.h"
#include "crypto/korva_state.h"
#include "crypto/text_crypto.h"

using namespace vx::korva;

namespace {

const QString kKey = QStringLiteral("Fuzzing Key 1");

void require(bool ok) {
    if (!ok) std::abort();
}

void crypto(const QString& text) {
    const QString result = TextCrypto(text, kKey, QString());
    const int code = state().ErrorCode;
    require(code == 0 || code == 1 || code == 5 || code == 10 || code == 30 || code == 33);
    if (code != 0) require(result == text && !state().ErrorMessage.isEmpty());
}

QString armour(const QByteArray& body) {
    return QLatin1String(kArmourBegin) + QLatin1String(kArmourVersion) + QLatin1String(body) +
           QLatin1String(kArmourEnd);
}

void payload(const uint8_t* d, size_t n) {
    if (n < 1) return;
    const int saltLen = d[0];
    QByteArray p(saltLen, 'k');
    if (saltLen > 0) p[0] = static_cast<char>(saltLen);
    p.append(reinterpret_cast<const char*>(d + 1), qsizetype(n - 1));
    p.append(saltLen >= 2 ? p.mid(saltLen - 2, 2) : QByteArray(2, 'k'));
    Cipher c("Fuzzing Key 1", {});
    c.encrypt(reinterpret_cast<uint8_t*>(p.data()), size_t(p.size()));
    crypto(armour(Base64Encode(p, 60)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const int mode = data[0] % 3;
    if (mode == 0) {
        crypto(armour(rest));
    } else if (mode == 1) {
        payload(data + 1, size - 1);
    } else {
        const QString text = ansiText(rest);
        if (IdentifyCryptoText(text) != 0) crypto(text);
    }
    return 0;
}
