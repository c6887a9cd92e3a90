// File list.
#include "ui/file_list.h"

#include <QDir>

namespace vx {

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void FileList::setPath(const QString& folder) {
    m_path = folder;
    refresh();
}

void FileList::refresh() {
    clear();
    addItems(QDir(m_path).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

}  // namespace vx
