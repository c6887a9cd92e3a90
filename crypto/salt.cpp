// Salt creation and the mouse entropy pool.
#include "crypto/salt.h"

#include <QRandomGenerator>
#include <cmath>

#include "crypto/cipher.h"

namespace vx::korva {
namespace {

constexpr qsizetype kPoolLimit = 251;

struct Pool {
    QByteArray bytes;
    // The last position starts at the origin, so a first move to (0, 0) adds nothing.
    float lastX = 0, lastY = 0;
};

Pool& pool() {
    static Pool p;
    return p;
}

// Rounds halves to even; positions beyond the integer range count as that range's end.
long long roundCoordinate(float v) {
    if (std::isnan(v)) return 0;
    const double lim = 9.0e18;
    const double d = std::fmax(-lim, std::fmin(lim, static_cast<double>(v)));
    return std::llrint(d);
}

}  // namespace

QByteArray CreateSalt() {
    // A securely seeded generator of the process: salts are never reproduced, so only the
    // ranges matter, and no call has to seed its own.
    QRandomGenerator* rng = QRandomGenerator::global();
    auto draw = [rng](int range) { return static_cast<int>(rng->generateDouble() * range); };
    const QByteArray& entropy = pool().bytes;

    int L = draw(224) + 32;
    for (const char c : entropy) L ^= static_cast<uint8_t>(c);
    if (L < 32) L += 224;

    QByteArray salt(L, Qt::Uninitialized);
    salt[0] = static_cast<char>(L);
    auto* s = reinterpret_cast<uint8_t*>(salt.data()) + 1;
    const int sLen = L - 1;
    for (int i = 0; i < sLen; ++i) s[i] = static_cast<uint8_t>(draw(256));

    qsizetype p = 0;  // position in the pool, kept across passes
    for (int pass = 1; pass <= 16; ++pass) {
        QByteArray key(16, Qt::Uninitialized);
        for (int b = 0; b < 16; ++b) {
            int v = draw(256);
            if (!entropy.isEmpty()) {
                v ^= static_cast<uint8_t>(entropy[p]);
                if (++p >= entropy.size()) p = 0;
            }
            key[b] = static_cast<char>(v);
        }
        cipher().init(key, {});
        if (pass % 3 != 0) {
            for (int i = 0; i < sLen; ++i) s[i] = cipher().encryptByte(s[i]);
        } else {
            for (int i = 0; i < sLen; ++i) s[i] = cipher().decryptByte(s[i]);
        }
    }
    return salt;
}

void AddMouseEntropy(float X, float Y) {
    Pool& pl = pool();
    if (X == pl.lastX && Y == pl.lastY) return;
    pl.lastX = X;
    pl.lastY = Y;
    const long long v = (roundCoordinate(X) ^ roundCoordinate(Y)) & 255;
    pl.bytes.append(static_cast<char>(v));
    if (pl.bytes.size() > kPoolLimit) pl.bytes.remove(0, 1);
}

const QByteArray& entropyPool() { return pool().bytes; }

void resetEntropyPool() { pool() = Pool{}; }

}  // namespace vx::korva
