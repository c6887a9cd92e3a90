// The central directory of a zip archive as its bytes say, read without libzip: where each
// entry's data lies, its declared sizes, method and flags, and how many bytes of other data
// come before the archive (a self-extracting program's, for one). libzip refuses some archives
// that other tools read (data before the archive, a name flagged UTF-8 that is not); this
// reading tells why, and lets the component open them anyway and check them before it writes
// anything out of them.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "core/status.h"

namespace vx {

struct DirectoryRecord {
    std::uint64_t localOffset = 0;  // of the local header, from the start of the archive proper
    std::uint64_t packedSize = 0;
    std::uint64_t size = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t nameLength = 0;
    std::int64_t flagsAt = 0;     // file position of the record's flags field
    bool nameUnreadable = false;  // flagged UTF-8 but not (or holding control characters)
};

struct ZipDirectory {
    std::int64_t fileSize = 0;
    std::int64_t prefix = 0;               // bytes before the archive proper
    std::uint64_t directoryOffset = 0;     // of the central directory, in the archive proper
    std::vector<DirectoryRecord> records;  // in directory order, as libzip numbers entries
    bool anyUnreadableName() const;
};

// Reads the end records (Zip64 too) and the central directory of the file at path. Fails with
// the end of a sentence ("no end of central directory record was found") when they cannot be
// read or do not hold together.
Result<ZipDirectory> readZipDirectory(const QString& path);

// The indexes (directory order) of two entries whose data overlap each other or the central
// directory, as the entries of an overlapping zip bomb do; {-1, -1} when none do.
std::pair<std::int64_t, std::int64_t> findOverlap(const ZipDirectory& directory);

// The name of a compression method by its number ("LZMA"), "" for one without a known name.
QString methodName(int method);

}  // namespace vx
