// libzip's file source behind a gathering, threaded writer.
#include "archive/archive_output.h"

#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <system_error>

namespace vx {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;
constexpr std::size_t kMaxQueued = 4 << 20;

void copyError(zip_error_t& to, const zip_error_t* from) {
    zip_error_set(&to, zip_error_code_zip(from), zip_error_code_system(from));
}

}  // namespace

ArchiveOutput::ArchiveOutput() {
    zip_error_init(&m_error);
    zip_error_init(&m_writeError);
}

ArchiveOutput::~ArchiveOutput() {
    stopWorker();
    if (m_inner) zip_source_free(m_inner);
    zip_error_fini(&m_error);
    zip_error_fini(&m_writeError);
}

ZipArchive ArchiveOutput::open(const QString& path, int flags, QString& message) {
    m_path = QFile::encodeName(path);
    zip_error_t error;
    zip_error_init(&error);
    m_inner = zip_source_file_create(m_path.constData(), 0, -1, &error);
    zip_source_t* outer =
        m_inner ? zip_source_function_create(&ArchiveOutput::callback, this, &error) : nullptr;
    zip_t* za = outer ? zip_open_from_source(outer, flags, &error) : nullptr;
    if (!za) {
        if (outer) zip_source_free(outer);  // frees the inner source too
        message = openFailureMessage(path, error);
    }
    zip_error_fini(&error);
    return ZipArchive(za);
}

zip_int64_t ArchiveOutput::callback(void* self, void* data, zip_uint64_t len,
                                    zip_source_cmd_t cmd) {
    auto* me = static_cast<ArchiveOutput*>(self);
    switch (cmd) {
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE,
                ZIP_SOURCE_WRITE, ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_SUPPORTS,
                ZIP_SOURCE_REMOVE, -1);
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&me->m_error, data, len);
        case ZIP_SOURCE_FREE:
            me->stopWorker();
            zip_source_free(me->m_inner);
            me->m_inner = nullptr;
            return 0;
        case ZIP_SOURCE_BEGIN_WRITE:
            return me->beginWrite();
        case ZIP_SOURCE_WRITE:
            return me->write(data, len);
        case ZIP_SOURCE_SEEK_WRITE: {
            const auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, len, &me->m_error);
            return args ? me->seekWrite(*args) : -1;
        }
        case ZIP_SOURCE_TELL_WRITE:
            return me->m_position;
        case ZIP_SOURCE_COMMIT_WRITE:
            return me->endWrite(true);
        case ZIP_SOURCE_ROLLBACK_WRITE:
            return me->endWrite(false);
        case ZIP_SOURCE_REMOVE:
            if (::unlink(me->m_path.constData()) == 0 || errno == ENOENT) return 0;
            zip_error_set(&me->m_error, ZIP_ER_REMOVE, errno);
            return -1;
        default:
            return me->forward(data, len, cmd);
    }
}

