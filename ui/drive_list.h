// Drive list: the root folders of the mounted volumes ("/" first), as a drop-down list.
#pragma once

#include <QComboBox>
#include <QStringList>

#include "ui/ui.h"

namespace vx {

class FolderList;

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

// A drive change: the folder list moves to the newly selected root. When that root cannot be
// read, shows "The drive selected cannot be accessed" and puts the drive list back on lastDrive;
// otherwise lastDrive becomes the new root.
void followDrive(DriveList& drives, FolderList& folders, QString& lastDrive, Ui& ui);

}  // namespace vx
