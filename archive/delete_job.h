// One DeleteFiles call: removes the selected entries of an archive. libzip writes the rest to a
// temporary file and renames it over the archive, so a failure leaves the archive as it was.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "archive/name_pattern.h"
#include "core/status.h"

namespace vx {

// Called on the caller's thread while the job runs.
struct DeleteEvents {
    std::function<void(int percent, const QString& storedName)> progress;
    std::function<void()> idle;  // a moment to yield
};

// Removes the entries chosen (see name_pattern.h) and returns how many. A missing
// archive has nothing to remove. When every entry goes, the archive stays as an empty archive.
// Fails, with a message naming the archive and the cause, when it cannot be opened or written.
Result<int> deleteFromArchive(const QString& archivePath, const EntryChoice& choice,
                              const DeleteEvents& events);

}  // namespace vx
