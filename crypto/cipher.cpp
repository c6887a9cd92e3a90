// Key set-up and keystream of the module's cipher, and the checkpointed bulk operations.
#include "crypto/cipher.h"

#include <algorithm>
#include <cstring>

#include "crypto/ansi_text.h"
#include "crypto/korva_state.h"

namespace vx::korva {
namespace {

constexpr uint32_t N1 = Cipher::kSize1, N2 = Cipher::kSize2, N3 = Cipher::kSize3;

// Shuffles t[0..n) (starting as the identity) with the key schedule k; j carries over from
// the previous table, so it may start above n. A salt keys the cipher sixteen times, so the
// modulo is a few subtractions rather than a division.
void shuffle(uint16_t* t, int n, const uint8_t* k, int kLen, int& j) {
    for (int i = 0; i < n; ++i) t[i] = static_cast<uint16_t>(i);
    int ki = 0;
    for (int i = 0; i < n; ++i) {
        j += t[i] + k[ki];
        while (j >= n) j -= n;
        if (++ki == kLen) ki = 0;
        std::swap(t[i], t[j]);
    }
}

void replicate(uint16_t* t, int n, int copies) {
    for (int c = 1; c < copies; ++c) std::memcpy(t + c * n, t, n * sizeof(uint16_t));
}

}  // namespace

// The generators' step for enciphering, with the state held in locals so that a loop keeps it
// in registers. Enciphering is one chain per byte (feedback, three generators, feedback), so
// what counts is its length: the replicated tables let the two indices on the chain stay
// unreduced. The J sum is reduced by a residue table before the incoming byte is added (that
// part does not wait for it), and the output index is a sum of two entries, below twice the
// size. The reduced J that the next byte needs is looked up beside the chain.
struct CipherKernel {
    Cipher::Tables* __restrict t;  // one base register for all three tables
    uint32_t i1, j1, i2, j2, i3, j3;

    explicit CipherKernel(Cipher& c)
        : t(&c.m_tables),
          i1(c.m_i1), j1(c.m_j1), i2(c.m_i2), j2(c.m_j2), i3(c.m_i3), j3(c.m_j3) {}

    void storeTo(Cipher& c) const {
        c.m_i1 = i1; c.m_j1 = j1; c.m_i2 = i2; c.m_j2 = j2; c.m_i3 = i3; c.m_j3 = j3;
    }

    inline uint32_t next(uint32_t fb) {
        uint16_t* const t1 = t->t1;
        uint16_t* const t2 = t->t2;
        uint16_t* const t3 = t->t3;
        i1 = i1 + 1 == N1 ? 0 : i1 + 1;
        uint32_t ti = t1[i1];
        uint32_t jr = t->mod1[ti + j1] + fb;  // < N1 + 256 < 2 N1
        uint32_t tj = t1[jr];
        j1 = t->mod1[jr];
        t1[i1] = tj; t1[i1 + N1] = tj;
        t1[j1] = ti; t1[j1 + N1] = ti;
        const uint32_t b1 = t1[ti + tj] & 0xFFu;

        i2 = i2 + 1 == N2 ? 0 : i2 + 1;
        ti = t2[i2];
        jr = t->mod2[ti + j2] + b1;  // < N2 + 256 < 3 N2
        tj = t2[jr];
        j2 = t->mod2[jr];
        t2[i2] = tj; t2[i2 + N2] = tj; t2[i2 + 2 * N2] = tj;
        t2[j2] = ti; t2[j2 + N2] = ti; t2[j2 + 2 * N2] = ti;
        const uint32_t b2 = t2[ti + tj];

        i3 = i3 + 1 == N3 ? 0 : i3 + 1;
        ti = t3[i3];
        jr = t->mod3[ti + j3] + b2;  // < N3 + N2 < 3 N3
        tj = t3[jr];
        j3 = t->mod3[jr];
        t3[i3] = tj; t3[i3 + N3] = tj; t3[i3 + 2 * N3] = tj;
        t3[j3] = ti; t3[j3 + N3] = ti; t3[j3 + 2 * N3] = ti;
        const uint32_t b3 = t3[ti + tj];

        return (b1 + b2 + b3) & 0xFFu;
    }
};

// Residue tables (copied into each state): every sum a generator forms, reduced by one load
// instead of compares and subtractions, whose outcome would be as good as random for a branch.
// Deciphering knows each feedback byte in advance, so its three generators overlap and its
// speed is set by the number of instructions per byte rather than by a chain of loads.
template <uint32_t N>
struct Residues {
    uint16_t r[2 * N + 256];
    constexpr Residues() : r() {
        for (uint32_t v = 0; v < 2 * N + 256; ++v) r[v] = static_cast<uint16_t>(v % N);
    }
};
constexpr Residues<N1> kMod1;
constexpr Residues<N2> kMod2;
constexpr Residues<N3> kMod3;

// The generators' step on the first copy of each table only; the copies are brought up to
// date once at the end of a run.
struct CompactKernel {
    Cipher::Tables* __restrict t;
    uint32_t i1, j1, i2, j2, i3, j3;

