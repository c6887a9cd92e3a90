// A test server written in Python, run by the system's python3 for one test: it listens on
// 127.0.0.1, prints "PORT <n>" once it does, writes its files into a temporary folder of its own
// and is killed when this object goes. Its error output goes to the test's own.
#pragma once

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

namespace vx::test {

class PythonServer {
public:
    PythonServer() = default;
    PythonServer(const PythonServer&) = delete;
    PythonServer& operator=(const PythonServer&) = delete;
    ~PythonServer() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // Runs the script (a path below the source tree) with these arguments and waits up to 20
    // seconds for its port; false when none came.
    bool start(const QString& script, const QStringList& args) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        QStringList{QStringLiteral(VEXARO_SOURCE_DIR "/") + script} + args);
        QByteArray out;
        while (!out.contains('\n') && m_process.waitForReadyRead(20000))
            out += m_process.readAllStandardOutput();
        if (out.startsWith("PORT ")) m_port = static_cast<quint16>(out.mid(5).trimmed().toUInt());
        return m_port != 0;
    }

    quint16 port() const { return m_port; }  // 0 until the server started
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // A path in the server's folder, and the lines of a file there (without their line ends).
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QStringList lines(const QString& name) const {
        QFile f(file(name));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList all = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        all.removeLast();  // what follows the last line end
        return all;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};

// True when `text` matches `pattern`, in which each '*' stands for any run of characters.
inline bool like(const QString& text, const QString& pattern) {
    QStringList parts = pattern.split(QLatin1Char('*'));
    for (QString& part : parts) part = QRegularExpression::escape(part);
    const QRegularExpression re("\\A" + parts.join(".*") + "\\z",
                                QRegularExpression::DotMatchesEverythingOption);
    return re.match(text).hasMatch();
}

}  // namespace vx::test
