// Chunked deflate in worker threads, handed to one reader in file order.
#include "archive/deflate_pipeline.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

namespace vx {
namespace {

constexpr std::int64_t kWindow = 32 * 1024;
constexpr std::int64_t kProbeSize = 64 * 1024;

// Reads up to size bytes at offset; returns the count read, or -1 with errno set.
std::int64_t readAt(int fd, unsigned char* buffer, std::int64_t size, std::int64_t offset) {
    std::int64_t done = 0;
    while (done < size) {
        const ssize_t n = pread(fd, buffer + done, static_cast<size_t>(size - done), offset + done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += n;
    }
    return done;
}

}  // namespace

namespace {

// Runs deflate over the stream's pending input with the given flush, growing out as needed;
// produced counts the bytes of out in use. False when zlib fails.
bool run(z_stream& stream, int flush, std::vector<unsigned char>& out, std::size_t& produced) {
    for (;;) {
        stream.next_out = out.data() + produced;
        stream.avail_out = static_cast<uInt>(out.size() - produced);
        const int rc = deflate(&stream, flush);
        produced = out.size() - stream.avail_out;
        if (flush == Z_FINISH ? rc == Z_STREAM_END : stream.avail_in == 0 && stream.avail_out > 0)
            return true;
        if (rc != Z_OK && rc != Z_BUF_ERROR) return false;
        out.resize(out.size() * 2);
    }
}

// Level 0: the chunk is the file's bytes.
void readRaw(const QByteArray& path, std::int64_t offset, std::int64_t length, bool last,
             DeflatedChunk& out) {
    out.data.resize(static_cast<size_t>(length));
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    const std::int64_t got = fd < 0 ? -1 : readAt(fd, out.data.data(), length, offset);
    if (got < 0) out.error = QString::fromLocal8Bit(std::strerror(errno));
    if (fd >= 0) close(fd);
    out.data.resize(static_cast<size_t>(std::max<std::int64_t>(got, 0)));
    out.inBytes = std::max<std::int64_t>(got, 0);
    out.endsFile = last || got < length;
}

}  // namespace

void deflateChunk(z_stream& stream, int level, const QByteArray& path, std::int64_t offset,
                  std::int64_t length, bool last, std::vector<unsigned char>& input,
                  DeflatedChunk& out) {
    out.error.clear();
    out.data.clear();
    if (level == 0) {
        readRaw(path, offset, length, last, out);
        return;
    }
    const std::int64_t dict = std::min(offset, kWindow);
    input.resize(static_cast<size_t>(dict + length));
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    const std::int64_t got = fd < 0 ? -1 : readAt(fd, input.data(), dict + length, offset - dict);
    if (got < 0) out.error = QString::fromLocal8Bit(std::strerror(errno));
    if (fd >= 0) close(fd);
    if (got < 0) return;

    const std::int64_t n = std::max<std::int64_t>(0, got - dict);
    out.inBytes = n;
    out.endsFile = last || n < length;
    out.crc = crc32(0, input.data() + dict, static_cast<uInt>(n));
    deflateReset(&stream);
    deflateParams(&stream, level, Z_DEFAULT_STRATEGY);
    if (dict > 0 && got >= dict)
        deflateSetDictionary(&stream, input.data(), static_cast<uInt>(dict));
    out.data.resize(deflateBound(&stream, static_cast<uLong>(n)) + 64);
    std::size_t produced = 0;
    stream.next_in = input.data() + dict;
    // Media files do not shrink: when the chunk's first 64 KiB do not, the rest is written as
    // stored blocks, which costs a copy instead of a full search for matches.
    std::int64_t probe = std::min<std::int64_t>(n, kProbeSize);
    if (n < 4 * kProbeSize || level == 0) probe = 0;
    stream.avail_in = static_cast<uInt>(probe);
    bool ok = probe == 0 || run(stream, Z_BLOCK, out.data, produced);
    if (ok && probe > 0 && produced * 100 >= static_cast<std::size_t>(probe) * 98) {
        ok = deflateParams(&stream, 0, Z_DEFAULT_STRATEGY) == Z_OK;
        produced = static_cast<std::size_t>(stream.next_out - out.data.data());
    }
    stream.avail_in = static_cast<uInt>(n - probe);
    ok = ok && run(stream, out.endsFile ? Z_FINISH : Z_SYNC_FLUSH, out.data, produced);
    if (!ok) {
        out.error = QStringLiteral("the compressor failed");
        return;
    }
    out.data.resize(produced);
}

DeflatePipeline::DeflatePipeline(std::vector<File> files, int level, int threads)
    : m_files(std::move(files)), m_level(level) {
    for (int f = 0; f < static_cast<int>(m_files.size()); ++f) {
        const std::int64_t size = m_files[f].size;
        for (std::int64_t off = 0; off < size; off += kChunkSize)
            m_tasks.push_back({f, off, std::min(kChunkSize, size - off), off + kChunkSize >= size});
    }
    threads = std::max(1, threads);
    m_slots.resize(static_cast<size_t>(2 * threads + 2));
    try {
        for (int i = 0; i < threads; ++i) m_workers.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
        // No more threads to be had: the workers started do the job; with none, every file is
        // left to the reader (next() gives null).
        if (m_workers.empty()) m_head = m_tasks.size();
    }
}

DeflatePipeline::~DeflatePipeline() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_taskFreed.notify_all();
    for (std::thread& t : m_workers) t.join();
}

void DeflatePipeline::work() {
    z_stream stream{};
    const bool ready =
        deflateInit2(&stream, m_level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    std::vector<unsigned char> input;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_taskFreed.wait(lock, [this] {
            return m_stop || m_nextTask >= m_tasks.size() || m_nextTask - m_head < m_slots.size();
        });
        if (m_stop || m_nextTask >= m_tasks.size()) break;
        const std::size_t index = m_nextTask++;
        const Task task = m_tasks[index];
        Slot& slot = m_slots[index % m_slots.size()];
        lock.unlock();
        if (ready)
            deflateChunk(stream, m_level, m_files[task.file].path, task.offset, task.length,
                         task.last, input, slot.chunk);
        else
            slot.chunk.error = QStringLiteral("there is not enough memory to compress it");
        lock.lock();
        slot.ready = true;
        m_chunkDone.notify_all();
    }
    lock.unlock();
    if (ready) deflateEnd(&stream);
}

const DeflatedChunk* DeflatePipeline::next(int file, const std::function<void()>& idle) {
    std::unique_lock lock(m_mutex);
    auto waitReady = [&](Slot& slot) {
        while (!slot.ready) {
            if (m_chunkDone.wait_for(lock, std::chrono::milliseconds(20)) ==
                    std::cv_status::timeout &&
                idle) {
                lock.unlock();
                idle();
                lock.lock();
            }
        }
    };
    while (m_head < m_tasks.size() && m_tasks[m_head].file < file) {
        Slot& slot = m_slots[m_head % m_slots.size()];
        waitReady(slot);
        slot.ready = false;
        ++m_head;
        m_taskFreed.notify_all();
    }
    if (m_head >= m_tasks.size() || m_tasks[m_head].file != file) return nullptr;
    Slot& slot = m_slots[m_head % m_slots.size()];
    waitReady(slot);
    return &slot.chunk;
}

void DeflatePipeline::release() {
    {
        std::lock_guard lock(m_mutex);
        m_slots[m_head % m_slots.size()].ready = false;
        ++m_head;
    }
    m_taskFreed.notify_all();
}

}  // namespace vx
