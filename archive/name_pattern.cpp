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
    const qsizetype slash = storedName.lastIndexOf(u'/');
    const QStringView leaf = QStringView(storedName).mid(slash + 1);
    for (const QString& name : names) {
        if (name.isEmpty()) continue;
        if (matchesPattern(storedName, name) || matchesPattern(leaf, name)) return true;
    }
    return false;
}

}  // namespace vx
