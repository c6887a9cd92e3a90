// The module's stream cipher: three cascaded byte-permutation generators of prime sizes 463, 251
// and 181, the first fed with the last cipher byte. Cipher holds one keyed state; the module
// keeps one of them for the whole process (cipher()), and the bulk operations there add the
// yields, abort tests and progress steps of long runs.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace vx::korva {

// One keyed cipher state. Copyable, so tests can run two in step.
//
// Each permutation table is held several times over, one copy after another, so that an
// index below a small multiple of the table size reads the entry of that index modulo the
// size, and every other reduction is one load from a residue table: the generators never
// divide. Enciphering swaps in all copies; deciphering works on the first copy and brings the
// others up to date when its run ends.
class Cipher {
public:
    static constexpr int kSize1 = 463, kSize2 = 251, kSize3 = 181;

    Cipher() { init(QByteArray("\0\0\0\0\0", 5), {}); }
    Cipher(const QByteArray& key, const QByteArray& privateKey) { init(key, privateKey); }

    // Keys the state from the key bytes (at least one byte; callers pass keys that passed the
    // key rules) and the private key bytes (may be empty). Resets indices and feedback.
    void init(const QByteArray& key, const QByteArray& privateKey);

    // One keystream byte for the feedback byte fb; advances the generators.
    uint8_t nextKeyByte(uint8_t fb);
    // Enciphers or deciphers one byte and updates the feedback byte.
    uint8_t encryptByte(uint8_t plain);
    uint8_t decryptByte(uint8_t cipherByte);

    // The same for n bytes, in order. decrypt reads src and writes dst; dst may equal src or
    // lie before it (the bytes then move down as they are deciphered).
    void encrypt(uint8_t* data, std::size_t n);
    void decrypt(const uint8_t* src, uint8_t* dst, std::size_t n);

    uint8_t feedback() const { return m_f; }
    // Entry i of a generator's permutation (g = 1, 2 or 3), for tests.
    int tableEntry(int g, int i) const;

private:
    friend struct CipherKernel;
    friend struct CompactKernel;
    struct Tables {
        uint16_t t1[2 * kSize1];
        uint16_t t2[3 * kSize2];
        uint16_t t3[3 * kSize3];
        // v mod size for every sum a generator forms, beside the tables so that one base
        // register reaches everything the deciphering loop reads
        uint16_t mod1[2 * kSize1 + 256];
        uint16_t mod2[2 * kSize2 + 256];
        uint16_t mod3[2 * kSize3 + 256];
    } m_tables;
    uint32_t m_i1 = 0, m_j1 = 0, m_i2 = 0, m_j2 = 0, m_i3 = 0, m_j3 = 0;
    uint8_t m_f = 0;
};

// The process's one cipher state, shared by every operation of the module.
Cipher& cipher();

// The module operations on that state. Texts become bytes through the module's code page.
void InitCipher(const QString& key, const QString& privateKey);
uint8_t NextKeyByte(uint8_t fb);
uint8_t EncryptByte(uint8_t plain);
uint8_t DecryptByte(uint8_t cipherByte);

// Enciphers n bytes in place. After byte i, when i is a multiple of 5000 (0 included), yields,
// returns false at once if the abort flag is set (the later bytes stay untouched), and draws
// i / (n - 1) x 44 + 56 percent when the rounded value changed. Returns true when all bytes
// were done.
[[nodiscard]] bool EncryptArray(uint8_t* data, qsizetype n);
[[nodiscard]] bool EncryptArray(QByteArray& A);

// Deciphers n bytes from src into dst (dst may equal src or lie before it), with the same
// checkpoints and i / (n - 1) x 50 percent.
[[nodiscard]] bool DecryptArray(const uint8_t* src, uint8_t* dst, qsizetype n);
[[nodiscard]] bool DecryptArray(QByteArray& A);

}  // namespace vx::korva
