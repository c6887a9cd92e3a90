// A plain model of the cipher, written straight from its definition with a division for
// every modulo and one copy of each table, to check the fast implementation against.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <utility>
#include <vector>

namespace vx::test {

class ReferenceCipher {
public:
    ReferenceCipher(const QByteArray& key, const QByteArray& privateKey) {
        std::vector<int> k17(17, 0), k23(23, 0);
        int J = 0;
        const auto kb = [&](int i) { return static_cast<uint8_t>(key[i % key.size()]); };
        for (int i = 0; i < 463; ++i) t1[i] = i;
        for (int i = 0; i < 463; ++i) {
            J = (t1[i] + J + kb(i)) % 463;
            std::swap(t1[i], t1[J]);
        }
        for (int i = 0; i < 463; ++i) k17[i % 17] = (t1[i] % 256) ^ k17[i % 17];
        for (int i = 0; i < 251; ++i) t2[i] = i;
        for (int i = 0; i < 251; ++i) {
            J = (t2[i] + J + k17[i % 17]) % 251;
            std::swap(t2[i], t2[J]);
        }
        for (int i = 0; i < 251; ++i) k23[i % 23] = t2[i] ^ k23[i % 23];
        if (!privateKey.isEmpty())
            for (int i = 0; i < 23; ++i)
                k23[i] ^= static_cast<uint8_t>(privateKey[i % privateKey.size()]);
        for (int i = 0; i < 181; ++i) t3[i] = i;
        for (int i = 0; i < 181; ++i) {
            J = (t3[i] + J + k23[i % 23]) % 181;
            std::swap(t3[i], t3[J]);
        }
    }

    int next(int fb) {
        i1 = (i1 + 1) % 463;
        j1 = (t1[i1] + j1 + fb) % 463;
        std::swap(t1[i1], t1[j1]);
        const int b1 = t1[(t1[j1] + t1[i1]) % 463] % 256;
        i2 = (i2 + 1) % 251;
        j2 = (t2[i2] + j2 + b1) % 251;
        std::swap(t2[i2], t2[j2]);
        const int b2 = t2[(t2[j2] + t2[i2]) % 251];
        i3 = (i3 + 1) % 181;
        j3 = (t3[i3] + j3 + b2) % 181;
        std::swap(t3[i3], t3[j3]);
        const int b3 = t3[(t3[j3] + t3[i3]) % 181];
        return (b1 + b2 + b3) % 256;
    }
    uint8_t encrypt(uint8_t p) { return f = static_cast<uint8_t>(next(f) ^ p); }
    uint8_t decrypt(uint8_t x) {
        const int k = next(f);
        f = x;
        return static_cast<uint8_t>(k ^ x);
    }

    int t1[463], t2[251], t3[181];
    int i1 = 0, j1 = 0, i2 = 0, j2 = 0, i3 = 0, j3 = 0;
    uint8_t f = 0;
};

}  // namespace vx::test
