// Whole-file text writer.
#include "log/text_file.h"

#include <QSaveFile>

namespace vx {

Status writeTextFile(const QString& text, const QString& path) {
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    body += QStringLiteral("\r\n");
    QSaveFile file(path);
    // A file that may be rewritten in a folder where no new file can be made is written directly.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return Status::error(file.errorString());
    const QByteArray bytes = body.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Status::error(why);
    }
    if (!file.commit()) return Status::error(file.errorString());
    return Status::ok();
}

}  // namespace vx
