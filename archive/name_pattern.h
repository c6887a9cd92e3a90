// Which archive entries a name list selects: each list item is a stored name or a pattern in
// which "*" stands for any run of characters (slashes included) and "?" for any one character.
// Matching is exact and case-sensitive, like the file names of this platform.
#pragma once

#include <QString>
#include <QStringList>

namespace vx {

// True when text matches pattern as a whole; characters other than "*" and "?" match only
// themselves.
bool matchesPattern(QStringView text, QStringView pattern);

// True when one item of names matches the stored name as a whole or its file-name part (the
// text after the last "/"), so "a.txt", "docs/a.txt", "*.txt" and "docs/*" all select
// "docs/a.txt". Empty items select nothing.
bool selectsEntry(const QStringList& names, const QString& storedName);

}  // namespace vx
