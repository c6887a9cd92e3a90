// Test server process: /usr/bin/python3 has the system's pyftpdlib; the server prints its port.
#include "ftp_test_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vx::test {

FtpTestServer::FtpTestServer(const QStringList& knobs) {
    const QString script = QStringLiteral(VEXARO_SOURCE_DIR "/tests/ftp/ftp_server.py");
    QStringList args = {script, "--root", m_root.path(), "--transcript", m_work.filePath("transcript")};
    args += knobs;
    m_process.setStandardErrorFile(m_work.filePath("server.err"));
    m_process.start(QStringLiteral("/usr/bin/python3"), args);
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("cannot start /usr/bin/python3: ") + m_process.errorString();
        return;
    }
    QByteArray out;
    QDeadlineTimer deadline(20000);
    while (!out.contains('\n') && !deadline.hasExpired()) {
        if (!m_process.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
            if (m_process.state() != QProcess::Running) break;
        out += m_process.readAllStandardOutput();
    }
    const QByteArray line = out.left(out.indexOf('\n')).trimmed();
    if (line.startsWith("PORT ")) m_port = static_cast<quint16>(line.mid(5).toUInt());
    if (!m_port) {
        QFile err(m_work.filePath("server.err"));
        err.open(QIODevice::ReadOnly);
        m_error = QStringLiteral("server did not start: ") + QString::fromUtf8(out + err.readAll());
    }
}

FtpTestServer::~FtpTestServer() {
    m_process.kill();
    m_process.waitForFinished(5000);
}

void FtpTestServer::put(const QString& remotePath, const QByteArray& bytes) const {
    const QString path = local(remotePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray FtpTestServer::get(const QString& remotePath) const {
    QFile f(local(remotePath));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool FtpTestServer::exists(const QString& remotePath) const { return QFileInfo::exists(local(remotePath)); }

QStringList FtpTestServer::transcript() const {
    QFile f(m_work.filePath("transcript"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList FtpTestServer::verbs() const {
    QStringList out;
    for (const QString& l : transcript()) out << l.section(QLatin1Char(' '), 0, 0).toUpper();
    return out;
}

}  // namespace vx::test
