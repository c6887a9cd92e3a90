// The archive file as libzip sees it while it writes a new version, with the writing moved to
// a thread of its own. libzip hands over a few KiB at a time and would spend the caller's
// thread in the system's write calls; here the bytes are gathered into blocks of a megabyte
// and a writer thread passes them on to libzip's own file source, which still writes to a
// temporary file and renames it over the archive only when everything is written. The caller
// never waits for the disk except when the blocks queued reach a few megabytes, when libzip
// moves back in the file, and at the end.
#pragma once

#include <zip.h>

#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "archive/zip_handles.h"

namespace vx {

class ArchiveOutput {
public:
    ArchiveOutput();
    ~ArchiveOutput();
    ArchiveOutput(const ArchiveOutput&) = delete;
    ArchiveOutput& operator=(const ArchiveOutput&) = delete;

    // Opens the archive at path, with libzip's flags, writing through this object. On failure
    // returns null and sets message as openArchive does. This object must outlive the handle.
    ZipArchive open(const QString& path, int flags, QString& message);

private:
    struct Block {
        std::vector<unsigned char> bytes;
        zip_int64_t seekTo = -1;  // a move before the bytes (SEEK_SET), when not -1
    };
    static zip_int64_t callback(void* self, void* data, zip_uint64_t len, zip_source_cmd_t cmd);
    zip_int64_t forward(void* data, zip_uint64_t len, zip_source_cmd_t cmd);
    zip_int64_t write(const void* data, zip_uint64_t len);
    zip_int64_t seekWrite(const zip_source_args_seek_t& args);
    zip_int64_t beginWrite();
    zip_int64_t endWrite(bool commit);
    void queue(Block block);              // waits while too much is queued
    bool drain();                         // waits until all is written; false when a write failed
    zip_int64_t failed();                 // -1, with the writer's error as ours
    bool writeBlock(const Block& block);  // on the inner source; false when it failed
    void work();
    void stopWorker();

    QByteArray m_path;
    zip_source_t* m_inner = nullptr;
    zip_error_t m_error;
    zip_int64_t m_position = 0;  // where the next byte goes, as libzip sees it
    Block m_current;

    std::mutex m_innerMutex;  // one call into the inner source at a time
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Block> m_queue;
    std::vector<std::vector<unsigned char>> m_spare;  // written blocks' memory, for reuse
    std::size_t m_queuedBytes = 0;
    bool m_writing = false;  // the writer holds a block
    bool m_writeFailed = false;
    bool m_stop = false;
    zip_error_t m_writeError;
    std::thread m_worker;
};

}  // namespace vx
