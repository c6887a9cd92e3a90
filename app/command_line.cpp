// Command-line words.
#include "app/command_line.h"

namespace vx {

QString commandLineText(const QStringList& arguments) {
    return arguments.mid(1).join(QLatin1Char(' '));
}

int autoloadCount(const QString& commandLine) {
    const QStringList pieces = commandLine.split(QLatin1Char('-'));
    int count = 0;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QString word = pieces[i];
        if (word.endsWith(QLatin1Char(' '))) word.chop(1);
        if (word == QLatin1String("autoload")) ++count;
    }
    return count;
}

std::optional<QString> restoreFileArgument(const QStringList& arguments) {
    if (arguments.size() != 2) return std::nullopt;
    const QString& file = arguments[1];
    if (file.startsWith(QLatin1Char('-')) || file.size() <= 4 ||
        !file.endsWith(QLatin1String(".uzp"), Qt::CaseInsensitive))
        return std::nullopt;
    return file;
}

}  // namespace vx
