// The start-up command line: the word "autoload" after a "-" asks for the prepared list.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vx {

// The process's arguments (without the program's own name) as one string, joined by blanks.
QString commandLineText(const QStringList& arguments);

// How many times the command line asks for the list: the text is split on "-", the piece before
// the first "-" is skipped, one trailing blank is removed from each piece, and each piece that
// is then exactly "autoload" (case-sensitive) counts once.
int autoloadCount(const QString& commandLine);

// The encrypted file to open for restoring when the process's arguments (its own name first)
// are that one file, as the desktop passes a double-clicked ".uzp" file: one argument that ends
// in ".uzp" (any case) and does not start with "-". Nothing for any other command line, which
// goes to the usual start-up.
std::optional<QString> restoreFileArgument(const QStringList& arguments);

}  // namespace vx
