// The entries of one remote listing: cDirItem is one entry, cDirList the ordered collection
// keyed by name without regard to letter case.
#pragma once

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace vx {

class cDirItem {
public:
    bool ReadOnly = false;    // attribute bit 0x1
    bool Hidden = false;      // 0x2
    bool System = false;      // 0x4
    bool Directory = false;   // 0x10
    bool Archive = false;     // 0x20
    bool Normal = false;      // 0x80
    bool Temporary = false;   // 0x100
    bool Compressed = false;  // 0x800
    bool Offline = false;     // 0x1000
    double CreationTime = 0;  // date values in local time: days since 1899-12-30
    double LastAccessTime = 0;
    double LastWriteTime = 0;
    qint64 FileSize = 0;  // the whole size, of any file
    QString FileName;
};

class cDirList {
public:
    using Items = std::vector<std::unique_ptr<cDirItem>>;

    // Appends an entry built from the attribute word and the other values and returns it (owned
    // by the list). When the name's key is already taken (a name differing only in case), the
    // entry is still appended, without a key: it is counted and enumerated, and a lookup by
    // name keeps finding the first.
    cDirItem* Add(qint32 lAttrib, double dtCreationTime, double dtLastAccessTime,
                  double dtLastWriteTime, qint64 lFileSize, const QString& sFileName);

    // The entry at a 1-based position, or nullptr outside 1..Count().
    cDirItem* Item(int Index) const;
    // The entry with this name, compared without regard to case, or nullptr.
    cDirItem* Item(const QString& Index) const;
    int Count() const { return static_cast<int>(m_items.size()); }

    // Enumeration in insertion order (for range-for): yields std::unique_ptr<cDirItem>.
    Items::const_iterator begin() const { return m_items.begin(); }
    Items::const_iterator end() const { return m_items.end(); }

private:
    Items m_items;
    QHash<QString, cDirItem*> m_byKey;
};

}  // namespace vx
