// Test server helpers: the server process, its files and its transcript.
#include "ftp_test_server.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace vx::test {

FtpTestServer::FtpTestServer(const QStringList& knobs) {
    start(QStringLiteral("tests/ftp/ftp_server.py"),
          QStringList{"--root", m_root.path(), "--transcript", file("transcript")} + knobs);
}

void FtpTestServer::put(const QString& remotePath, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(local(remotePath)).absolutePath());
    QFile f(local(remotePath));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray FtpTestServer::get(const QString& remotePath) const { return contents(local(remotePath)); }

QStringList FtpTestServer::verbs() const {
    QStringList out;
    for (const QString& l : transcript()) out << l.section(QLatin1Char(' '), 0, 0).toUpper();
    return out;
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

bool logIn(cFTP& ftp, const FtpTestServer& server, bool passive, int ms) {
    ftp.setTimeouts({ms, ms, ms, ms});
    if (passive) ftp.SetModePassive(); else ftp.SetModeActive();
    ftp.SetTransferBinary();
    return ftp.OpenConnection(server.address(), QStringLiteral("tulpa"), QStringLiteral("secret"));
}

}  // namespace vx::test
