// Folder list.
#include "ui/folder_list.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyle>

namespace vx {

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setPath(item->data(Qt::UserRole).toString()); });
}

bool FolderList::setPath(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable()) return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (clean == m_path) return true;
    m_path = clean;
    fill();
    emit pathChanged(m_path);
    return true;
}

QString FolderList::entryPath(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->data(Qt::UserRole).toString() : QString();
}

void FolderList::fill() {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QStringList parts = m_path.split('/', Qt::SkipEmptyParts);
    QString at = QStringLiteral("/");
    auto add = [this](const QIcon& icon, const QString& text, const QString& path, int depth) {
        auto* it = new QListWidgetItem(icon, QString(depth * 2, ' ') + text, this);
        it->setData(Qt::UserRole, path);
    };
    add(open, QStringLiteral("/"), at, 0);
    for (int i = 0; i < parts.size(); ++i) {
        at = (at == QLatin1String("/") ? at : at + '/') + parts[i];
        add(open, parts[i], at, i + 1);
    }
    setCurrentRow(count() - 1);
    const QDir dir(m_path);
    for (const QString& sub :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        add(closed, sub, dir.filePath(sub), parts.size() + 1);
}

}  // namespace vx