zip_int64_t ArchiveOutput::forward(void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    std::lock_guard lock(m_innerMutex);
    zip_int64_t rc = -1;
    switch (cmd) {
        case ZIP_SOURCE_OPEN:
            rc = zip_source_open(m_inner);
            break;
        case ZIP_SOURCE_READ:
            rc = zip_source_read(m_inner, data, len);
            break;
        case ZIP_SOURCE_CLOSE:
            rc = zip_source_close(m_inner);
            break;
        case ZIP_SOURCE_STAT:
            if (len < sizeof(zip_stat_t)) break;
            rc = zip_source_stat(m_inner, static_cast<zip_stat_t*>(data)) < 0 ? -1
                                                                              : sizeof(zip_stat_t);
            break;
        case ZIP_SOURCE_SEEK: {
            const auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, len, &m_error);
            if (!args) return -1;
            rc = zip_source_seek(m_inner, args->offset, args->whence);
            break;
        }
        case ZIP_SOURCE_TELL:
            rc = zip_source_tell(m_inner);
            break;
        default:
            zip_error_set(&m_error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
    if (rc < 0) copyError(m_error, zip_source_error(m_inner));
    return rc;
}

zip_int64_t ArchiveOutput::beginWrite() {
    {
        std::lock_guard lock(m_innerMutex);
        if (zip_source_begin_write(m_inner) < 0) {
            copyError(m_error, zip_source_error(m_inner));
            return -1;
        }
    }
    m_position = 0;
    m_current = Block();
    if (!m_worker.joinable()) {
        m_stop = false;
        try {
            m_worker = std::thread([this] { work(); });
        } catch (const std::system_error&) {
            // No thread to be had: queue() writes each block itself.
        }
    }
    return 0;
}

zip_int64_t ArchiveOutput::write(const void* data, zip_uint64_t len) {
    {
        std::lock_guard lock(m_mutex);
        if (m_writeFailed) return failed();
        if (m_current.bytes.capacity() == 0 && !m_spare.empty()) {
            m_current.bytes = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    m_current.bytes.reserve(kBlockSize);
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (zip_uint64_t done = 0; done < len;) {
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(len - done),
                                                    kBlockSize - m_current.bytes.size());
        m_current.bytes.insert(m_current.bytes.end(), bytes + done, bytes + done + n);
        done += n;
        if (m_current.bytes.size() == kBlockSize) queue(std::exchange(m_current, Block()));
    }
    m_position += static_cast<zip_int64_t>(len);
    return static_cast<zip_int64_t>(len);
}

zip_int64_t ArchiveOutput::seekWrite(const zip_source_args_seek_t& args) {
    if (!m_current.bytes.empty()) queue(std::exchange(m_current, Block()));
    if (args.whence == SEEK_SET && args.offset >= 0) {
        // libzip goes back to fill in a local header, then on to the end: keep such moves in
        // order with the blocks instead of waiting for the disk.
        m_current.seekTo = args.offset;
        m_position = args.offset;
        return 0;
    }
    if (m_current.seekTo >= 0) queue(std::exchange(m_current, Block()));
    if (!drain()) return failed();
    std::lock_guard lock(m_innerMutex);
    zip_int64_t position = -1;
    if (zip_source_seek_write(m_inner, args.offset, args.whence) == 0)
        position = zip_source_tell_write(m_inner);
    if (position < 0) {
        copyError(m_error, zip_source_error(m_inner));
        return -1;
    }
    m_position = position;
    return 0;
}

zip_int64_t ArchiveOutput::endWrite(bool commit) {
    if (commit) {
        if (!m_current.bytes.empty() || m_current.seekTo >= 0)
            queue(std::exchange(m_current, Block()));
        if (!drain()) return failed();
    } else {
        m_current = Block();
        std::unique_lock lock(m_mutex);
        m_queue.clear();
        m_queuedBytes = 0;
        m_changed.wait(lock, [this] { return !m_writing; });
        m_writeFailed = false;
    }
    std::lock_guard lock(m_innerMutex);
    if (!commit) {
        zip_source_rollback_write(m_inner);
        return 0;
    }
    if (zip_source_commit_write(m_inner) == 0) return 0;
    copyError(m_error, zip_source_error(m_inner));
    return -1;
}

bool ArchiveOutput::writeBlock(const Block& block) {
    std::lock_guard lock(m_innerMutex);
    bool ok = block.seekTo < 0 || zip_source_seek_write(m_inner, block.seekTo, SEEK_SET) == 0;
    for (std::size_t done = 0; ok && done < block.bytes.size();) {
        const zip_int64_t n =
            zip_source_write(m_inner, block.bytes.data() + done, block.bytes.size() - done);
        ok = n > 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    if (!ok) copyError(m_writeError, zip_source_error(m_inner));
    return ok;
}

void ArchiveOutput::queue(Block block) {
    if (!m_worker.joinable()) {
        if (!m_writeFailed && !writeBlock(block)) m_writeFailed = true;
        return;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queuedBytes < kMaxQueued || m_writeFailed; });
    if (m_writeFailed) return;  // dropped: the failure shows at the next write or the commit
    m_queuedBytes += block.bytes.size();
    m_queue.push_back(std::move(block));
    m_changed.notify_all();
}

bool ArchiveOutput::drain() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_queue.empty() && !m_writing) || m_writeFailed; });
    return !m_writeFailed;
}

zip_int64_t ArchiveOutput::failed() {
    zip_error_set(&m_error, zip_error_code_zip(&m_writeError),
                  zip_error_code_system(&m_writeError));
    return -1;
}

void ArchiveOutput::work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop) break;
        Block block = std::move(m_queue.front());
        m_queue.pop_front();
        m_writing = true;
        lock.unlock();
        const bool ok = writeBlock(block);
        lock.lock();
        m_writing = false;
        m_queuedBytes -= std::min(m_queuedBytes, block.bytes.size());
        if (!ok) {
            m_writeFailed = true;
            m_queue.clear();
            m_queuedBytes = 0;
        }
        block.bytes.clear();
        if (block.bytes.capacity() >= kBlockSize && m_spare.size() < 6)
            m_spare.push_back(std::move(block.bytes));
        m_changed.notify_all();
    }
}

void ArchiveOutput::stopWorker() {
    if (!m_worker.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_worker.join();
}

}  // namespace vx
