// Owning handles for libzip objects, and the one place where libzip's error codes become our
// messages. Every handle is move-only and releases its object when it goes out of scope.
#pragma once

#include <zip.h>

#include <QString>
#include <cstdint>
#include <memory>
#include <unordered_set>

#include "core/status.h"

namespace vx {

struct ZipDiscard {
    void operator()(zip_t* za) const { zip_discard(za); }
};
struct ZipFileClose {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
struct ZipSourceFree {
    void operator()(zip_source_t* s) const { zip_source_free(s); }
};

// An open archive. Destroying it discards every change not yet written by zip_close.
using ZipArchive = std::unique_ptr<zip_t, ZipDiscard>;
using ZipFile = std::unique_ptr<zip_file_t, ZipFileClose>;
// A source not yet handed to the archive; release() it once zip_file_add took it.
using ZipSource = std::unique_ptr<zip_source_t, ZipSourceFree>;

// Opens the archive at path with libzip's flags. On failure returns null and sets message to a
// sentence naming the file and what is wrong with it (not a zip file, truncated, damaged,
// unreadable). A missing file with ZIP_CREATE is not a failure.
ZipArchive openArchive(const QString& path, int flags, QString& message);
// What openForReading did to read an archive that libzip alone refuses.
struct ReadNotes {
    std::int64_t prefix = 0;                     // bytes of other data before the archive
    std::unordered_set<zip_uint64_t> unflagged;  // entries whose false UTF-8 flag was ignored
};

// Opens the archive at path read-only. When libzip refuses it but its directory holds together
// (zip_directory.h), it is opened all the same: past the data before the archive, and with the
// UTF-8 flag taken off the names that are not UTF-8. On failure returns null and sets message
// as openArchive does.
ZipArchive openForReading(const QString& path, QString& message, ReadNotes* notes = nullptr);

// The message openArchive gives for error.
QString openFailureMessage(const QString& path, const zip_error_t& error);

// The reason libzip gives for a failed operation on an open archive (for example zip_close),
// as text for a message: "the disk is full", "a file could not be read: ...".
QString zipErrorText(const zip_error_t* error);

// Writes an archive with no entries at path (through a temporary file and a rename).
Status writeEmptyArchive(const QString& path);

}  // namespace vx
