// The archive window's list as the dialogs read it: rows carry their entry's 1-based index in
// the archive as a tag, and a name list is built from all rows or the selected ones.
#pragma once

#include <QList>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace vx {

class Arkovo;
struct ArkovoEntry;

// A new row at the end of the list showing the entry, tagged with its index.
QTreeWidgetItem* addEntryRow(QTreeWidget& list, const ArkovoEntry& entry, qint64 index);

// The entry index a row stands for; 0 for a row without one.
qint64 rowTag(const QTreeWidgetItem& row);

// The tags of all rows, or of the selected rows, in the order the list shows them.
QList<qint64> rowTags(const QTreeWidget& list, bool selectedOnly);

// The names to hand to ExtractFiles or DeleteFiles for those rows.
QStringList rowNames(const QTreeWidget& list, const Arkovo& arkovo, bool selectedOnly);

}  // namespace vx
