// The archive window's list as the dialogs read it: one row per listed entry of the zip
// component, its texts made on demand from the component's own entry list, so a list of a
// million entries keeps only an index per row. Each row carries its entry's 1-based index in
// the archive as a tag, and the dialogs hand the tags of all rows or the selected ones back to
// the component, so each row stands for its own entry whatever its name.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <vector>

class QTreeView;

namespace vx {

class Arkovo;

class ArchiveListModel : public QAbstractTableModel {
public:
    explicit ArchiveListModel(const Arkovo& arkovo, QObject* parent = nullptr);

    // Empties the list (before the component's entries are listed again).
    void clear();
    // Adds a row at the end for each entry from first to last (1-based) that has a file name;
    // returns the sum of their sizes, saturating.
    quint64 append(qint64 first, qint64 last);
    // The entry index a row stands for; 0 for a row out of range.
    qint64 tag(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The cell texts (archive_rows.h), sizes and ratio right-aligned, the tag as Qt::UserRole.
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Orders the rows by the text of the column without regard to case; rows of equal text keep
    // their order, and the selection stays with its rows.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    const Arkovo& m_arkovo;
    std::vector<qint64> m_tags;
};

// The tags of all rows, or of the selected rows, in the order the list shows them; list shows
// an ArchiveListModel.
QList<qint64> rowTags(const QTreeView& list, bool selectedOnly);

}  // namespace vx
