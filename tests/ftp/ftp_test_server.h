// Starts the Python FTP test server (ftp_server.py, a real pyftpdlib server) on 127.0.0.1 with
// a fresh root holding home/tulpa, reads back the commands it received, and logs a cFTP in.
//
// Knobs make the server misbehave on purpose (CMD is a command verb, or GREETING for the
// greeting; a literal \r\n in TEXT, written "\\r\\n" in C++, ends a line there):
//   --reply CMD TEXT       answer CMD with TEXT instead of running it
//   --every CMD TEXT SECS  answer CMD with TEXT, again every SECS, 20 times in all, then hang up
//   --silent CMD           never answer CMD
//   --data-stop BYTES      data transfers stop after about BYTES bytes, with --data-stop-mode
//                          close (the data connection is closed) or stall (it goes silent)
//   --control-drop BYTES   the control connection is closed once a transfer passed BYTES bytes
//   --stop-times N         only the first N transfers that reach --data-stop or --control-drop
//                          are stopped (all by default)
//   --data-drip SECS       data connections send one byte every SECS
//   --pasv-host IP         name IP instead of 127.0.0.1 in the 227 reply
//   --trickle              send replies one byte at a time, a millisecond apart
//   --throttle BYTES       data connections carry at most about BYTES bytes a second, each way
// and TLS (tlsKnobs gives the first with the test CA's certificate):
//   --tls-cert PEM         offer "AUTH TLS" with this certificate and key
//   --tls-implicit         TLS from the first byte
//   --tls-required         no log-in and no data connection without TLS
//   --tls-reuse            refuse ("522") data connections that do not resume the session
//   --tls-wait-close       after its TLS close on a data connection, wait for the client's
//                          (or its close) before closing and replying
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ftp/cftp.h"
#include "python_server.h"
#include "temp_home.h"
#include "test_ca.h"

namespace vx::test {

class FtpTestServer : public PythonServer {
public:
    // Starts the server with these knobs; port() is 0 when it did not start.
    explicit FtpTestServer(const QStringList& knobs = {}) {
        start("tests/ftp/ftp_server.py",
              QStringList{"--root", m_root.path(), "--transcript", file("transcript")} + knobs);
    }

    // Local path of a remote path such as "/home/tulpa/a.zip", and its contents ("<missing>").
    QString local(const QString& remotePath) const { return m_root.path() + remotePath; }
    QByteArray get(const QString& remotePath) const { return readFile(local(remotePath)); }
    void put(const QString& remotePath, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(local(remotePath)).absolutePath());
        writeFile(local(remotePath), bytes);
    }

    // The command lines received so far, in order, and their verbs alone ("USER", "PASS", ...).
    QStringList transcript() const { return lines(QStringLiteral("transcript")); }
    QStringList verbs() const {
        QStringList out;
        for (const QString& l : transcript()) out << l.section(QLatin1Char(' '), 0, 0).toUpper();
        return out;
    }

private:
    QTemporaryDir m_root;
};

// Knobs of a TLS server with the test CA's certificate, and more.
inline QStringList tlsKnobs(const QStringList& more = {}) {
    return QStringList{"--tls-cert", TestCa::shared().serverPem()} + more;
}

// TLS in `mode` that trusts the test CA.
inline ftp::TlsOptions tlsOptions(ftp::TlsMode mode) {
    ftp::TlsOptions o;
    o.mode = mode;
    o.trust.addCaFile(TestCa::shared().caFile(), nullptr);
    return o;
}

// FTPUploadFile and FTPDownloadFile on copies of the paths, which they trim in place.
inline bool upload(cFTP& ftp, QString sLocal, QString sRemote) { return ftp.FTPUploadFile(sLocal, sRemote); }
inline bool download(cFTP& ftp, QString sLocal, QString sRemote) { return ftp.FTPDownloadFile(sLocal, sRemote); }

// Logs `ftp` in as the server's user, with binary transfers, the given mode and every time-out
// (a whole listing's too) set to `ms`, so that a hang shows as a failure.
inline bool logIn(cFTP& ftp, const FtpTestServer& server, bool passive = true, int ms = 5000) {
    ftp.setTimeouts({ms, ms, ms, ms});
    passive ? ftp.SetModePassive() : ftp.SetModeActive();
    ftp.SetTransferBinary();
    return ftp.OpenConnection(server.address(), QStringLiteral("tulpa"), QStringLiteral("secret"));
}

}  // namespace vx::test
