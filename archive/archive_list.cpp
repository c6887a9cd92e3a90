// The archive list's rows.
#include "archive/archive_list.h"

#include <QTreeView>
#include <algorithm>
#include <numeric>

#include "archive/archive_rows.h"
#include "archive/arkovo.h"
#include "core/saturating.h"

namespace vx {
namespace {

// Numbers read best right-aligned; the sort still compares the cell texts.
bool rightAligned(int column) {
    return column == kColSize || column == kColPacked || column == kColRatio;
}

}  // namespace

ArchiveListModel::ArchiveListModel(const Arkovo& arkovo, QObject* parent)
    : QAbstractTableModel(parent), m_arkovo(arkovo) {}

void ArchiveListModel::clear() {
    beginResetModel();
    m_tags = {};
    endResetModel();
}

quint64 ArchiveListModel::append(qint64 first, qint64 last) {
    std::vector<qint64> added;
    quint64 total = 0, size = 0;
    for (qint64 i = first; i <= last; ++i) {
        if (!m_arkovo.entryListed(i, size)) continue;
        added.push_back(i);
        total = saturatingAdd(total, size);
    }
    if (added.empty()) return 0;
    const int at = rowCount();
    beginInsertRows({}, at, at + static_cast<int>(added.size()) - 1);
    m_tags.insert(m_tags.end(), added.begin(), added.end());
    endInsertRows();
    return total;
}

qint64 ArchiveListModel::tag(int row) const {
    return row >= 0 && row < rowCount() ? m_tags[static_cast<std::size_t>(row)] : 0;
}

int ArchiveListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_tags.size());
}

int ArchiveListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kArchiveColumns;
}

QVariant ArchiveListModel::data(const QModelIndex& index, int role) const {
    const qint64 entry = tag(index.row());
    if (!index.isValid() || entry == 0) return {};
    switch (role) {
        case Qt::DisplayRole:
            return cellText(m_arkovo.GetEntry(entry), index.column());
        case Qt::TextAlignmentRole:
            if (!rightAligned(index.column())) return {};
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        case Qt::UserRole:
            return entry;
        default:
            return {};
    }
}

QVariant ArchiveListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kTitles[kArchiveColumns] = {"Filename", "Date/Time", "Size",
                                                         "Packed",   "Ratio",     "Path"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kArchiveColumns)
        return {};
    return QString::fromLatin1(kTitles[section]);
}

void ArchiveListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kArchiveColumns) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::size_t rows = m_tags.size();
    std::vector<QString> keys;
    keys.reserve(rows);
    for (const qint64 entry : m_tags) keys.push_back(cellText(m_arkovo.GetEntry(entry), column));
    std::vector<int> sorted(rows);
    std::iota(sorted.begin(), sorted.end(), 0);
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        const int c = QString::compare(keys[a], keys[b], Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    keys = {};
    std::vector<qint64> tags(rows);
    std::vector<int> newRow(rows);
    for (std::size_t k = 0; k < rows; ++k) {
        tags[k] = m_tags[static_cast<std::size_t>(sorted[k])];
        newRow[static_cast<std::size_t>(sorted[k])] = static_cast<int>(k);
    }
    m_tags = std::move(tags);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after << index(newRow[static_cast<std::size_t>(i.row())], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QList<qint64> rowTags(const QTreeView& list, bool selectedOnly) {
    QList<qint64> tags;
    const auto* model = dynamic_cast<const ArchiveListModel*>(list.model());
    if (!model) return tags;
    const int rows = model->rowCount();
    std::vector<bool> chosen(static_cast<std::size_t>(rows), !selectedOnly);
    if (selectedOnly && list.selectionModel())
        for (const QItemSelectionRange& range : list.selectionModel()->selection())
            for (int row = range.top(); row <= range.bottom(); ++row)
                chosen[static_cast<std::size_t>(row)] = true;
    for (int row = 0; row < rows; ++row)
        if (chosen[static_cast<std::size_t>(row)]) tags << model->tag(row);
    return tags;
}

}  // namespace vx
