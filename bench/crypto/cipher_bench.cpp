// Throughput of the cipher itself in both directions, raw and with the module's checkpoints.
#include <benchmark/benchmark.h>

#include "tests/support/sample_data.h"
#include "core/yield.h"
#include "crypto/cipher.h"

namespace vx::korva {
namespace {

constexpr qsizetype kSize = 8 << 20;

void BM_Encipher(benchmark::State& st) {
    QByteArray data = vx::sample::randomBytes(kSize);
    Cipher c;
    c.init("Benchmark Key 1", "private");
    for (auto _ : st) {
        c.encrypt(reinterpret_cast<uint8_t*>(data.data()), size_t(data.size()));
        benchmark::DoNotOptimize(data.data());
    }
    st.SetBytesProcessed(st.iterations() * kSize);
}
BENCHMARK(BM_Encipher)->Unit(benchmark::kMillisecond);

void BM_Decipher(benchmark::State& st) {
    QByteArray data = vx::sample::randomBytes(kSize);
    Cipher c;
    c.init("Benchmark Key 1", "private");
    auto* p = reinterpret_cast<uint8_t*>(data.data());
    for (auto _ : st) {
        c.decrypt(p, p, size_t(data.size()));
        benchmark::DoNotOptimize(data.data());
    }
    st.SetBytesProcessed(st.iterations() * kSize);
}
BENCHMARK(BM_Decipher)->Unit(benchmark::kMillisecond);

// The module's arrays: a yield, an abort test and a progress step every 5000 bytes.
void BM_EncryptArray(benchmark::State& st) {
    QByteArray data = vx::sample::randomBytes(kSize);
    InitCipher(QStringLiteral("Benchmark Key 1"), QStringLiteral("private"));
    for (auto _ : st) benchmark::DoNotOptimize(EncryptArray(data));
    st.SetBytesProcessed(st.iterations() * kSize);
}
BENCHMARK(BM_EncryptArray)->Unit(benchmark::kMillisecond);

void BM_DecryptArray(benchmark::State& st) {
    QByteArray data = vx::sample::randomBytes(kSize);
    InitCipher(QStringLiteral("Benchmark Key 1"), QStringLiteral("private"));
    for (auto _ : st) benchmark::DoNotOptimize(DecryptArray(data));
    st.SetBytesProcessed(st.iterations() * kSize);
}
BENCHMARK(BM_DecryptArray)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vx::korva
