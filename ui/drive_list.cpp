// Drive list over the mounted volumes.
#include "ui/drive_list.h"

#include <QSignalBlocker>
#include <QStorageInfo>

#include "ui/folder_list.h"

namespace vx {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) { addItems(volumeRoots()); }

QString DriveList::drive() const { return currentText(); }

void DriveList::setDriveSilently(const QString& root) {
    const QSignalBlocker block(this);
    int i = findText(root);
    if (i < 0) {
        addItem(root);
        i = count() - 1;
    }
    setCurrentIndex(i);
}

QStringList DriveList::volumeRoots() {
    static const QStringList pseudo = {"proc",  "sysfs",  "devpts",   "cgroup", "cgroup2",
                                       "mqueue", "devtmpfs", "securityfs", "pstore", "debugfs",
                                       "tracefs", "bpf",    "autofs",   "fusectl", "configfs",
                                       "binfmt_misc", "hugetlbfs", "nsfs", "overlay"};
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady()) continue;
        if (pseudo.contains(QString::fromLatin1(v.fileSystemType()))) continue;
        const QString root = v.rootPath();
        if (root.startsWith(QLatin1String("/proc")) || root.startsWith(QLatin1String("/sys")) ||
            root.startsWith(QLatin1String("/dev")) || root.startsWith(QLatin1String("/run")))
            continue;
        if (!roots.contains(root)) roots << root;
    }
    return roots;
}

void followDrive(DriveList& drives, FolderList& folders, QString& lastDrive, Ui& ui) {
    const QString drive = drives.drive();
    if (!folders.setPath(drive)) {
        ui.messageBox(QStringLiteral("The drive selected cannot be accessed"), Buttons::Ok,
                      Icon::Critical);
        drives.setDriveSilently(lastDrive);
        return;
    }
    lastDrive = drive;
}

}  // namespace vx
