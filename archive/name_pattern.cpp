// Wildcard matching of entry names.
#include "archive/name_pattern.h"

namespace vx {

bool matchesPattern(QStringView text, QStringView pattern) {
    // Greedy matching with one back-track point: the last "*" seen and where it started.
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

bool selectsEntry(const QStringList& names, const QString& storedName) {
    for (const QString& name : names)
        if (!name.isEmpty() && matchesPattern(storedName, name)) return true;
    return false;
}

EntryChoice EntryChoice::byPatterns(QStringList names) {
    EntryChoice choice;
    choice.m_names = std::move(names);
    return choice;
}

EntryChoice EntryChoice::byIndexes(const QList<qint64>& oneBased) {
    EntryChoice choice;
    choice.m_byIndex = true;
    choice.m_indexes.reserve(static_cast<std::size_t>(oneBased.size()));
    for (const qint64 i : oneBased)
        if (i >= 1) choice.m_indexes.insert(static_cast<quint64>(i - 1));
    return choice;
}

bool EntryChoice::selects(quint64 index, const QString& storedName) const {
    return m_byIndex ? m_indexes.count(index) != 0 : selectsEntry(m_names, storedName);
}

}  // namespace vx
