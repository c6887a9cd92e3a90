// INI value reader. The file is read as UTF-8 when valid, otherwise as Windows-1252.
#include "settings/ini_reader.h"

#include <QFile>
#include <QStringList>

#include "core/cp1252.h"

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
    const QString text = decodeDataFile(f.readAll());
    bool inSection = false;
    for (QString line : text.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            const qsizetype end = line.indexOf(']');
            const QString name = line.mid(1, end < 0 ? -1 : end - 1).trimmed();
            if (inSection) return QString();  // the first matching section has ended
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.startsWith(';')) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0) continue;
        return unquoted(line.mid(eq + 1)).left(kIniValueLimit);
    }
    return QString();
}

}  // namespace vx
