// Real zip archives for tests: files written into a temporary folder and packed by the system's
// `zip`, and the system's `unzip`/`zipinfo` run on what the program wrote.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace vx::test {

using Files = std::vector<std::pair<QString, QByteArray>>;

// Runs a program in a folder; its standard output, or "exit N: stderr" when it failed.
inline QString runTool(const QString& program, const QStringList& args, const QString& folder) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("exit %1: ").arg(p.exitCode()) +
               QString::fromLocal8Bit(p.readAllStandardError() + p.readAllStandardOutput());
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Writes each (relative name, bytes) under folder, making sub-folders.
inline void writeFiles(const QString& folder, const Files& files) {
    for (const auto& [name, bytes] : files) {
        const QString path = folder + '/' + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    }
}

// Writes the files under folder/src and packs them with `zip -r -D` (no folder entries) into
// folder/archiveName; returns the archive's path.
inline QString zipOf(const QString& folder, const QString& archiveName, const Files& files,
                     const QStringList& options = {}) {
    const QString src = folder + QStringLiteral("/src");
    writeFiles(src, files);
    QStringList args = options;
    args << QStringLiteral("-q") << QStringLiteral("-r") << QStringLiteral("-D")
         << folder + '/' + archiveName;
    for (const auto& f : files) args << f.first;
    runTool(QStringLiteral("zip"), args, src);
    return folder + '/' + archiveName;
}

// The stored names of an archive, one a line, as `zipinfo -1` lists them.
inline QStringList zipNames(const QString& archive) {
    return runTool(QStringLiteral("zipinfo"), {QStringLiteral("-1"), archive}, QDir::tempPath())
        .split('\n', Qt::SkipEmptyParts);
}

}  // namespace vx::test
