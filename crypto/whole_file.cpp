// Whole-file input on QFile.
#include "crypto/whole_file.h"

#include <QFile>
#include <cstdint>
#include <sys/mman.h>

namespace vx::korva {
namespace {

// A whole large file is read, deciphered and moved through in one pass: large pages spare
// most of the page faults and address translations of a fresh buffer. Only a hint.
void preferLargePages(char* data, qint64 size) {
    constexpr std::uintptr_t kLarge = std::uintptr_t(2) << 20;
    if (size < qint64(4 * kLarge)) return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kLarge - 1) & ~(kLarge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + std::uintptr_t(size)) & ~(kLarge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

Result<QByteArray> readWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Status::error(file.errorString());
    const qint64 size = file.size();
    QByteArray bytes(size, Qt::Uninitialized);
    preferLargePages(bytes.data(), size);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(bytes.data() + done, size - done);
        if (got < 0) return Status::error(file.errorString());
        if (got == 0) return Status::error(QStringLiteral("The file became shorter while read"));
        done += got;
    }
    return bytes;
}

QByteArray readFileHead(const QString& path, qsizetype n) {
    QByteArray head(n, '\0');
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const qint64 got = file.read(head.data(), n);
        Q_UNUSED(got);  // a short or failed read leaves zero bytes, as a short file does
    }
    return head;
}

}  // namespace vx::korva
