// A plain model of the cipher, written straight from its definition with a division for every
// modulo and one copy of each table, to check the fast implementation against.
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
        int J = 0;  // carries over from one table to the next
        auto shuffle = [&J](int* t, int n, auto keyByte) {
            for (int i = 0; i < n; ++i) t[i] = i;
            for (int i = 0; i < n; ++i) {
                J = (t[i] + J + keyByte(i)) % n;
                std::swap(t[i], t[J]);
            }
        };
        shuffle(t1, 463, [&](int i) { return static_cast<uint8_t>(key[i % key.size()]); });
        for (int i = 0; i < 463; ++i) k17[i % 17] ^= t1[i] % 256;
        shuffle(t2, 251, [&](int i) { return k17[i % 17]; });
        for (int i = 0; i < 251; ++i) k23[i % 23] ^= t2[i];
        for (int i = 0; i < 23 && !privateKey.isEmpty(); ++i)
            k23[i] ^= static_cast<uint8_t>(privateKey[i % privateKey.size()]);
        shuffle(t3, 181, [&](int i) { return k23[i % 23]; });
    }

    int next(int fb) {
        const int b1 = step(t1, 463, i1, j1, fb) % 256;
        const int b2 = step(t2, 251, i2, j2, b1);
        return (b1 + b2 + step(t3, 181, i3, j3, b2)) % 256;
    }
    uint8_t encrypt(uint8_t p) { return f = static_cast<uint8_t>(next(f) ^ p); }

private:
    static int step(int* t, int n, int& i, int& j, int in) {
        i = (i + 1) % n;
        j = (t[i] + j + in) % n;
        std::swap(t[i], t[j]);
        return t[(t[j] + t[i]) % n];
    }

    int t1[463], t2[251], t3[181];
    int i1 = 0, j1 = 0, i2 = 0, j2 = 0, i3 = 0, j3 = 0;
    uint8_t f = 0;
};

}  // namespace vx::test
