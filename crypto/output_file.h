// A file written in pieces that appears under its name only once it is complete: the bytes go
// to a nameless file in the target's folder (a named temporary one where the file system has
// no nameless files), which gets a temporary name at the commit and a rename then puts in place. The rename
// replaces a symbolic link of that name itself, never the file it points to; an abandoned
// output (or one destroyed before its commit) leaves nothing behind.
#pragma once

#include <QString>
#include <sys/types.h>

#include "core/status.h"

namespace vx::korva {

class OutputFile {
public:
    explicit OutputFile(QString path) : m_path(std::move(path)) {}
    ~OutputFile() { abandon(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file beside the target.
    Status open();
    // Appends n bytes (from one thread at a time). Write-back starts as the bytes come, so
    // that the commit does not wait for the whole file at once.
    Status write(const void* data, qsizetype n);
    // Flushes the bytes to the disk, gives the file the mode, and renames it to the target.
    Status commit(mode_t mode);
    // Removes the temporary file; nothing is left. Does nothing after a commit.
    void abandon();

private:
    QByteArray tempPattern() const;
    Status nameIt();

    QString m_path;
    QString m_temp;
    int m_fd = -1;
    qint64 m_written = 0;
    qint64 m_synced = 0;
};

}  // namespace vx::korva
