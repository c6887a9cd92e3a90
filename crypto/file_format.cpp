// Sealing and opening the enciphered part of an encrypted file.
#include "crypto/file_format.h"

#include "crypto/cipher.h"
#include "crypto/error_codes.h"
#include "crypto/huffman_codec.h"
#include "crypto/korva_state.h"
#include "crypto/salt.h"

namespace vx::korva {
namespace {

constexpr qsizetype kBannerSize = 29;

}  // namespace

QByteArray cryptoFileBanner() {
    QByteArray b("= QVX KORVA v1.0.3 ");
    b.append(static_cast<char>(0xA9));
    b.append(" NAVLOR =");
    return b;
}

int sealContent(QByteArray& content, const QByteArray& extension, const QString& key,
                const QString& privateKey, SealedPieces& pieces) {
    HuffmanEncode(content, content.size());
    if (state().AbortFlag) return kEncodeAborted;

    const QByteArray salt = CreateSalt();
    pieces.check = salt.right(2);
    pieces.header = salt + extension;
    pieces.header.append('\0');

    InitCipher(key, privateKey);
    cipher().encrypt(reinterpret_cast<uint8_t*>(pieces.header.data()),
                     size_t(pieces.header.size()));
    if (!EncryptArray(content)) return kEncodeAborted;
    cipher().encrypt(reinterpret_cast<uint8_t*>(pieces.check.data()), 2);
    return 0;
}

int openContent(QByteArray& A, const QString& key, const QString& privateKey,
                QByteArray& extension, QString& why) {
    auto* a = reinterpret_cast<uint8_t*>(A.data());
    const qsizetype U = A.size() - 1;
    InitCipher(key, privateKey);
    // An image that ends with its banner has no salt length: reading it runs past the end.
    if (U < kBannerSize) {
        why = QStringLiteral("Reading past the end of the file");
        return kDecodeFileError;
    }
    const int L = DecryptByte(a[kBannerSize]);
    if (kBannerSize + L > U) return kFileDecodeFailed;
    uint8_t check1 = 0, check2 = 0;
    for (int k = 2; k <= L; ++k) {
        const uint8_t d = DecryptByte(a[kBannerSize + k - 1]);
        if (k == L - 1) check1 = d;
        if (k == L) check2 = d;
    }

    extension.clear();
    qsizetype pos = kBannerSize + L;
    bool ended = false;
    while (pos <= U && !ended) {
        const uint8_t d = DecryptByte(a[pos++]);
        if (d == 0) ended = true;
        else extension.append(static_cast<char>(d));
    }
    if (!ended) {
        why = QStringLiteral("The stored extension runs past the end of the file");
        return kDecodeFileError;
    }

    state().LastProgress = 0;
    const qsizetype start = pos;
    const qsizetype last = U - start - 2;
    if (last >= 0 && !DecryptArray(a + start, a, last + 1)) return kDecodeAborted;
    const uint8_t t1 = DecryptByte(a[U - 1]);
    const uint8_t t2 = DecryptByte(a[U]);
    if (t1 != check1 || t2 != check2) return kFileDecodeFailed;
    if (last < 0) {
        why = QStringLiteral("The file holds no compressed block");
        return kDecodeFileError;
    }

    A.resize(last + 1);
    const Status expanded = HuffmanDecode(A, A.size());
    if (state().AbortFlag) return kDecodeAborted;
    if (!expanded) {
        why = expanded.message();
        return kDecodeFileError;
    }
    return state().ErrorCode;  // 0, or 5 for a checksum mismatch
}

}  // namespace vx::korva
