// The cipher's own speed on a file's bytes, beside which the streamed file entry is measured:
// the file is read in 64 MiB pieces and only the cipher calls are timed (enciphering every
// piece, then deciphering what came out). Also makes the benchmark's input files.
//   cipher_speed FILE [MIB]           prints the enciphering and deciphering speed in MB/s, on the
//                                     whole file or on its first MIB MiB
//   cipher_speed --text|--random SIZE_MIB FILE   writes English-like text or random bytes
#include <QByteArray>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "crypto/cipher.h"
#include "tests/support/sample_data.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kPiece = size_t(64) << 20;

int make(const char* kind, long mib, const char* path) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return 1;
    // 64 MiB of samples, each seeded apart, repeated with a different seed per piece.
    for (long done = 0, seed = 1; done < mib; done += 64, ++seed) {
        const qsizetype n = qsizetype(std::min<long>(64, mib - done)) << 20;
        const QByteArray a = std::strcmp(kind, "--text") == 0
                                 ? vx::sample::englishLikeText(n, std::uint32_t(seed))
                                 : vx::sample::randomBytes(n, std::uint32_t(seed));
        if (std::fwrite(a.constData(), 1, size_t(a.size()), f) != size_t(a.size())) return 1;
    }
    return std::fclose(f) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4) return make(argv[1], std::atol(argv[2]), argv[3]);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: cipher_speed FILE [MIB] | --text|--random SIZE_MIB FILE\n");
        return 64;
    }
    std::FILE* f = std::fopen(argv[1], "rb");
    if (!f) return 1;
    std::vector<std::uint8_t> buf(kPiece);
    vx::korva::Cipher enc(QByteArray("Benchmark Key 1"), {}), dec(QByteArray("Benchmark Key 1"), {});
    Clock::duration tEnc{}, tDec{};
    double bytes = 0;
    const double limit = argc == 3 ? std::atof(argv[2]) * 1048576 : 1e300;
    for (size_t n; bytes < limit && (n = std::fread(buf.data(), 1, kPiece, f)) > 0;) {
        const auto t0 = Clock::now();
        enc.encrypt(buf.data(), n);
        const auto t1 = Clock::now();
        dec.decrypt(buf.data(), buf.data(), n);
        const auto t2 = Clock::now();
        tEnc += t1 - t0;
        tDec += t2 - t1;
        bytes += double(n);
    }
    std::fclose(f);
    const auto mbps = [&](Clock::duration d) {
        return bytes / 1e6 / std::chrono::duration<double>(d).count();
    };
    std::printf("%.1f %.1f\n", mbps(tEnc), mbps(tDec));
    return 0;
}
