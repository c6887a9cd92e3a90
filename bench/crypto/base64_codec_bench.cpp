// Base64 encode and decode throughput with 60-character lines, in raw bytes.
#include <benchmark/benchmark.h>

#include "tests/support/sample_data.h"
#include "crypto/base64_codec.h"

namespace {

using namespace vx::korva;

void BM_Base64Encode(benchmark::State& st) {
    const QByteArray input = vx::sample::randomBytes(st.range(0));
    for (auto _ : st) benchmark::DoNotOptimize(Base64Encode(input, 60).constData());
    st.SetBytesProcessed(st.iterations() * input.size());
}

void BM_Base64Decode(benchmark::State& st) {
    const QByteArray input = vx::sample::randomBytes(st.range(0));
    const QByteArray text = Base64Encode(input, 60);
    for (auto _ : st) benchmark::DoNotOptimize(Base64Decode(text).constData());
    st.SetBytesProcessed(st.iterations() * input.size());
}

BENCHMARK(BM_Base64Encode)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base64Decode)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
