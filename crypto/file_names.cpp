// Extension and output name rules.
#include "crypto/file_names.h"

#include <QFileInfo>

namespace vx::korva {

namespace {

// The index of the point that starts the extension, or -1.
qsizetype extensionPoint(const QString& path) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > nameStart ? dot : -1;
}

}  // namespace

QString StripFileExt(const QString& path) {
    const qsizetype dot = extensionPoint(path);
    return dot < 0 ? path : path.left(dot);
}

QString GetFileExt(const QString& path) {
    const qsizetype dot = extensionPoint(path);
    if (dot < 0 || dot == path.size() - 1) return QString();
    return path.mid(dot + 1).toLower();
}

QString EncryptedFileName(const QString& target) {
    return StripFileExt(target) + QStringLiteral(".uzp");
}

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

}  // namespace vx::korva
