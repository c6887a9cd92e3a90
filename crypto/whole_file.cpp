// Whole-file input and output on QFile / QSaveFile.
#include "crypto/whole_file.h"

#include <QFile>
#include <QSaveFile>

namespace vx::korva {

Result<QByteArray> readWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Status::error(file.errorString());
    const qint64 size = file.size();
    QByteArray bytes(size, Qt::Uninitialized);
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

Status writeWholeFile(const QString& path, std::initializer_list<std::string_view> pieces) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return Status::error(file.errorString());
    for (const std::string_view piece : pieces) {
        qint64 done = 0;
        const auto size = static_cast<qint64>(piece.size());
        while (done < size) {
            const qint64 put = file.write(piece.data() + done, size - done);
            if (put <= 0) {
                const QString why = file.errorString();
                file.cancelWriting();
                return Status::error(why);
            }
            done += put;
        }
    }
    if (!file.commit()) return Status::error(file.errorString());
    return Status::ok();
}

}  // namespace vx::korva
