// The libzip source of one file being added. libzip pulls the file's data through it while it
// writes the archive (inside zip_close), so this is where the component learns which file is
// being written, counts progress and yields. A stored file is read as it is and libzip takes
// its CRC; a deflated file is handed over already compressed (by the DeflatePipeline, or here
// when the pipeline has moved on) with its CRC, and libzip copies it unchanged.
#pragma once

#include <zip.h>
#include <zlib.h>

#include <QByteArray>
#include <QString>
#include <ctime>
#include <vector>

#include "archive/deflate_pipeline.h"

namespace vx {

// Told about the writing of the archive; called on the caller's thread only.
class AddSink {
public:
    virtual ~AddSink() = default;
    virtual void started(const QString& storedName) = 0;  // a file's data is being written
    virtual void advanced(std::int64_t bytes) = 0;        // that many more input bytes read
    virtual void idle() = 0;                              // a moment to yield
};

struct AddedFile {
    QString storedName;
    QByteArray path;  // local 8-bit path
    std::int64_t size = 0;
    std::time_t mtime = 0;
    int level = 6;  // 0 stores the file as it is, 1 to 9 deflate it
};

class FileSource {
public:
    // An empty file is always stored. Stored files are read through readBuffer, which the
    // sources of one archive share (libzip reads one source at a time). sink and readBuffer
    // must outlive the source.
    FileSource(AddedFile file, AddSink* sink, std::vector<unsigned char>* readBuffer);
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // A new libzip source reading through this object (null with error set on failure). The
    // source does not own this object, which must outlive the archive handle it is added to.
    zip_source_t* create(zip_error_t* error);

    // Takes chunks from the pipeline (as its file `index`), deflated or at level 0 read ahead,
    // instead of doing that work itself; the pipeline must outlive the source.
    void attach(DeflatePipeline* pipeline, int index);

    const AddedFile& file() const { return m_file; }
    bool stored() const { return m_store; }
    // Why reading the file failed, "" when it did not.
    const QString& failure() const { return m_failure; }

private:
    static zip_int64_t callback(void* self, void* data, zip_uint64_t len, zip_source_cmd_t cmd);
    zip_int64_t open();
    zip_int64_t read(unsigned char* data, zip_uint64_t len);
    zip_int64_t readStored(unsigned char* data, zip_uint64_t len);
    bool takeChunk();
    void dropChunk();
    void stat(zip_stat_t* st) const;
    zip_int64_t fail(int zipError, const QString& why);

    AddedFile m_file;
    bool m_store;
    AddSink* m_sink;
    DeflatePipeline* m_pipeline = nullptr;
    int m_pipelineIndex = -1;
    zip_error_t m_error;
    QString m_failure;
    int m_fd = -1;
    std::int64_t m_done = 0;  // input bytes read
    uLong m_crc = 0;
    bool m_finished = false;
    // Stored data: read ahead of libzip's small requests.
    std::vector<unsigned char>& m_buffer;
    std::size_t m_bufferPos = 0;
    std::size_t m_bufferEnd = 0;
    // Deflated data: the chunk being handed over, from the pipeline or made here.
    const DeflatedChunk* m_chunk = nullptr;
    bool m_chunkFromPipeline = false;
    std::size_t m_chunkPos = 0;
    std::int64_t m_nextOffset = 0;
    DeflatedChunk m_own;
    std::vector<unsigned char> m_input;
    z_stream m_stream{};
    bool m_streamReady = false;
};

}  // namespace vx
