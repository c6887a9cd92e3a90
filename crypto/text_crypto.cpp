// Armoured text format.
#include "crypto/text_crypto.h"

#include <QByteArray>
#include <exception>
#include <new>

#include "crypto/ansi_text.h"
#include "crypto/base64_codec.h"
#include "crypto/cipher.h"
#include "crypto/error_codes.h"
#include "crypto/huffman_codec.h"
#include "crypto/key_rules.h"
#include "crypto/korva_state.h"
#include "crypto/salt.h"

namespace vx::korva {
namespace {

constexpr qsizetype kBeginLen = sizeof(kArmourBegin) - 1;      // 29
constexpr qsizetype kVersionLen = sizeof(kArmourVersion) - 1;  // 23
constexpr qsizetype kEndLen = sizeof(kArmourEnd) - 1;          // 24

bool isTrimmed(QChar c) {
    const char16_t u = c.unicode();
    return u == 32 || u == 9 || u == 13 || u == 10;
}

QString endWith(int code) {
    state().ErrorCode = code;
    DrawProgress(0);
    return QString();
}

}  // namespace

QString TrimWhiteSpace(const QString& text) {
    qsizetype from = 0, to = text.size();
    while (from < to && isTrimmed(text[from])) ++from;
    while (to > from && isTrimmed(text[to - 1])) --to;
    return text.mid(from, to - from);
}

int IdentifyCryptoText(const QString& text) {
    const QString T = TrimWhiteSpace(text);
    const bool begins = T.startsWith(QLatin1String(kArmourBegin));
    const bool ends = T.endsWith(QLatin1String(kArmourEnd));
    if (begins != ends) return 3;
    if (begins && T.size() >= kBeginLen + kEndLen + kVersionLen + 1)
        return T.mid(kBeginLen, kVersionLen) == QLatin1String(kArmourVersion) ? 1 : 2;
    return 0;
}

QString EncodeText(const QString& T, const QString& Key, const QString& PrivateKey) {
    state().AbortFlag = false;
    QByteArray block = ansiBytes(T);
    HuffmanEncode(block, block.size());
    if (state().AbortFlag) return endWith(kEncodeAborted);

    QByteArray P = CreateSalt();
    const char check[2] = {P[P.size() - 2], P[P.size() - 1]};
    P.reserve(P.size() + block.size() + 2);
    P.append(block);
    block = QByteArray();
    P.append(check, 2);

    InitCipher(Key, PrivateKey);
    // A half-enciphered armour is never handed out.
    if (!EncryptArray(P)) return endWith(kEncodeAborted);

    QString result = QLatin1String(kArmourBegin) + QLatin1String(kArmourVersion);
    result += QLatin1String(Base64Encode(P, 60));
    result += QLatin1String(kArmourEnd);
    DrawProgress(0);
    return result;
}

QString DecodeText(const QString& T, const QString& Key, const QString& PrivateKey) {
    state().LastProgress = 0;
    state().AbortFlag = false;
    const qsizetype bodyLen = T.size() - kBeginLen - kVersionLen - kEndLen;
    const QString body = T.mid(kBeginLen + kVersionLen, qMax<qsizetype>(bodyLen, 0));
    QByteArray P = Base64Decode(body.toLatin1());

    InitCipher(Key, PrivateKey);
    if (!DecryptArray(P)) return endWith(kDecodeAborted);

    const qsizetype n = P.size();
    const int L = n > 0 ? static_cast<uint8_t>(P[0]) : 0;
    if (L < 2 || n < L + 2 || P[n - 2] != P[L - 2] || P[n - 1] != P[L - 1])
        return endWith(kTextDecodeFailed);

    QByteArray Z = P.mid(L, n - L - 2);
    P = QByteArray();
    const Status expanded = HuffmanDecode(Z, Z.size());
    if (state().AbortFlag) return endWith(kDecodeAborted);
    if (!expanded) return endWith(kTextDecodeFailed);
    if (state().ErrorCode != 0) return endWith(state().ErrorCode);
    DrawProgress(0);
    return ansiText(Z);
}

QString TextCrypto(const QString& Text, const QString& Key, const QString& PrivateKey) {
    ModuleState& s = state();
    s.ErrorCode = 0;
    s.ErrorMessage.clear();
    s.FileErrorText.clear();
    const QString T = TrimWhiteSpace(Text);
    QString result;
    try {
        if (T.isEmpty()) {
            s.ErrorCode = kNoText;
        } else if (!IsKeyValid(Key)) {
            s.ErrorCode = kBadKey;
        } else if (!KeyFitsCodePage(Key) || !KeyFitsCodePage(PrivateKey)) {
            s.ErrorCode = kKeyCodePage;
        } else {
            switch (IdentifyCryptoText(T)) {
                case 0: result = EncodeText(T, Key, PrivateKey); break;
                case 1: result = DecodeText(T, Key, PrivateKey); break;
                case 2: s.ErrorCode = kTextVersion; break;
                default: s.ErrorCode = kArmourIncomplete; break;
            }
        }
    } catch (const std::exception& e) {
        // Memory exhausted or another run-time fault: the text is kept, as for any failure.
        s.ErrorCode = IdentifyCryptoText(T) == 1 ? kTextDecodeFailed : kEncodeFileError;
        s.FileErrorText = dynamic_cast<const std::bad_alloc*>(&e)
                              ? QStringLiteral("Out of memory")
                              : QString::fromLocal8Bit(e.what());
        DrawProgress(0);
    }
    SetErrorMessage();
    return s.ErrorCode != 0 ? Text : result;
}

}  // namespace vx::korva
