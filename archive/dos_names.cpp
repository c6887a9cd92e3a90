// Short 8.3 names that stay unique within the archive.
#include "archive/dos_names.h"

#include <QStringList>

namespace vx {
namespace {

struct Split {
    QString base;
    QString ext;
};

// Upper case, spaces and all dots but the one before the extension dropped, characters a short name
// cannot hold made "_".
Split cleaned(const QString& part) {
    QString s = part.toUpper();
    s.remove(u' ');
    while (s.startsWith(u'.')) s.remove(0, 1);
    const qsizetype dot = s.lastIndexOf(u'.');
    Split split{dot < 0 ? s : s.left(dot).remove(u'.'), dot < 0 ? QString() : s.mid(dot + 1)};
    static const QString allowed = QStringLiteral("!#$%&'()-@^_`{}~");
    for (QString* text : {&split.base, &split.ext}) {
        for (QChar& c : *text) {
            const bool ok =
                (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || allowed.contains(c);
            if (!ok) c = u'_';
        }
    }
    return split;
}

QString joined(const QString& base, const QString& ext) {
    return ext.isEmpty() ? base : base + u'.' + ext;
}

QString child(const QString& parent, const QString& part) {
    return parent.isEmpty() ? part : parent + u'/' + part;
}

}  // namespace

QString DosNames::directForm(const QString& part) {
    const Split s = cleaned(part);
    if (s.base.isEmpty() || s.base.size() > 8 || s.ext.size() > 3) return QString();
    const QString name = joined(s.base, s.ext);
    return name == part.toUpper() ? name : QString();
}

QString DosNames::numberedForm(const QString& part, int number) {
    Split s = cleaned(part);
    if (s.base.isEmpty()) s.base = QStringLiteral("_");
    const QString tail = u'~' + QString::number(number);
    return joined(s.base.left(8 - tail.size()) + tail, s.ext.left(3));
}

bool DosNames::isFree(const QString& shortPath, const QString& longPath, bool direct,
                      bool folder) const {
    const auto claimed = m_claimedBy.constFind(shortPath);
    if (claimed != m_claimedBy.constEnd()) return *claimed == longPath;
    // An entry that records no long name is taken to be the same file only under a name that
    // needed no shortening, as any other same-named entry would be.
    const auto sameOrigin = [&](const QString& recorded, const QString& expected, bool prefix) {
        if (recorded.isEmpty()) return direct;
        return prefix ? recorded.startsWith(expected) : recorded == expected;
    };
    if (!folder) {
        const auto it = m_existing.constFind(shortPath);
        return it == m_existing.constEnd() || sameOrigin(*it, longPath, false);
    }
    const QString shortPrefix = shortPath + u'/';
    const QString longPrefix = longPath + u'/';
    for (auto it = m_existing.lowerBound(shortPrefix);
         it != m_existing.constEnd() && it.key().startsWith(shortPrefix); ++it) {
        if (!sameOrigin(*it, longPrefix, true)) return false;
    }
    return true;
}

QString DosNames::shortPart(const QString& shortParent, const QString& longPath,
                            const QString& part, bool folder) {
    const QString direct = directForm(part);
    if (!direct.isEmpty() && isFree(child(shortParent, direct), longPath, true, folder)) {
        m_claimedBy.insert(child(shortParent, direct), longPath);
        return direct;
    }
    for (int n = 1;; ++n) {
        const QString candidate = numberedForm(part, n);
        if (isFree(child(shortParent, candidate), longPath, false, folder)) {
            m_claimedBy.insert(child(shortParent, candidate), longPath);
            return candidate;
        }
    }
}

QString DosNames::shortPath(const QString& longPath) {
    const QStringList parts = longPath.split(u'/', Qt::SkipEmptyParts);
    QString shortParent, longParent;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString longHere = child(longParent, parts[i]);
        const bool folder = i + 1 < parts.size();
        QString shortHere;
        if (folder && m_folders.contains(longHere)) {
            shortHere = m_folders.value(longHere);
        } else {
            shortHere = child(shortParent, shortPart(shortParent, longHere, parts[i], folder));
            if (folder) m_folders.insert(longHere, shortHere);
        }
        shortParent = shortHere;
        longParent = longHere;
    }
    return shortParent;
}

}  // namespace vx
