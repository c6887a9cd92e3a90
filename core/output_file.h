// A file written in pieces that appears under its name only once it is complete: the bytes go
// to a nameless file in the target's folder (a named temporary one where the file system has
// no nameless files), which gets a temporary name at the commit and a rename then puts in place.
// The rename replaces a symbolic link of that name itself, never the file it points to; an
// abandoned output (or one destroyed before its commit) leaves nothing behind. A synced output
// reaches the disk before the rename; an unsynced one (a download, as other download tools do it)
// leaves that to the system, and its rename still never shows half a file.
#pragma once

#include <sys/types.h>

#include <QString>

#include "core/status.h"

namespace vx {

class OutputFile {
public:
    explicit OutputFile(QString path, bool synced = true)
        : m_path(std::move(path)), m_synced(synced) {}
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
    // The mode for a file that replaces `path`: that file's own when it is a regular file, else
    // the mode of a new file under the process's umask.
    static mode_t modeFor(const QString& path);

private:
    QByteArray tempPattern() const;
    Status nameIt();

    QString m_path;
    QString m_temp;
    int m_fd = -1;
    bool m_synced;
    qint64 m_written = 0;
    qint64 m_writtenBack = 0;  // bytes whose write-back has been started
};

}  // namespace vx
