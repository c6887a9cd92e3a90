// Which archive entries one call acts on: the entries a person picked in the list, named by
// their positions, or those whose stored name matches a name or pattern typed by the user, in
// which "*" stands for any run of characters (slashes included) and "?" for any one character.
// Matching is exact and case-sensitive, like the file names of this platform.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <unordered_set>

namespace vx {

// True when text matches pattern as a whole; characters other than "*" and "?" match only
// themselves.
bool matchesPattern(QStringView text, QStringView pattern);

// True when one item of names matches the whole stored name: "docs/a.txt", "*.txt" and
// "docs/*" select "docs/a.txt", "a.txt" does not. Empty items select nothing.
bool selectsEntry(const QStringList& names, const QString& storedName);

class EntryChoice {
public:
    // Entries whose stored name matches one of names (selectsEntry).
    static EntryChoice byPatterns(QStringList names);
    // Exactly the entries at these 1-based positions, whatever their names.
    static EntryChoice byIndexes(const QList<qint64>& oneBased);

    // Whether the entry at libzip's 0-based index, stored under storedName, is chosen.
    bool selects(quint64 index, const QString& storedName) const;
    bool byPosition() const { return m_byIndex; }

private:
    bool m_byIndex = false;
    QStringList m_names;
    std::unordered_set<quint64> m_indexes;  // 0-based
};

}  // namespace vx
