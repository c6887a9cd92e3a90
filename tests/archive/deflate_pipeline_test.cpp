// Chunked deflate in worker threads: the chunks of a file joined in order inflate to the file,
// their CRCs combine to the file's, and they lose next to nothing against one single pass.
#include "archive/deflate_pipeline.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QFile>
#include <QTemporaryDir>

#include "sample_data.h"
#include "temp_home.h"

namespace vx {
namespace {

// Writes the bytes to a file of the folder named after n; returns its local path.
QByteArray fileOf(const QTemporaryDir& dir, int n, const QByteArray& data) {
    return QFile::encodeName(test::writeFile(dir.filePath(QString::number(n)), data));
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
    const struct { std::int64_t size; bool random; } cases[] = {
        // clang-format off
        {1, false}, {kChunkSize - 1, false}, {kChunkSize, true}, {kChunkSize + 1, false},
        {3 * kChunkSize + 5, false}, {2 * kChunkSize + 7, true},
        // clang-format on
    };
    std::vector<QByteArray> data;
    std::vector<DeflatePipeline::File> files;
    for (const auto& c : cases) {
        const auto seed = std::uint32_t(files.size());
        data.push_back(c.random ? sample::randomBytes(c.size, seed)
                                : sample::englishLikeText(c.size, seed));
        files.push_back({fileOf(dir, int(seed), data.back()), c.size});
    }
    DeflatePipeline pipeline(files, 6, 2);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const Joined j = takeFile(pipeline, int(i));
        const QByteArray& in = data[i];
        EXPECT_EQ(j.in, in.size()) << "file " << i;
        EXPECT_EQ(j.chunks, int((in.size() + kChunkSize - 1) / kChunkSize));
        EXPECT_EQ(inflateRaw(j.data, in.size()), in) << "file " << i;
        EXPECT_EQ(j.crc, crc32(0, reinterpret_cast<const Bytef*>(in.constData()), uInt(in.size())));
        // qCompress adds 10 bytes around one raw deflate pass: length, zlib header, Adler-32.
        EXPECT_LE(j.data.size(), qCompress(in, 6).size() - 10 + 64 * j.chunks) << "file " << i;
    }
}

TEST(DeflatePipeline, ShrunkFileEndsAtItsRealEnd) {
    QTemporaryDir dir;
    const QByteArray in = sample::englishLikeText(kChunkSize + kChunkSize / 2);
    const QByteArray path = fileOf(dir, 0, in);
    // Announced as four chunks long, the file holds one and a half; a second file follows.
    DeflatePipeline pipeline({{path, 4 * kChunkSize}, {path, in.size()}}, 1, 2);
    const Joined shrunk = takeFile(pipeline, 0);
    EXPECT_EQ(shrunk.chunks, 2);
    EXPECT_EQ(inflateRaw(shrunk.data, in.size()), in);
    EXPECT_EQ(inflateRaw(takeFile(pipeline, 1).data, in.size()), in);  // leftovers dropped
}

TEST(DeflatePipeline, AFileAskedOutOfOrderIsLeftToTheCaller) {
    QTemporaryDir dir;
    const QByteArray path = fileOf(dir, 0, "abc");
    DeflatePipeline pipeline({{path, 3}, {path, 3}}, 6, 1);
    EXPECT_EQ(inflateRaw(takeFile(pipeline, 1).data, 3), QByteArray("abc"));
    EXPECT_EQ(pipeline.next(0, {}), nullptr);
    DeflatePipeline failing({{QFile::encodeName(dir.filePath(QStringLiteral("none"))), 10}}, 6, 1);
    const DeflatedChunk* c = failing.next(0, {});
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->error.isEmpty());
}

}  // namespace
}  // namespace vx
