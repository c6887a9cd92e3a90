// FileCrypto on a 256 MiB file beside the sum of its stages, each timed on its own: read,
// compression, salt and key set-up, ciphering and write when encrypting; read, deciphering,
// expansion and write when decrypting. Argument 0: random bytes (like a zip archive, stored
// uncompressed); 1: English-like text (compressed).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/sample_data.h"
#include "crypto/cipher.h"
#include "crypto/file_crypto.h"
#include "crypto/huffman_codec.h"
#include "crypto/korva_state.h"
#include "crypto/salt.h"
#include "crypto/whole_file.h"
#include "core/atomic_write.h"

namespace vx::korva {
namespace {

constexpr qsizetype kFileSize = qsizetype(256) << 20;
const QString kKey = QStringLiteral("Benchmark Key 1");

// One folder with the plain file and its encrypted form, made once per content kind.
struct Files {
    QTemporaryDir dir;
    QString plain, sealed;
    explicit Files(int kind) {
        plain = dir.filePath(QStringLiteral("input.bin"));
        const QByteArray bytes =
            kind == 0 ? vx::sample::randomBytes(kFileSize) : vx::sample::englishLikeText(kFileSize);
        (void)vx::writeFileAtomically(plain, {std::string_view(bytes.constData(), size_t(bytes.size()))});
        sealed = FileCrypto(plain, dir.filePath(QStringLiteral("sealed")), kKey, QString());
    }
};

Files& files(int kind) {
    static Files* made[2] = {nullptr, nullptr};
    if (!made[kind]) made[kind] = new Files(kind);
    return *made[kind];
}

void finish(benchmark::State& st) {
    st.SetBytesProcessed(st.iterations() * kFileSize);
    st.SetLabel(st.range(0) == 0 ? "random" : "text");
}

void BM_FileEncrypt(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    for (auto _ : st)
        benchmark::DoNotOptimize(FileCrypto(f.plain, f.dir.filePath(QStringLiteral("out")), kKey,
                                            QString()));
    finish(st);
}

void BM_FileDecrypt(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    for (auto _ : st)
        benchmark::DoNotOptimize(FileCrypto(f.sealed, f.dir.filePath(QStringLiteral("back")),
                                            kKey, QString()));
    finish(st);
}

void BM_StageReadPlain(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    for (auto _ : st) benchmark::DoNotOptimize(readWholeFile(f.plain).isOk());
    finish(st);
}

void BM_StageReadSealed(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    for (auto _ : st) benchmark::DoNotOptimize(readWholeFile(f.sealed).isOk());
    finish(st);
}

void BM_StageCompress(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    const QByteArray input = readWholeFile(f.plain).value();
    for (auto _ : st) {
        st.PauseTiming();
        QByteArray a = input;
        a.detach();
        st.ResumeTiming();
        HuffmanEncode(a, a.size());
        benchmark::DoNotOptimize(a.data());
    }
    finish(st);
}

void BM_StageSaltAndKey(benchmark::State& st) {
    for (auto _ : st) {
        benchmark::DoNotOptimize(CreateSalt());
        InitCipher(kKey, QString());
    }
}

void BM_StageEncipher(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    QByteArray block = readWholeFile(f.plain).value();
    HuffmanEncode(block, block.size());
    for (auto _ : st) {
        InitCipher(kKey, QString());
        benchmark::DoNotOptimize(EncryptArray(block));
    }
    finish(st);
}

void BM_StageWriteSealed(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    const QByteArray sealed = readWholeFile(f.sealed).value();
    const QString out = f.dir.filePath(QStringLiteral("written.uzp"));
    for (auto _ : st)
        benchmark::DoNotOptimize(
            vx::writeFileAtomically(out, {std::string_view(sealed.constData(), size_t(sealed.size()))})
                .isOk());
    finish(st);
}

void BM_StageDecipher(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    QByteArray a = readWholeFile(f.sealed).value();
    auto* p = reinterpret_cast<uint8_t*>(a.data());
    for (auto _ : st) {
        InitCipher(kKey, QString());
        // moves the block down by the header size, as the decoder does
        benchmark::DoNotOptimize(DecryptArray(p + 300, p, a.size() - 302));
    }
    finish(st);
}

void BM_StageExpand(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    QByteArray block = readWholeFile(f.plain).value();
    HuffmanEncode(block, block.size());
    for (auto _ : st) {
        st.PauseTiming();
        QByteArray a = block;
        a.detach();
        st.ResumeTiming();
        benchmark::DoNotOptimize(HuffmanDecode(a, a.size()).isOk());
    }
    finish(st);
}

void BM_StageWritePlain(benchmark::State& st) {
    Files& f = files(int(st.range(0)));
    const QByteArray plain = readWholeFile(f.plain).value();
    const QString out = f.dir.filePath(QStringLiteral("written.bin"));
    for (auto _ : st)
        benchmark::DoNotOptimize(
            vx::writeFileAtomically(out, {std::string_view(plain.constData(), size_t(plain.size()))})
                .isOk());
    finish(st);
}

#define FILE_BENCH(fn) \
    BENCHMARK(fn)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime()

FILE_BENCH(BM_FileEncrypt);
FILE_BENCH(BM_StageReadPlain);
FILE_BENCH(BM_StageCompress);
BENCHMARK(BM_StageSaltAndKey)->Unit(benchmark::kMicrosecond);
FILE_BENCH(BM_StageEncipher);
FILE_BENCH(BM_StageWriteSealed);
FILE_BENCH(BM_FileDecrypt);
FILE_BENCH(BM_StageReadSealed);
FILE_BENCH(BM_StageDecipher);
FILE_BENCH(BM_StageExpand);
FILE_BENCH(BM_StageWritePlain);

}  // namespace
}  // namespace vx::korva
