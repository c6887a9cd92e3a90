// Drive list over the mounted volumes.
#include "ui/drive_list.h"

#include <QSignalBlocker>
#include <QStorageInfo>

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

}  // namespace vx
