// Temporary program folder for tests.
#include "temp_home.h"

#include <QFile>

namespace vx::test {

QString TempHome::write(const QString& name, const QByteArray& bytes) const {
    return writeFile(file(name), bytes);
}

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace vx::test