    explicit CompactKernel(Cipher& c)
        : t(&c.m_tables),
          i1(c.m_i1), j1(c.m_j1), i2(c.m_i2), j2(c.m_j2), i3(c.m_i3), j3(c.m_j3) {}

    void storeTo(Cipher& c) const {
        c.m_i1 = i1; c.m_j1 = j1; c.m_i2 = i2; c.m_j2 = j2; c.m_i3 = i3; c.m_j3 = j3;
        replicate(c.m_tables.t1, N1, 2);
        replicate(c.m_tables.t2, N2, 3);
        replicate(c.m_tables.t3, N3, 3);
    }

    inline uint32_t next(uint32_t fb) {
        uint16_t* const t1 = t->t1;
        uint16_t* const t2 = t->t2;
        uint16_t* const t3 = t->t3;
        i1 = i1 + 1 == N1 ? 0 : i1 + 1;
        uint32_t ti = t1[i1];
        j1 = t->mod1[ti + j1 + fb];
        uint32_t tj = t1[j1];
        t1[i1] = tj;
        t1[j1] = ti;
        const uint32_t b1 = t1[t->mod1[ti + tj]] & 0xFFu;

        i2 = i2 + 1 == N2 ? 0 : i2 + 1;
        ti = t2[i2];
        j2 = t->mod2[ti + j2 + b1];
        tj = t2[j2];
        t2[i2] = tj;
        t2[j2] = ti;
        const uint32_t b2 = t2[t->mod2[ti + tj]];

        i3 = i3 + 1 == N3 ? 0 : i3 + 1;
        ti = t3[i3];
        j3 = t->mod3[ti + j3 + b2];
        tj = t3[j3];
        t3[i3] = tj;
        t3[j3] = ti;
        const uint32_t b3 = t3[t->mod3[ti + tj]];

        return (b1 + b2 + b3) & 0xFFu;
    }
};

void Cipher::init(const QByteArray& key, const QByteArray& privateKey) {
    const auto* kb = reinterpret_cast<const uint8_t*>(key.constData());
    const int n = static_cast<int>(std::max<qsizetype>(key.size(), 1));
    static const uint8_t zero = 0;
    if (key.isEmpty()) kb = &zero;  // callers never pass an empty key; stay defined anyway

    uint8_t k17[17] = {};
    uint8_t k23[23] = {};
    int j = 0;
    uint16_t* const m_t1 = m_tables.t1;
    uint16_t* const m_t2 = m_tables.t2;
    uint16_t* const m_t3 = m_tables.t3;
    shuffle(m_t1, N1, kb, n, j);
    for (uint32_t i = 0; i < N1; ++i) k17[i % 17] ^= static_cast<uint8_t>(m_t1[i] & 0xFF);
    shuffle(m_t2, N2, k17, 17, j);
    for (uint32_t i = 0; i < N2; ++i) k23[i % 23] ^= static_cast<uint8_t>(m_t2[i]);
    if (!privateKey.isEmpty()) {
        const auto m = privateKey.size();
        for (int i = 0; i < 23; ++i) k23[i] ^= static_cast<uint8_t>(privateKey[i % m]);
    }
    shuffle(m_t3, N3, k23, 23, j);
    replicate(m_t1, N1, 2);
    replicate(m_t2, N2, 3);
    replicate(m_t3, N3, 3);
    std::memcpy(m_tables.mod1, kMod1.r, sizeof kMod1.r);
    std::memcpy(m_tables.mod2, kMod2.r, sizeof kMod2.r);
    std::memcpy(m_tables.mod3, kMod3.r, sizeof kMod3.r);
    m_i1 = m_j1 = m_i2 = m_j2 = m_i3 = m_j3 = 0;
    m_f = 0;
}

uint8_t Cipher::nextKeyByte(uint8_t fb) {
    CipherKernel k(*this);
    const uint32_t key = k.next(fb);
    k.storeTo(*this);
    return static_cast<uint8_t>(key);
}

uint8_t Cipher::encryptByte(uint8_t plain) {
    m_f = static_cast<uint8_t>(nextKeyByte(m_f) ^ plain);
    return m_f;
}

uint8_t Cipher::decryptByte(uint8_t cipherByte) {
    const uint8_t key = nextKeyByte(m_f);
    m_f = cipherByte;
    return static_cast<uint8_t>(key ^ cipherByte);
}

void Cipher::encrypt(uint8_t* __restrict data, std::size_t n) {
    CipherKernel k(*this);
    uint32_t f = m_f;
    for (std::size_t i = 0; i < n; ++i) {
        f = k.next(f) ^ data[i];
        data[i] = static_cast<uint8_t>(f);
    }
    k.storeTo(*this);
    m_f = static_cast<uint8_t>(f);
}

void Cipher::decrypt(const uint8_t* src, uint8_t* dst, std::size_t n) {
    CompactKernel k(*this);
    uint32_t f = m_f;
    for (std::size_t i = 0; i != n; ++i) {
        const uint32_t x = src[i];
        dst[i] = static_cast<uint8_t>(k.next(f) ^ x);
        f = x;
    }
    k.storeTo(*this);
    m_f = static_cast<uint8_t>(f);
}

int Cipher::tableEntry(int g, int i) const {
    switch (g) {
        case 1: return m_tables.t1[i];
        case 2: return m_tables.t2[i];
        default: return m_tables.t3[i];
    }
}

Cipher& cipher() {
    static Cipher c;
    return c;
}

void InitCipher(const QString& key, const QString& privateKey) {
    cipher().init(ansiBytes(key), ansiBytes(privateKey));
}

uint8_t NextKeyByte(uint8_t fb) { return cipher().nextKeyByte(fb); }
uint8_t EncryptByte(uint8_t plain) { return cipher().encryptByte(plain); }
uint8_t DecryptByte(uint8_t cipherByte) { return cipher().decryptByte(cipherByte); }

namespace {

// Runs work(first, count) over 0..n-1 in pieces that end on the multiples of 5000 and takes
// a checkpoint after each such index with (i / last) x scale + offset percent.
template <typename Work>
bool inCheckpointedPieces(qsizetype n, double scale, double offset, Work work) {
    const qsizetype last = n - 1;
    qsizetype start = 0;
    while (start <= last) {
        const qsizetype stop = start == 0 ? 0 : std::min(last, start + 4999);
        work(start, stop - start + 1);
        if (stop % 5000 == 0) {
            // A one-byte array has no progress to speak of: it stays at the start value.
            const double fraction = last == 0 ? 0.0 : double(stop) / double(last);
            if (!checkpoint(fraction * scale + offset)) return false;
        }
        start = stop + 1;
    }
    return true;
}

}  // namespace

bool EncryptArray(uint8_t* data, qsizetype n) {
    return inCheckpointedPieces(n, 44.0, 56.0, [data](qsizetype first, qsizetype count) {
        cipher().encrypt(data + first, static_cast<std::size_t>(count));
    });
}

bool EncryptArray(QByteArray& A) {
    return EncryptArray(reinterpret_cast<uint8_t*>(A.data()), A.size());
}

bool DecryptArray(const uint8_t* src, uint8_t* dst, qsizetype n) {
    return inCheckpointedPieces(n, 50.0, 0.0, [src, dst](qsizetype first, qsizetype count) {
        cipher().decrypt(src + first, dst + first, static_cast<std::size_t>(count));
    });
}

bool DecryptArray(QByteArray& A) {
    auto* p = reinterpret_cast<uint8_t*>(A.data());
    return DecryptArray(p, p, A.size());
}

}  // namespace vx::korva
