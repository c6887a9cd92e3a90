// Test server process: /usr/bin/python3 has the system's pyftpdlib; the server prints its port.
#include "ftp_test_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace vx::test {

FtpTestServer::FtpTestServer(const QStringList& knobs) {
    m_process.setStandardErrorFile(m_work.filePath("server.err"));
    m_process.start(QStringLiteral("/usr/bin/python3"),
                    QStringList{VEXARO_SOURCE_DIR "/tests/ftp/ftp_server.py", "--root", m_root.path(),
                                "--transcript", m_work.filePath("transcript")} + knobs);
    QByteArray out;
    const QDeadlineTimer deadline(20000);
    while (!out.contains('\n') && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(200);
        out += m_process.readAllStandardOutput();
    }
    if (out.startsWith("PORT ")) m_port = static_cast<quint16>(out.mid(5).trimmed().toUInt());
    QFile err(m_work.filePath("server.err"));
    if (!m_port && err.open(QIODevice::ReadOnly))
        m_error = QStringLiteral("server did not start: ") + QString::fromUtf8(out + err.readAll());
}

FtpTestServer::~FtpTestServer() {
    m_process.kill();
    m_process.waitForFinished(5000);
}

void FtpTestServer::put(const QString& remotePath, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(local(remotePath)).absolutePath());
    QFile f(local(remotePath));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

bool like(const QString& text, const QString& pattern) {
    QStringList parts = pattern.split(QLatin1Char('*'));
    for (QString& part : parts) part = QRegularExpression::escape(part);
    return QRegularExpression("\\A" + parts.join(".*") + "\\z", QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .hasMatch();
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray FtpTestServer::get(const QString& remotePath) const { return contents(local(remotePath)); }

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

bool logIn(cFTP& ftp, const FtpTestServer& server, bool passive, int ms) {
    ftp.setTimeouts({ms, ms, ms, ms});
    if (passive) ftp.SetModePassive(); else ftp.SetModeActive();
    ftp.SetTransferBinary();
    return ftp.OpenConnection(server.address(), QStringLiteral("tulpa"), QStringLiteral("secret"));
}

}  // namespace vx::test
