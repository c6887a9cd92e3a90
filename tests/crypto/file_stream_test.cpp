// Files encrypted and restored in pieces: every size around the piece boundaries and the
// stored/compressed decision, each output checked against the in-memory codec as reference
// (deciphered with the reference cipher, its block must equal HuffmanEncode of the content),
// the interop samples at several piece sizes, a source that changes between the two readings,
// and cancelling while the stages run.
#include "crypto/file_stream.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "crypto/file_crypto.h"
#include "crypto/huffman_codec.h"
#include "crypto_files.h"
#include "sample_data.h"

namespace vx::korva {
namespace {

using test::listing;
using test::readFile;

const QString kKey = QStringLiteral("Correct Horse 9");
constexpr qsizetype kMiB = qsizetype(1) << 20;

QByteArray content(char kind, qsizetype n) {
    switch (kind) {
        case 't': return sample::englishLikeText(n);
        case 'r': return sample::randomBytes(n);
        case 'z': return QByteArray(n, 'z');                       // one repeated value
        case 'y': return QByteArray(n - 1, 'z') + 'y';             // and one other byte
        default: {                                                 // every value equally often
            QByteArray a(n, 0);
            for (qsizetype i = 0; i < n; ++i) a[i] = char(i & 255);
            return a;
        }
    }
}

// Splits an encrypted file deciphered with the reference cipher into its pieces; the block
// must be what the in-memory encoder makes of the content.
void expectLayout(const QByteArray& file, const QByteArray& plain, const QByteArray& ext) {
    ASSERT_EQ(file.left(29), cryptoFileBanner());
    QByteArray rest = file.mid(29);
    Cipher c(kKey.toLatin1(), {});
    c.decrypt(reinterpret_cast<const uint8_t*>(rest.constData()),
              reinterpret_cast<uint8_t*>(rest.data()), size_t(rest.size()));
    const int L = uint8_t(rest[0]);
    ASSERT_GE(L, 32);
    EXPECT_EQ(rest.mid(L, ext.size() + 1), ext + '\0');
    QByteArray reference = plain;
    HuffmanEncode(reference, reference.size());
    const qsizetype start = L + ext.size() + 1;
    EXPECT_EQ(rest.mid(start, rest.size() - start - 2), reference) << plain.size();
    EXPECT_EQ(rest.right(2), rest.mid(L - 2, 2));
}

// The progress of one run only rises, and the run ends by clearing it; starts the next record.
void expectRisingThenCleared(std::vector<int>& drawn) {
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), 0);
    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end() - 1)) << ::testing::PrintToString(drawn);
    drawn.clear();
}

class FileStreamTest : public test::CryptoFolder {
protected:
    ~FileStreamTest() override { setStreamChunkSize(0); }
};

TEST_F(FileStreamTest, EverySizeAroundTheBoundariesMatchesTheInMemoryCodec) {
    // Piece size (0: the default 1 MiB), content kind, sizes; 'a' holds every byte value
    // equally often, so its packed data is exactly as long as the input (still compressed).
    // clang-format off
    const struct { qsizetype chunk; char kind; std::vector<qsizetype> sizes; } cases[] = {
        {7, 't', {1, 2, 6, 7, 8, 13, 14, 15, 300}},
        {64, 'r', {1, 63, 64, 65, 5000, 5001, 10007}},
        {100, 'z', {1, 99, 100, 101, 1000}}, {100, 'y', {2, 99, 100, 101, 1000}},
        {256, 'a', {256, 512, 513}}, {4096, 't', {70000}},
        {0, 't', {kMiB - 1, kMiB, kMiB + 1}}, {0, 'r', {kMiB + 1, 2 * kMiB + 5}}};
    // clang-format on
    for (const auto& c : cases) {
        setStreamChunkSize(c.chunk);
        for (const qsizetype n : c.sizes) {
            const QByteArray plain = content(c.kind, n);
            const QString src = make("in.Dat", plain);
            ::chmod(QFile::encodeName(src).constData(), 0640);
            const QString uzp = FileCrypto(src, path("out"), kKey, {});
            ASSERT_EQ(uzp, path("out.uzp")) << state().ErrorMessage.toStdString();
            expectRisingThenCleared(guard.sink.drawn);
            expectLayout(readFile(uzp), plain, "dat");
            // The in-memory writer's file reads back through the streamed reader too.
            QByteArray block = plain;
            SealedPieces pieces;
            ASSERT_EQ(sealContent(block, "dat", kKey, {}, pieces), 0);
            guard.sink.drawn.clear();
            const QString sealed =
                make("memory.uzp", cryptoFileBanner() + pieces.header + block + pieces.check);
            for (const QString& from : {uzp, sealed}) {
                const QString back = FileCrypto(from, path("back"), kKey, {});
                ASSERT_EQ(back, path("back.dat")) << state().ErrorMessage.toStdString();
                EXPECT_EQ(readFile(back), plain) << c.kind << n;
                EXPECT_EQ(QFileInfo(back).permissions(), QFileInfo(from).permissions());
                expectRisingThenCleared(guard.sink.drawn);
            }
            EXPECT_EQ(listing(dir.path()),
                      QStringList({"back.dat", "in.Dat", "memory.uzp", "out.uzp"}));
            EXPECT_EQ(QFileInfo(uzp).permissions(), QFileInfo(src).permissions());
        }
    }
}

