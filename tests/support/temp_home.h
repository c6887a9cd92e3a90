// A fresh temporary program folder for one test: sets VEXARO_HOME and the program folder, and
// restores both afterwards.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "core/program_folder.h"

namespace vx::test {

class TempHome {
public:
    TempHome() : m_old(qgetenv("VEXARO_HOME")), m_hadOld(qEnvironmentVariableIsSet("VEXARO_HOME")) {
        qputenv("VEXARO_HOME", m_dir.path().toLocal8Bit());
        setProgramFolder(m_dir.path());
    }
    ~TempHome() {
        if (m_hadOld)
            qputenv("VEXARO_HOME", m_old);
        else
            qunsetenv("VEXARO_HOME");
        setProgramFolder(QString());
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    // Writes bytes to a file in the folder; returns its path.
    QString write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
    bool m_hadOld;
};

// Replaces a file's content with the bytes (nothing when it cannot be opened); returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);

// The whole content of a file, or "<missing>" when it cannot be read.
QByteArray readFile(const QString& path);

}  // namespace vx::test
