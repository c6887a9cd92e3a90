// One ExtractFiles call: writes the selected entries of an archive under a destination folder.
// Nothing is ever written outside the destination (see safe_paths.h); symbolic-link entries
// are refused. Each file is written to a temporary file beside its final name and renamed into
// place only when complete, so a failure leaves no half-written file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "core/status.h"

namespace vx {

// Called on the caller's thread while the job runs.
struct ExtractEvents {
    std::function<void(int percent, const QString& storedName)> progress;
    std::function<void(const QString& message)> report;  // an entry passed over
    std::function<void()> idle;                          // a moment to yield
};

struct ExtractOptions {
    bool skipOlder = false;       // never replace a file by an entry older than it
    bool useFolderNames = false;  // recreate stored folders; otherwise write files flat
    bool overwrite = false;       // replace existing files; otherwise keep them
};

// Extracts the entries that names selects (see name_pattern.h) and returns how many files were
// written. An existing file is replaced only with overwrite, and then not by an older entry
// when skipOlder is set. Entries that are refused, kept out or fail (damaged data, a CRC error)
// are reported and the rest go on. Fails as a whole, with a message naming the file and the
// cause, when the archive cannot be opened, the destination is not a folder or cannot be made,
// or the disk is full.
Result<int> extractFromArchive(const QString& archivePath, const QStringList& names,
                               const QString& destination, const ExtractOptions& options,
                               const ExtractEvents& events);

}  // namespace vx
