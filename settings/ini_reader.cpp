// INI value reader. The file is read as UTF-8 when valid, otherwise as Windows-1252.
#include "settings/ini_reader.h"

#include <QFile>

#include "core/cp1252.h"
#include "settings/ini_document.h"

namespace vx {
namespace {

QString unquoted(QString v) {
    v = v.trimmed();
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

}  // namespace

QString ReadIniValue(const QString& section, const QString& key, const QString& filePath) {
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    const std::optional<QString> raw = IniDocument(decodeDataFile(f.readAll())).value(section, key);
    return raw ? unquoted(*raw).left(kIniValueLimit) : QString();
}

}  // namespace vx
