// A zip source over one local file, stored or deflated ahead of time.
#include "archive/file_source.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vx {

FileSource::FileSource(AddedFile file, AddSink* sink, std::vector<unsigned char>* readBuffer)
    : m_file(std::move(file)),
      m_store(m_file.size == 0 || m_file.level <= 0),
      m_sink(sink),
      m_buffer(*readBuffer) {
    zip_error_init(&m_error);
}

FileSource::~FileSource() {
    if (m_fd >= 0) ::close(m_fd);
    if (m_streamReady) deflateEnd(&m_stream);
    zip_error_fini(&m_error);
}

void FileSource::attach(DeflatePipeline* pipeline, int index) {
    m_pipeline = pipeline;
    m_pipelineIndex = index;
}

zip_source_t* FileSource::create(zip_error_t* error) {
    return zip_source_function_create(&FileSource::callback, this, error);
}

zip_int64_t FileSource::callback(void* self, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* me = static_cast<FileSource*>(self);
    switch (cmd) {
        case ZIP_SOURCE_OPEN:
            return me->open();
        case ZIP_SOURCE_READ:
            return me->read(static_cast<unsigned char*>(data), len);
        case ZIP_SOURCE_CLOSE:
            if (me->m_fd >= 0) ::close(me->m_fd);
            me->m_fd = -1;
            me->dropChunk();
            return 0;
        case ZIP_SOURCE_STAT:
            if (len < sizeof(zip_stat_t)) return -1;
            me->stat(static_cast<zip_stat_t*>(data));
            return sizeof(zip_stat_t);
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&me->m_error, data, len);
        case ZIP_SOURCE_FREE:
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                  ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default:
            zip_error_set(&me->m_error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

zip_int64_t FileSource::fail(int zipError, const QString& why) {
    zip_error_set(&m_error, zipError, errno);
    m_failure = why;
    return -1;
}

zip_int64_t FileSource::open() {
    m_done = 0;
    m_crc = crc32(0, nullptr, 0);
    m_finished = m_file.size == 0;
    m_nextOffset = 0;
    m_bufferPos = m_bufferEnd = 0;
    m_sink->started(m_file.storedName);
    return 0;
}

zip_int64_t FileSource::readStored(unsigned char* data, zip_uint64_t len) {
    // libzip asks for a few KiB at a time; read a megabyte at once instead. Reads
    // no further than the size seen when the file was chosen, so a growing file (a log being
    // written) gives a consistent snapshot.
    if (m_fd < 0) m_fd = ::open(m_file.path.constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) return fail(ZIP_ER_OPEN, QString::fromLocal8Bit(std::strerror(errno)));
    if (m_bufferPos == m_bufferEnd) {
        m_buffer.resize(kChunkSize);
        const std::int64_t want = std::min<std::int64_t>(static_cast<std::int64_t>(m_buffer.size()),
                                                         m_file.size - m_done);
        ssize_t n = 0;
        do {
            n = want > 0 ? ::read(m_fd, m_buffer.data(), static_cast<size_t>(want)) : 0;
        } while (n < 0 && errno == EINTR);
        if (n < 0) return fail(ZIP_ER_READ, QString::fromLocal8Bit(std::strerror(errno)));
        m_bufferPos = 0;
        m_bufferEnd = static_cast<std::size_t>(n);
        m_done += n;
        if (n == 0) m_finished = true;
        m_sink->advanced(n);
    }
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(len), m_bufferEnd - m_bufferPos);
    std::memcpy(data, m_buffer.data() + m_bufferPos, n);
    m_bufferPos += n;
    return static_cast<zip_int64_t>(n);
}

bool FileSource::takeChunk() {
    m_chunk = nullptr;
    if (m_pipeline) {
        m_chunk = m_pipeline->next(m_pipelineIndex, [this] { m_sink->idle(); });
        if (!m_chunk) m_pipeline = nullptr;  // it has moved past this file: work here
    }
    m_chunkFromPipeline = m_chunk != nullptr;
    if (!m_chunk && m_store) return true;  // read directly
    if (!m_chunk) {
        if (!m_streamReady) {
            if (deflateInit2(&m_stream, m_file.level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) !=
                Z_OK)
                return false;
            m_streamReady = true;
        }
        const std::int64_t length = std::min(kChunkSize, m_file.size - m_nextOffset);
        deflateChunk(m_stream, m_file.level, m_file.path, m_nextOffset, length,
                     m_nextOffset + length >= m_file.size, m_input, m_own);
        m_chunk = &m_own;
    }
    m_nextOffset += kChunkSize;
    m_chunkPos = 0;
    m_crc = crc32_combine(m_crc, m_chunk->crc, m_chunk->inBytes);
    m_done += m_chunk->inBytes;
    if (m_chunk->endsFile) m_finished = true;
    m_sink->advanced(m_chunk->inBytes);
    return true;
}

void FileSource::dropChunk() {
    if (m_chunk && m_chunkFromPipeline) m_pipeline->release();
    m_chunk = nullptr;
}

zip_int64_t FileSource::read(unsigned char* data, zip_uint64_t len) {
    m_sink->idle();
    if (m_store && !m_pipeline) return readStored(data, len);
    for (;;) {
        if (m_chunk && m_chunkPos < m_chunk->data.size()) {
            const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(len),
                                                        m_chunk->data.size() - m_chunkPos);
            std::memcpy(data, m_chunk->data.data() + m_chunkPos, n);
            m_chunkPos += n;
            return static_cast<zip_int64_t>(n);
        }
        dropChunk();
        if (m_finished) return 0;
        if (!takeChunk()) return fail(ZIP_ER_MEMORY, QStringLiteral("out of memory"));
        if (!m_chunk) return readStored(data, len);
        if (!m_chunk->error.isEmpty()) {
            errno = EIO;
            const QString why = m_chunk->error;
            dropChunk();
            return fail(ZIP_ER_READ, why);
        }
    }
}

void FileSource::stat(zip_stat_t* st) const {
    zip_stat_init(st);
    st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME | ZIP_STAT_COMP_METHOD;
    st->size = static_cast<zip_uint64_t>(m_finished ? m_done : m_file.size);
    st->mtime = m_file.mtime;
    st->comp_method = m_store ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
    if (!m_store && m_finished) {
        st->valid |= ZIP_STAT_CRC;
        st->crc = static_cast<zip_uint32_t>(m_crc);
    }
}

}  // namespace vx
