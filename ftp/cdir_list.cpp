// The listing collection: insertion order plus a case-blind name index.
#include "ftp/cdir_list.h"

namespace vx {
namespace {

QString keyOf(const QString& name) { return name.toCaseFolded(); }

}  // namespace

cDirItem* cDirList::Add(qint32 lAttrib, double dtCreationTime, double dtLastAccessTime,
                        double dtLastWriteTime, qint64 lFileSize, const QString& sFileName) {
    auto item = std::make_unique<cDirItem>();
    const quint32 a = static_cast<quint32>(lAttrib);
    item->ReadOnly = a & 0x1;
    item->Hidden = a & 0x2;
    item->System = a & 0x4;
    item->Directory = a & 0x10;
    item->Archive = a & 0x20;
    item->Normal = a & 0x80;
    item->Temporary = a & 0x100;
    item->Compressed = a & 0x800;
    item->Offline = a & 0x1000;
    item->CreationTime = dtCreationTime;
    item->LastAccessTime = dtLastAccessTime;
    item->LastWriteTime = dtLastWriteTime;
    item->FileSize = lFileSize;
    item->FileName = sFileName;
    cDirItem* raw = item.get();
    m_items.push_back(std::move(item));
    const QString key = keyOf(sFileName);
    if (!m_byKey.contains(key)) m_byKey.insert(key, raw);
    return raw;
}

cDirItem* cDirList::Item(int Index) const {
    if (Index < 1 || Index > Count()) return nullptr;
    return m_items[static_cast<size_t>(Index - 1)].get();
}

cDirItem* cDirList::Item(const QString& Index) const { return m_byKey.value(keyOf(Index), nullptr); }

}  // namespace vx
