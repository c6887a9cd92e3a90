// Reader of the access code file.
#include "mail/access_code.h"

#include <QFile>
#include <QRegularExpression>

#include "core/cp1252.h"
#include "core/program_folder.h"

namespace vx {
namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Appends the items of one line.
void lineItems(QStringView line, QStringList& out) {
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && isBlank(line[i])) ++i;
        qsizetype comma;
        if (i < n && line[i] == QLatin1Char('"')) {
            qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0) close = n;
            out << line.mid(i + 1, close - i - 1).toString();
            comma = line.indexOf(QLatin1Char(','), close);
        } else {
            comma = line.indexOf(QLatin1Char(','), i);
            QStringView item = line.mid(i, (comma < 0 ? n : comma) - i);
            while (!item.isEmpty() && isBlank(item.back())) item.chop(1);
            out << item.toString();
        }
        if (comma < 0) return;
        i = comma + 1;
    }
}

}  // namespace

QStringList accessCodeItems(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList items;
    for (const QString& line : text.split(lineEnd)) {
        if (line.trimmed().isEmpty()) continue;
        lineItems(line, items);
    }
    return items;
}

Result<QString> readAccessCode(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return Status::error(
            QStringLiteral("Cannot read the access code from %1: %2").arg(path, f.errorString()));
    const QStringList items = accessCodeItems(decodeDataFile(f.readAll()));
    return items.isEmpty() ? QString() : items.last();
}

QString accessCodeBesideProgram() {
    const Result<QString> code = readAccessCode(besideProgram(kAccessCodeFile));
    return code ? code.value() : QString();
}

}  // namespace vx
