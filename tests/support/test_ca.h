// A throw-away certificate authority for one test program, made by make_test_ca.sh into a
// temporary folder: its CA file (what "TlsCaFile" names) and the server certificate for
// 127.0.0.1 and localhost that the TLS test servers load.
#pragma once

#include <QProcess>
#include <QSslCertificate>
#include <QTemporaryDir>

#include "temp_home.h"

namespace vx::test {

class TestCa {
public:
    TestCa() {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(QStringLiteral("/bin/bash"),
                {QStringLiteral(VEXARO_SOURCE_DIR "/tests/support/make_test_ca.sh"), m_dir.path()});
        m_ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    // One authority for the whole test program.
    static const TestCa& shared() {
        static const TestCa ca;
        return ca;
    }

    bool ok() const { return m_ok; }
    QString caFile() const { return m_dir.filePath(QStringLiteral("ca.pem")); }
    QString serverPem() const { return m_dir.filePath(QStringLiteral("server.pem")); }
    QSslCertificate serverCertificate() const {
        return QSslCertificate(readFile(m_dir.filePath(QStringLiteral("server.crt"))));
    }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

}  // namespace vx::test
