// File list: the files of one folder by name, several selectable at once.
#pragma once

#include <QListWidget>

namespace vx {

class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& folder);
    // Reads the folder again.
    void refresh();
    QString fileName(int row) const { return item(row)->text(); }

private:
    QString m_path;
};

}  // namespace vx
