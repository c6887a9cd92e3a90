// Resolution of the program folder.
#include "core/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vx {
namespace {

QString& fixedFolder() {
    static QString folder;
    return folder;
}

}  // namespace

bool isInstalledBinFolder(const QString& folder) {
    return QFileInfo::exists(folder + QStringLiteral("/../share/applications/") + kDesktopId +
                             QStringLiteral(".desktop"));
}

QString findProgramFolder() {
    const QString home = qEnvironmentVariable("VEXARO_HOME");
    if (!home.isEmpty()) return QDir::cleanPath(home);
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (QFileInfo(exeDir).isWritable() && !isInstalledBinFolder(exeDir))
            return QDir::cleanPath(exeDir);
    }
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty()) data = QDir::homePath() + QStringLiteral("/.local/share/Vexaro");
    QDir().mkpath(data);
    return QDir::cleanPath(data);
}

QString programFolder() {
    if (fixedFolder().isEmpty()) fixedFolder() = findProgramFolder();
    return fixedFolder();
}

void setProgramFolder(const QString& folder) { fixedFolder() = folder; }

QString besideProgram(const QString& name) {
    const QString folder = programFolder();
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString TrimPath(const QString& path) {
    const qsizetype at = path.lastIndexOf(QLatin1Char('/'));
    return at < 0 ? path : path.mid(at + 1);
}

}  // namespace vx
