// Starts the Python FTP test server (ftp_server.py, a real pyftpdlib server) on 127.0.0.1 with
// a fresh root holding home/tulpa, and reads back the commands it received.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vx::test {

class FtpTestServer {
public:
    // Starts the server with these knobs (see ftp_server.py). check started() afterwards.
    explicit FtpTestServer(const QStringList& knobs = {});
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer&) = delete;
    FtpTestServer& operator=(const FtpTestServer&) = delete;

    bool started() const { return m_port != 0; }
    QString startError() const { return m_error; }
    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    static QString user() { return QStringLiteral("tulpa"); }
    static QString password() { return QStringLiteral("secret"); }

    // Local path of a remote path such as "/home/tulpa/a.zip".
    QString local(const QString& remotePath) const { return m_root.path() + remotePath; }
    void put(const QString& remotePath, const QByteArray& bytes) const;
    QByteArray get(const QString& remotePath) const;
    bool exists(const QString& remotePath) const;

    // The command lines received so far, in order, verb and argument as sent.
    QStringList transcript() const;
    // Only the verbs, e.g. {"USER", "PASS", "PWD"}.
    QStringList verbs() const;

private:
    QTemporaryDir m_root;
    QTemporaryDir m_work;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};

}  // namespace vx::test
