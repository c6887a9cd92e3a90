// Real zip archives for tests: files written into a folder and packed by the system's `zip`, and
// the system's `unzip`/`zipinfo` run on what the program wrote.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <utility>
#include <vector>

#include "temp_home.h"

namespace vx::test {

using Files = std::vector<std::pair<QString, QByteArray>>;

// Runs a program in a folder: its standard output, or "exit N: " and its messages on failure.
inline QString runTool(const QString& program, const QStringList& args, const QString& folder) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    p.waitForFinished(60000);
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) return out;
    return QStringLiteral("exit %1: ").arg(p.exitCode()) + p.readAllStandardError() + out;
}

// Writes each (relative name, bytes) under folder, making sub-folders.
inline void writeFiles(const QString& folder, const Files& files) {
    for (const auto& [name, bytes] : files) {
        QDir(folder).mkpath(QFileInfo(name).path());
        writeFile(folder + '/' + name, bytes);
    }
}

// Writes the files under folder/src and packs them, in order and without folder entries, into
// folder/archiveName with `zip`; returns the archive's path.
inline QString zipOf(const QString& folder, const QString& archiveName, const Files& files) {
    writeFiles(folder + "/src", files);
    QStringList args{"-q", "-D", folder + '/' + archiveName};
    for (const auto& f : files) args << f.first;
    runTool("zip", args, folder + "/src");
    return folder + '/' + archiveName;
}

// The stored names of an archive, sorted, as `zipinfo -1` lists them; none for a missing file.
inline QStringList zipNames(const QString& archive) {
    if (!QFile::exists(archive)) return {};
    QStringList names = runTool("zipinfo", {"-1", archive}, QDir::tempPath()).split('\n');
    names.removeAll(QString());
    names.sort();
    return names;
}

}  // namespace vx::test
