// List file lines.
#include "app/list_file.h"

#include "core/cp1252.h"

namespace vx {

QStringList listFileLines(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    QStringList lines = decodeDataFile(bytes).split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();  // after the last line end
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    return lines;
}

}  // namespace vx
