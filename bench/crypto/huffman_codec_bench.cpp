// Huffman encode and decode throughput on English-like text and on random bytes, measured in
// input bytes (encode) and output bytes (decode), yields and checkpoints included.
#include <benchmark/benchmark.h>

#include "tests/support/sample_data.h"
#include "crypto/huffman_codec.h"
#include "crypto/korva_state.h"

namespace {

using namespace vx::korva;

QByteArray inputFor(int kind, qsizetype n) {
    return kind == 0 ? vx::sample::englishLikeText(n) : vx::sample::randomBytes(n);
}

void BM_HuffmanEncode(benchmark::State& st) {
    const QByteArray input = inputFor(static_cast<int>(st.range(0)), st.range(1));
    resetState();
    for (auto _ : st) {
        QByteArray a = input;  // shared, not copied: the encoder only reads it
        HuffmanEncode(a, a.size());
        benchmark::DoNotOptimize(a.constData());
    }
    st.SetBytesProcessed(st.iterations() * input.size());
    QByteArray a = input;
    HuffmanEncode(a, a.size());
    st.counters["ratio"] = static_cast<double>(a.size()) / static_cast<double>(input.size());
}

void BM_HuffmanDecode(benchmark::State& st) {
    const QByteArray input = inputFor(static_cast<int>(st.range(0)), st.range(1));
    QByteArray block = input;
    HuffmanEncode(block, block.size());
    resetState();
    for (auto _ : st) {
        QByteArray a = block;
        if (!HuffmanDecode(a, a.size()).isOk()) st.SkipWithError("decode failed");
        benchmark::DoNotOptimize(a.constData());
    }
    st.SetBytesProcessed(st.iterations() * input.size());
}

// Kind 0 = English-like text, 1 = random bytes.
BENCHMARK(BM_HuffmanEncode)
    ->Args({0, 2048})
    ->Args({0, 1 << 16})
    ->Args({0, 8 << 20})
    ->Args({1, 8 << 20})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HuffmanDecode)
    ->Args({0, 2048})
    ->Args({0, 1 << 16})
    ->Args({0, 8 << 20})
    ->Args({1, 8 << 20})
    ->Unit(benchmark::kMillisecond);

}  // namespace
