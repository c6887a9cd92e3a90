// The source of a streamed file operation: read in pieces at given offsets (from any thread),
// with the stamp that tells whether it changed while it was read (size, modification time, the
// file behind the name) and a hash of its content, so that two readings can be compared.
#pragma once

#include <QString>
#include <cstdint>
#include <sys/types.h>

#include "core/status.h"

namespace vx::korva {

struct SourceStamp {
    qint64 size = 0;
    qint64 mtimeNs = 0;
    quint64 device = 0, inode = 0;
    mode_t mode = 0;
    bool operator==(const SourceStamp&) const = default;
};

class SourceFile {
public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    Status open(const QString& path);
    const SourceStamp& stamp() const { return m_stamp; }
    // The stamp now, of the open file and of the name (which must still lead to it).
    Result<SourceStamp> stampNow() const;
    // Reads exactly n bytes from pos on.
    Status readAt(qint64 pos, void* out, qsizetype n) const;

private:
    QString m_path;
    int m_fd = -1;
    SourceStamp m_stamp;
};

// A 64-bit hash of one piece of content, to compare two readings of the same piece; not for
// anything an adversary chooses.
quint64 pieceHash(const std::uint8_t* p, qsizetype n);
// Combines the hashes of the pieces of a file, each with its number, so that the order counts.
inline quint64 combineHash(quint64 sum, quint64 piece, qint64 index) {
    quint64 x = piece + quint64(index) * 0x9E3779B97F4A7C15ULL;
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 29;
    return sum ^ x;
}

}  // namespace vx::korva
