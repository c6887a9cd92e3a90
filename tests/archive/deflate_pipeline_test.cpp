// Chunked deflate in worker threads: the chunks of a file joined in order inflate to the file,
// their CRCs combine to the file's, and they lose next to nothing against one single pass.
#include "archive/deflate_pipeline.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QFile>
#include <QTemporaryDir>
#include <random>

namespace vx {
namespace {

QByteArray sample(std::int64_t size, bool random, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray b;
    while (b.size() < size)
        b.append(random ? QByteArray(1, char(gen()))
                        : "word" + QByteArray::number(gen() % 5000) + ' ');
    return b.left(size);
}

QString writeFile(const QTemporaryDir& dir, const QByteArray& data) {
    const QString path = dir.filePath(QString::number(qHash(data)));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
    return path;
}

QByteArray inflateRaw(const QByteArray& in, qsizetype expected) {
    QByteArray out(expected + 1, '\0');
    z_stream s{};
    inflateInit2(&s, -15);
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    s.avail_in = uInt(in.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = uInt(out.size());
    const int rc = inflate(&s, Z_FINISH);
    out.resize(out.size() - s.avail_out);
    inflateEnd(&s);
    return rc == Z_STREAM_END ? out : QByteArray("<bad stream>");
}

std::size_t onePassSize(const QByteArray& in, int level) {
    z_stream s{};
    deflateInit2(&s, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> out(deflateBound(&s, in.size()));
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    s.avail_in = uInt(in.size());
    s.next_out = out.data();
    s.avail_out = uInt(out.size());
    deflate(&s, Z_FINISH);
    deflateEnd(&s);
    return out.size() - s.avail_out;
}

struct Joined {
    QByteArray data;
    uLong crc = crc32(0, nullptr, 0);
    std::int64_t in = 0;
    int chunks = 0;
};

Joined takeFile(DeflatePipeline& p, int file) {
    Joined j;
    for (;;) {
        const DeflatedChunk* c = p.next(file, {});
        if (!c) break;
        EXPECT_TRUE(c->error.isEmpty());
        j.data.append(reinterpret_cast<const char*>(c->data.data()), qsizetype(c->data.size()));
        j.crc = crc32_combine(j.crc, c->crc, c->inBytes);
        j.in += c->inBytes;
        ++j.chunks;
        const bool ends = c->endsFile;
        p.release();
        if (ends) break;
    }
    return j;
}

TEST(DeflatePipeline, ChunksJoinIntoTheFilesStream) {
    QTemporaryDir dir;
    const struct {
        std::int64_t size;
        bool random;
    } cases[] = {{1, false},
                 {kChunkSize - 1, false},
                 {kChunkSize, true},
                 {kChunkSize + 1, false},
                 {3 * kChunkSize + 5, false},
                 {2 * kChunkSize + 7, true}};
    std::vector<QByteArray> data;
    std::vector<DeflatePipeline::File> files;
    for (const auto& c : cases) {
        data.push_back(sample(c.size, c.random, unsigned(files.size())));
        files.push_back({QFile::encodeName(writeFile(dir, data.back())), c.size});
    }
    DeflatePipeline pipeline(files, 6, 2);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const Joined j = takeFile(pipeline, int(i));
        const QByteArray& in = data[i];
        EXPECT_EQ(j.in, in.size()) << "file " << i;
        EXPECT_EQ(j.chunks, int((in.size() + kChunkSize - 1) / kChunkSize));
        EXPECT_EQ(inflateRaw(j.data, in.size()), in) << "file " << i;
        EXPECT_EQ(j.crc, crc32(0, reinterpret_cast<const Bytef*>(in.constData()), uInt(in.size())));
        EXPECT_LE(std::size_t(j.data.size()), onePassSize(in, 6) + 64 * std::size_t(j.chunks));
    }
}

TEST(DeflatePipeline, ShrunkFileEndsAtItsRealEnd) {
    QTemporaryDir dir;
    const QByteArray in = sample(kChunkSize + kChunkSize / 2, false, 7);
    const QString path = writeFile(dir, in);
    // Announced as four chunks long, the file holds one and a half; a second file follows.
    DeflatePipeline pipeline(
        {{QFile::encodeName(path), 4 * kChunkSize}, {QFile::encodeName(path), in.size()}}, 1, 2);
    const Joined shrunk = takeFile(pipeline, 0);
    EXPECT_EQ(shrunk.chunks, 2);
    EXPECT_EQ(inflateRaw(shrunk.data, in.size()), in);
    EXPECT_EQ(inflateRaw(takeFile(pipeline, 1).data, in.size()), in);  // leftovers dropped
}

TEST(DeflatePipeline, AFileAskedOutOfOrderIsLeftToTheCaller) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "abc");
    DeflatePipeline pipeline({{QFile::encodeName(path), 3}, {QFile::encodeName(path), 3}}, 6, 1);
    EXPECT_EQ(inflateRaw(takeFile(pipeline, 1).data, 3), QByteArray("abc"));
    EXPECT_EQ(pipeline.next(0, {}), nullptr);
    const QByteArray missing = QFile::encodeName(dir.filePath(QStringLiteral("none")));
    DeflatePipeline failing({{missing, 10}}, 6, 1);
    const DeflatedChunk* c = failing.next(0, {});
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->error.isEmpty());
}

}  // namespace
}  // namespace vx
