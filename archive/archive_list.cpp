// Tagged archive list rows.
#include "archive/archive_list.h"

#include <QTreeWidget>

#include "archive/archive_rows.h"
#include "archive/arkovo.h"

namespace vx {
namespace {

constexpr int kTagRole = Qt::UserRole;

// Numbers read best right-aligned; the sort still compares the cell texts.
bool rightAligned(int column) {
    return column == kColSize || column == kColPacked || column == kColRatio;
}

// A row that sorts by the text of the sort column, without regard to case.
class EntryRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return QString::compare(text(column), other.text(column), Qt::CaseInsensitive) < 0;
    }
};

}  // namespace

QTreeWidgetItem* addEntryRow(QTreeWidget& list, const ArkovoEntry& entry, qint64 index) {
    auto* row = new EntryRow(&list);
    const auto texts = rowTexts(entry);
    for (int c = 0; c < kArchiveColumns; ++c) {
        row->setText(c, texts[c]);
        if (rightAligned(c)) row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    row->setData(kColName, kTagRole, index);
    return row;
}

qint64 rowTag(const QTreeWidgetItem& row) { return row.data(kColName, kTagRole).toLongLong(); }

QList<qint64> rowTags(const QTreeWidget& list, bool selectedOnly) {
    QList<qint64> tags;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list.topLevelItem(i);
        if (!selectedOnly || row->isSelected()) tags << rowTag(*row);
    }
    return tags;
}

}  // namespace vx
