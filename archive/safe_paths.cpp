// Extraction paths that stay inside the destination.
#include "archive/safe_paths.h"

#include <sys/stat.h>

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>

namespace vx {

Result<QString> extractionPath(const QString& storedName, bool useFolderNames) {
    QString name = storedName;
    name.replace(u'\\', u'/');
    if (name.startsWith(u'/')) return Status::error(QStringLiteral("its name is an absolute path"));
    if (name.size() >= 2 && name[1] == u':' && name[0].isLetter())
        return Status::error(QStringLiteral("its name starts with a drive letter"));
    const bool folder = name.endsWith(u'/');
    QStringList parts;
    for (const QString& part : name.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return Status::error(
                QStringLiteral("its name climbs out of the destination with \"..\""));
        if (part != QLatin1String(".")) parts << part;
    }
    if (parts.isEmpty()) return QString();
    if (!useFolderNames) return folder ? QString() : parts.last();
    return parts.join(u'/') + (folder ? QStringLiteral("/") : QString());
}

void removeFolders(const QStringList& created) {
    for (qsizetype i = created.size() - 1; i >= 0; --i)
        rmdir(QFile::encodeName(created[i]).constData());
}

Status makeFolders(const QString& destination, const QString& relativeDir, QStringList* created) {
    QStringList made;
    const Status status = [&] {
        QString path = destination;
        for (const QString& part : relativeDir.split(u'/', Qt::SkipEmptyParts)) {
            path += u'/' + part;
            const QByteArray native = QFile::encodeName(path);
            struct stat st;
            if (lstat(native.constData(), &st) == 0) {
                if (S_ISLNK(st.st_mode))
                    return Status::error(
                        QStringLiteral("%1 is a symbolic link; nothing is written through it")
                            .arg(path));
                if (!S_ISDIR(st.st_mode))
                    return Status::error(QStringLiteral("%1 is a file, not a folder").arg(path));
                continue;
            }
            if (mkdir(native.constData(), 0777) == 0) {
                made << path;
            } else if (errno != EEXIST) {
                return Status::error(QStringLiteral("the folder %1 cannot be made (%2)")
                                         .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
            }
        }
        return Status::ok();
    }();
    if (!status) removeFolders(made);
    if (created) *created = status ? made : QStringList();
    return status;
}

}  // namespace vx
