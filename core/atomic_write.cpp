// Whole-file writes through QSaveFile.
#include "core/atomic_write.h"

#include <QSaveFile>

namespace vx {

Status writeFileAtomically(const QString& path, std::initializer_list<std::string_view> pieces) {
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

}  // namespace vx
