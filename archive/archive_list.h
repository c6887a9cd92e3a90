// The archive window's list as the dialogs read it: rows carry their entry's 1-based index in
// the archive as a tag, and the dialogs hand the tags of all rows or the selected ones back to
// the component, so each row stands for its own entry whatever its name.
#pragma once

#include <QList>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace vx {

struct ArkovoEntry;

// A new row at the end of the list showing the entry, tagged with its index.
QTreeWidgetItem* addEntryRow(QTreeWidget& list, const ArkovoEntry& entry, qint64 index);

// The entry index a row stands for; 0 for a row without one.
qint64 rowTag(const QTreeWidgetItem& row);

// The tags of all rows, or of the selected rows, in the order the list shows them.
QList<qint64> rowTags(const QTreeWidget& list, bool selectedOnly);

}  // namespace vx
