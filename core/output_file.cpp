// Output files through a temporary file and a rename.
#include "core/output_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {
namespace {

Status systemError(const QString& what) {
    return Status::error(what + QStringLiteral(": ") +
                         QString::fromLocal8Bit(std::strerror(errno)));
}

// Start write-back every so many bytes.
constexpr qint64 kSyncStep = qint64(8) << 20;

}  // namespace

// The temporary name beside the target, with XXXXXX for mkostemp to fill in.
QByteArray OutputFile::tempPattern() const {
    const QFileInfo target(m_path);
    return QFile::encodeName(target.path()) + "/." +
           QFile::encodeName(target.fileName()).left(200) + ".XXXXXX";
}

Status OutputFile::open() {
    // A file without a name where the system has them: a process killed while writing it then
    // leaves nothing behind. Elsewhere a named temporary file.
    const QString folder = QFileInfo(m_path).path();
    m_fd = ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (m_fd >= 0) return Status::ok();
    QByteArray temp = tempPattern();
    m_fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (m_fd < 0) return systemError(QStringLiteral("Cannot create a file in ") + folder);
    m_temp = QFile::decodeName(temp);
    return Status::ok();
}

// Gives the nameless file its temporary name, so that a rename can put it in place.
Status OutputFile::nameIt() {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray temp = tempPattern();
        const QByteArray unique = QByteArray::number(QRandomGenerator::global()->generate(), 36);
        temp.replace(temp.size() - 6, 6, unique.rightJustified(6, '0').right(6));
        const int linked =
            ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temp.constData(), AT_SYMLINK_FOLLOW);
        if (linked == 0) {
            m_temp = QFile::decodeName(temp);
            return Status::ok();
        }
        if (errno != EEXIST) break;
    }
    return systemError(QStringLiteral("Cannot write ") + m_path);
}

Status OutputFile::write(const void* data, qsizetype n) {
    const auto* p = static_cast<const char*>(data);
    while (n > 0) {
        const ssize_t put = ::write(m_fd, p, size_t(n));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return systemError(QStringLiteral("Cannot write ") + m_path);
        p += put;
        n -= put;
        m_written += put;
    }
    if (m_synced && m_written - m_writtenBack >= kSyncStep) {
        ::sync_file_range(m_fd, m_writtenBack, m_written - m_writtenBack, SYNC_FILE_RANGE_WRITE);
        m_writtenBack = m_written;
    }
    return Status::ok();
}

Status OutputFile::commit(mode_t mode) {
    if (::fchmod(m_fd, mode & 07777) != 0)
        return systemError(QStringLiteral("Cannot set the mode of ") + m_path);
    if (m_synced && ::fsync(m_fd) != 0)
        return systemError(QStringLiteral("Cannot write ") + m_path);
    if (m_temp.isEmpty())
        if (Status named = nameIt(); !named) return named;
    if (::close(m_fd) != 0) {
        m_fd = -1;
        return systemError(QStringLiteral("Cannot write ") + m_path);
    }
    m_fd = -1;
    if (::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_path).constData()) != 0)
        return systemError(QStringLiteral("Cannot rename the output to ") + m_path);
    m_temp.clear();
    return Status::ok();
}

mode_t OutputFile::modeFor(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    // The umask, without changing it (umask(2) would, for a moment, for every thread).
    mode_t mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:")) mask = mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
    return 0666 & ~mask;
}

void OutputFile::abandon() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temp.isEmpty()) ::unlink(QFile::encodeName(m_temp).constData());
    m_temp.clear();
}

}  // namespace vx
