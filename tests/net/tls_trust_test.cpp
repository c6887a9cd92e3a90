// Certificate trust: fingerprints as openssl computes them, pin settings, the texts a person
// decides by, and real handshakes against the local TLS test server with and without the test CA.
#include "net/tls_trust.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSslSocket>

#include "python_server.h"
#include "qt_printers.h"
#include "temp_home.h"
#include "test_ca.h"

using namespace vx::net;
using vx::test::TestCa;

namespace {

// Connects with `trust` to the server's port under the name `host`; true once encrypted.
bool handshake(const TlsTrust& trust, quint16 port, const QString& host, std::optional<UnverifiedCertificate>* met) {
    QSslSocket s;
    trust.apply(s);
    s.connectToHostEncrypted("127.0.0.1", port, host);
    const QDeadlineTimer deadline(10000);
    while (!s.isEncrypted() && s.state() != QAbstractSocket::UnconnectedState && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    *met = TlsTrust::unverified(s);
    return s.isEncrypted();
}

const QString kOther = QStringLiteral("00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF:"
                                      "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF");

}  // namespace

TEST(TlsTrust, FingerprintIsOpensslsSha256) {
    const TestCa& ca = TestCa::shared();
    ASSERT_TRUE(ca.ok());
    QProcess p;
    p.start("openssl", {"x509", "-noout", "-fingerprint", "-sha256", "-in", ca.serverPem()});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString line = QString::fromLatin1(p.readAllStandardOutput()).trimmed();
    EXPECT_EQ("sha256 Fingerprint=" + sha256Fingerprint(ca.serverCertificate()), line);
    EXPECT_EQ(sha256Fingerprint(QSslCertificate()), QString());
}

TEST(TlsTrust, FingerprintsAndPinSettings) {
    const QString hex = QString(kOther).remove(':');
    const std::pair<QString, QString> normal[] = {
        {kOther, kOther}, {hex.toLower(), kOther}, {" " + kOther.toLower() + "\n", kOther},
        {hex.left(62), ""}, {hex + "00", ""}, {hex.left(63) + "G", ""}, {"", ""}};
    for (const auto& [in, want] : normal) EXPECT_EQ(normalizeFingerprint(in).value_or(""), want) << qPrintable(in);

    const QString mine = sha256Fingerprint(TestCa::shared().serverCertificate());
    EXPECT_EQ(parsePins(hex + " ; junk," + mine.toLower() + "\t" + kOther), (QStringList{kOther, mine}));
    EXPECT_EQ(withPin(QString(), hex), kOther);
    EXPECT_EQ(withPin(kOther, mine), kOther + " " + mine);
    EXPECT_EQ(withPin(kOther + " " + mine, hex), kOther + " " + mine);  // kept once
    EXPECT_EQ(withPin(kOther, "not a fingerprint"), kOther);
}

// A missing file's text is checked through the command line, a good one through the handshakes.
TEST(TlsTrust, CaFileErrorsAddNothing) {
    vx::test::TempHome dir;
    TlsTrust t;
    QString error;
    EXPECT_TRUE(t.addCaFile(" ", &error) && error.isEmpty());
    EXPECT_FALSE(t.addCaFile(vx::test::writeFile(dir.path() + "/junk.pem", "-----BEGIN JUNK-----\n"), &error));
    EXPECT_TRUE(error.contains("holds no PEM certificate")) << qPrintable(error);
    EXPECT_FALSE(t.addCaFile(dir.path() + "/missing.pem", &error));
    EXPECT_TRUE(t.extraCas().isEmpty());
}

TEST(TlsTrust, HandshakeVerifiesChainAndNameOrAcceptsExactlyThePin) {
    const TestCa& ca = TestCa::shared();
    const QString mine = sha256Fingerprint(ca.serverCertificate());
    vx::test::PythonServer server;  // the FTP test server, TLS from the first byte
    ASSERT_TRUE(server.start("tests/ftp/ftp_server.py",
                             {"--root", server.file("root"), "--tls-cert", ca.serverPem(), "--tls-implicit"}));
    struct Case {
        bool withCa;
        QString pins, host;
        bool encrypted;
    } const cases[] = {
        {true, "", "127.0.0.1", true},        {true, "", "localhost", true},
        {true, "", "wrong.invalid", false},   {true, mine, "wrong.invalid", true},
        {false, "", "127.0.0.1", false},      {false, kOther, "127.0.0.1", false},
        {false, kOther + "," + mine, "127.0.0.1", true},
    };
    for (const Case& c : cases) {
        TlsTrust trust;
        if (c.withCa) {
            ASSERT_TRUE(trust.addCaFile(ca.caFile(), nullptr));
        }
        trust.setPins(c.pins);
        std::optional<UnverifiedCertificate> met;
        EXPECT_EQ(handshake(trust, server.port(), c.host, &met), c.encrypted) << c.host.toStdString();
        ASSERT_EQ(met.has_value(), !c.encrypted) << c.host.toStdString();
        if (!met) continue;
        EXPECT_EQ(met->host, c.host);
        EXPECT_EQ(met->fingerprint(), mine);
        EXPECT_FALSE(met->errors.isEmpty());
    }
}

// The question's own text is checked through the upload window, which shows it.
TEST(TlsTrust, AskedPersonDecidesUnattendedRefusesWithFingerprint) {
    UnverifiedCertificate u{"files.example", TestCa::shared().serverCertificate(),
                            {QSslError(QSslError::HostNameMismatch, TestCa::shared().serverCertificate())}};
    const QString fp = u.fingerprint();
    for (const int answer : {1, 0, -1, 2}) {  // yes, no, nobody to ask, yes with nothing to pin
        if (answer == 2) u.certificate = QSslCertificate();
        QString asked, refusal;
        const auto ask = [&](const QString& q) { return asked = q, answer > 0; };
        EXPECT_EQ(decideTrust(u, "FtpTlsPin", answer < 0 ? nullptr : std::function<bool(const QString&)>(ask),
                              &refusal), answer == 1) << answer;
        EXPECT_EQ(asked.contains("files.example"), answer >= 0 && answer < 2) << answer;
        EXPECT_EQ(refusal.isEmpty(), answer == 1);
        EXPECT_EQ(refusal.contains(fp) && refusal.contains("\"FtpTlsPin\""), answer == 0 || answer == -1)
            << qPrintable(refusal);
    }
}
