// Drive list: the root folders of the mounted volumes ("/" first), as a drop-down list.
#pragma once

#include <QComboBox>
#include <QStringList>

namespace vx {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // The selected root folder.
    QString drive() const;
    // Selects a root without raising a change (used to go back after a failed change).
    void setDriveSilently(const QString& root);

    // Root folders of the mounted, ready volumes, without pseudo file systems; "/" first.
    static QStringList volumeRoots();
};

}  // namespace vx
