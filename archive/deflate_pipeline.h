// Deflates the files of one AddFiles call ahead of the archive writer, in worker threads.
// Each file is cut into chunks of kChunkSize bytes; a chunk after the first starts with the
// previous 32 KiB as its dictionary and every chunk but the last ends on a byte boundary (a
// sync flush), so the chunks of a file joined in order form one raw deflate stream, as good
// as one made in a single pass to within a few bytes per chunk. Workers take chunks in the
// order the writer will want them and stop when a fixed number wait unread, so memory stays
// bounded whatever the file sizes. At level 0 the workers only read ahead: chunks hold the
// file's bytes as they are. The worker threads never touch Qt objects or libzip; only the one
// reader thread (the caller's) takes finished chunks.
#pragma once

#include <zlib.h>

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vx {

inline constexpr std::int64_t kChunkSize = 1 << 20;

// One compressed piece of a file.
struct DeflatedChunk {
    std::vector<unsigned char> data;  // raw deflate bytes; at level 0 the input itself
    uLong crc = 0;                    // CRC-32 of the input bytes (not taken at level 0)
    std::int64_t inBytes = 0;         // input bytes read
    bool endsFile = false;            // the stream is finished (last chunk, or the file shrank)
    QString error;                    // non-empty when the file could not be read
};

// Reads and deflates one chunk at level: bytes [offset, offset + length) of the file at path,
// primed with the 32 KiB before offset. Finishes the stream when last is true or the file ends
// early. A chunk whose start does not shrink is written as stored blocks. Level 0 only reads.
// Usable on any thread; `stream` is a raw deflate stream made by deflateInit2 (reset here).
void deflateChunk(z_stream& stream, int level, const QByteArray& path, std::int64_t offset,
                  std::int64_t length, bool last, std::vector<unsigned char>& input,
                  DeflatedChunk& out);

class DeflatePipeline {
public:
    struct File {
        QByteArray path;  // local 8-bit path
        std::int64_t size = 0;
    };

    // Starts `threads` workers (at least one) on files at the zlib level (0 to 9).
    DeflatePipeline(std::vector<File> files, int level, int threads);
    ~DeflatePipeline();  // stops and joins the workers
    DeflatePipeline(const DeflatePipeline&) = delete;
    DeflatePipeline& operator=(const DeflatePipeline&) = delete;

    // The next chunk of file `file` (index into the constructor's list), waiting for it. While
    // waiting, calls idle() about every 20 ms. Chunks of files before `file` not yet taken are
    // dropped. Returns null when the pipeline has moved past `file` (the caller then deflates
    // the file itself). The chunk stays valid until release().
    const DeflatedChunk* next(int file, const std::function<void()>& idle);
    // Gives back the chunk last returned by next().
    void release();

    int level() const { return m_level; }

private:
    struct Task {
        int file;
        std::int64_t offset;
        std::int64_t length;
        bool last;
    };
    struct Slot {
        DeflatedChunk chunk;
        bool ready = false;
    };
    void work();

    std::vector<File> m_files;
    std::vector<Task> m_tasks;
    std::vector<Slot> m_slots;
    int m_level;
    std::mutex m_mutex;
    std::condition_variable m_taskFreed;  // a slot came free, or stop
    std::condition_variable m_chunkDone;
    std::size_t m_nextTask = 0;  // next task a worker takes
    std::size_t m_head = 0;      // next task the reader takes
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};

}  // namespace vx
