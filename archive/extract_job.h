// One ExtractFiles call: writes the selected entries of an archive under a destination folder.
// Nothing is ever written outside the destination (see safe_paths.h); symbolic-link entries
// are refused. Each file is written to a temporary file beside its final name and renamed into
// place only when complete, so a failure leaves no half-written file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "archive/name_pattern.h"
#include "core/status.h"

namespace vx {

// Called on the caller's thread while the job runs.
struct ExtractEvents {
    std::function<void(int percent, const QString& storedName)> progress;
    std::function<void(const QString& message)> report;  // an entry passed over
    std::function<void()> idle;                          // a moment to yield
    std::function<void(const QString& path)> written;    // a file is in place
    // Asks for the password of an encrypted entry (retry: the last one given did not open
    // it); nullopt when the user gives none, and then no more are asked for in this call.
    std::function<std::optional<QString>(const QString& storedName, bool retry)> password;
};

struct ExtractOptions {
    bool skipOlder = false;       // never replace a file by an entry older than it
    bool useFolderNames = false;  // recreate stored folders; otherwise write files flat
    bool overwrite = false;       // replace existing files; otherwise keep them
};

// Extracts the entries chosen (see name_pattern.h) and returns how many files were written. An
// existing file is replaced only with overwrite, and then not by an older entry when skipOlder
// is set. Entries that are refused, kept out or fail (damaged data, a CRC error, data longer
// than declared, an unknown method, a wrong password, no file name) are reported and the rest
// go on; names with control or direction characters are written with "_" and reported
// (entry_names.h). Fails as a whole, with a message naming the file and the cause, before
// anything is written when the archive cannot be opened, its entries overlap (a zip bomb), the
// sizes declared do not fit in the free space of the destination, or the destination is not a
// folder or cannot be made; and midway when the disk is full.
Result<int> extractFromArchive(const QString& archivePath, const EntryChoice& choice,
                               const QString& destination, const ExtractOptions& options,
                               const ExtractEvents& events);

}  // namespace vx
