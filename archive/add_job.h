// One AddFiles call: chooses the files and their stored names (add_list.h, dos_names.h), decides
// per action which ones go in, and writes the archive through libzip with the files deflated
// ahead in worker threads. libzip writes the new archive to a temporary file beside the old one
// and renames it over the old one only when everything went in, so a failure at any point
// leaves the archive on disk as it was.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "core/status.h"

namespace vx {

// Called on the caller's thread while the job runs.
struct AddEvents {
    std::function<void(int percent, const QString& storedName)> progress;
    std::function<void(const QString& message)> report;  // a file left out or renamed
    std::function<void()> idle;                          // a moment to yield
};

enum class AddAction { AddReplace = 1, Freshen = 2, Update = 3 };

struct AddOptions {
    AddAction action = AddAction::AddReplace;
    bool keepPaths = false;
    bool dos83 = false;
    int level = 6;    // 0 stores, 1 to 9 deflate
    int threads = 0;  // deflating threads; 0 takes one per processor
};

// Adds names (see add_list.h) to the archive at archivePath, creating it when missing (an
// empty archive when nothing goes in). Action AddReplace adds every file and replaces entries
// of the same name; Update adds new names and replaces an entry only when the file is newer on
// the two-second zip clock; Freshen only replaces entries older than their file. Fails, with a
// message naming the archive or the file and the cause, when the archive cannot be opened or
// written, or a file cannot be read while it is written; the archive is then unchanged.
Status addToArchive(const QString& archivePath, const QStringList& names, const AddOptions& options,
                    const AddEvents& events);

}  // namespace vx
