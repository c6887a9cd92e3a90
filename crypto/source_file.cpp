// Reading the source in pieces.
#include "crypto/source_file.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "crypto/bit_packing.h"

namespace vx::korva {
namespace {

QString lastError() { return QString::fromLocal8Bit(std::strerror(errno)); }

SourceStamp stampOf(const struct stat& st) {
    SourceStamp s;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.mode = st.st_mode;
    return s;
}

}  // namespace

SourceFile::~SourceFile() {
    if (m_fd >= 0) ::close(m_fd);
}

Status SourceFile::open(const QString& path) {
    m_path = path;
    // Non-blocking, so that a named pipe put in the file's place cannot stall the open.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0) return Status::error(lastError());
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) return Status::error(lastError());
    if (!S_ISREG(st.st_mode)) return Status::error(QStringLiteral("The source is not a regular file"));
    m_stamp = stampOf(st);
    return Status::ok();
}

Result<SourceStamp> SourceFile::stampNow() const {
    struct stat st {}, named {};
    if (::fstat(m_fd, &st) != 0) return Status::error(lastError());
    SourceStamp now = stampOf(st);
    if (::stat(QFile::encodeName(m_path).constData(), &named) != 0 || named.st_dev != st.st_dev ||
        named.st_ino != st.st_ino)
        now.inode = ~now.inode;  // the name leads elsewhere now
    return now;
}

Status SourceFile::readAt(qint64 pos, void* out, qsizetype n) const {
    auto* p = static_cast<char*>(out);
    while (n > 0) {
        const ssize_t got = ::pread(m_fd, p, size_t(n), pos);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Status::error(lastError());
        if (got == 0) return Status::error(QStringLiteral("The file became shorter while read"));
        p += got;
        n -= got;
        pos += got;
    }
    return Status::ok();
}

quint64 pieceHash(const std::uint8_t* p, qsizetype n) {
    constexpr quint64 kMul = 0x9E3779B97F4A7C15ULL;
    quint64 h[4] = {1, 2, 3, 4};
    const std::uint8_t* end = p + n;
    for (; end - p >= 32; p += 32)
        for (int k = 0; k < 4; ++k) h[k] = (h[k] ^ huffman::load64(p + 8 * k)) * kMul;
    quint64 x = h[0] ^ (h[1] << 1) ^ (h[2] << 2) ^ (h[3] << 3) ^ quint64(n);
    for (; p < end; ++p) x = (x ^ *p) * kMul;
    return x ^ (x >> 32);
}

}  // namespace vx::korva