TEST_F(FileStreamTest, SamplesOfAnIndependentImplementationAtEveryPieceSize) {
    const QByteArray text = readFile(test::sampleFile("english_3k.txt"));
    for (const qsizetype chunk : {qsizetype(1), qsizetype(5), qsizetype(64), qsizetype(0)}) {
        setStreamChunkSize(chunk);
        const QString sealed =
            make("sample.uzp", readFile(test::sampleFile("english_3k__pepper.uzp")));
        ASSERT_EQ(FileCrypto(sealed, sealed, "Tr0ub4dor&3x", "pepper"), path("sample.txt"))
            << state().ErrorMessage.toStdString();
        EXPECT_EQ(readFile(path("sample.txt")), text);
        // Encrypting it again gives the in-memory block, which is the sample's own (huffman test).
        const QString again = FileCrypto(path("sample.txt"), path("again"), kKey, {});
        expectLayout(readFile(again), text, "txt");
        QFile::remove(path("sample.txt"));
        QFile::remove(again);
    }
}

TEST_F(FileStreamTest, ASourceThatChangesBetweenTheReadingsIsRefused) {
    setStreamChunkSize(64 * 1024);
    const QByteArray plain = sample::englishLikeText(600000);
    // What happens to the source at the first yield (while it is counted).
    enum Change { Grows, SameSizeAndTime, Replaced };
    for (const Change change : {Grows, SameSizeAndTime, Replaced}) {
        const QString src = make("moving.txt", plain);
        QByteArray now = plain;
        bool done = false;
        setYieldHook([&] {
            if (done) return;
            done = true;
            struct stat before {};
            ::stat(QFile::encodeName(src).constData(), &before);
            if (change == Grows) now += "more";
            else now[0] = 'X';
            if (change == Replaced) {
                make("new.txt", now);
                QFile::remove(src);
                QFile::rename(path("new.txt"), src);
                return;
            }
            QFile f(src);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.write(now);
            f.close();
            const struct timespec times[2] = {before.st_atim, before.st_mtim};
            if (change == SameSizeAndTime) ::utimensat(AT_FDCWD, QFile::encodeName(src), times, 0);
        });
        EXPECT_EQ(FileCrypto(src, src, kKey, {}), src);
        EXPECT_EQ(state().ErrorCode, 12) << int(change);
        EXPECT_EQ(state().ErrorMessage,
                  "File error: The source changed while it was read (size, time or content); "
                  "nothing was written (Error 12)");
        EXPECT_EQ(listing(dir.path()), QStringList{"moving.txt"});
        EXPECT_EQ(readFile(src), now);
    }
}

TEST_F(FileStreamTest, CancellingWhileTheStagesRunLeavesNoFile) {
    setStreamChunkSize(16 * 1024);
    const QString plain = make("big.txt", sample::englishLikeText(300000));
    const QString sealed = FileCrypto(plain, path("big"), kKey, {});  // big.uzp beside it
    const QByteArray plainBytes = readFile(plain), sealedBytes = readFile(sealed);
    // Source, the yield that aborts (1: counting or the first piece), the code.
    const std::tuple<QString, int, int> cases[] = {
        {plain, 1, 11}, {plain, 8, 11}, {plain, 25, 11}, {sealed, 1, 21}, {sealed, 20, 21}};
    for (const auto& [source, abortAt, code] : cases) {
        guard.restart(abortAt);
        EXPECT_EQ(FileCrypto(source, path("out"), kKey, {}), source);
        EXPECT_EQ(state().ErrorCode, code) << abortAt;
        EXPECT_EQ(guard.yields, abortAt);
        EXPECT_EQ(guard.sink.drawn.back(), 0);
        EXPECT_EQ(listing(dir.path()), QStringList({"big.txt", "big.uzp"}));
        EXPECT_EQ(readFile(plain), plainBytes);
        EXPECT_EQ(readFile(sealed), sealedBytes);
    }
}

}  // namespace
}  // namespace vx::korva
