// Folder list: the current folder's ancestors from the root down, the folder itself, then its
// sub-folders, indented by depth. Double-click or Enter on an entry opens that folder.
#pragma once

#include <QListWidget>

namespace vx {

class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    // Opens a folder; false (and nothing changes) when it cannot be read.
    bool setPath(const QString& folder);
    // The folder an entry stands for.
    QString entryPath(int row) const;

signals:
    void pathChanged(const QString& folder);

private:
    void fill();
    QString m_path;
};

}  // namespace vx
