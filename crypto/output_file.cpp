// Output files through a temporary file and a rename.
#include "crypto/output_file.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::korva {
namespace {

Status systemError(const QString& what) {
    return Status::error(what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
}

// Start write-back every so many bytes.
constexpr qint64 kSyncStep = qint64(8) << 20;

}  // namespace

Status OutputFile::open() {
    const QFileInfo target(m_path);
    const QByteArray folder = QFile::encodeName(target.path());
    const QByteArray name = QFile::encodeName(target.fileName());
    QByteArray temp = folder + "/." + name.left(200) + ".XXXXXX";
    m_fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (m_fd < 0) return systemError(QStringLiteral("Cannot create a file in ") + target.path());
    m_temp = QFile::decodeName(temp);
    return Status::ok();
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
    if (m_written - m_synced >= kSyncStep) {
        ::sync_file_range(m_fd, m_synced, m_written - m_synced, SYNC_FILE_RANGE_WRITE);
        m_synced = m_written;
    }
    return Status::ok();
}

Status OutputFile::commit(mode_t mode) {
    if (::fchmod(m_fd, mode & 07777) != 0) return systemError(QStringLiteral("Cannot set the mode of ") + m_path);
    if (::fsync(m_fd) != 0) return systemError(QStringLiteral("Cannot write ") + m_path);
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

void OutputFile::abandon() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temp.isEmpty()) ::unlink(QFile::encodeName(m_temp).constData());
    m_temp.clear();
}

}  // namespace vx::korva
