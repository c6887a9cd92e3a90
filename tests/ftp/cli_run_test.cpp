// vexaro-ftp run end to end as a script would run it, against the local test server: one run
// in which every command works, and one that stops at the first failure.
#include <QProcess>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "ftp_test_server.h"
#include "temp_home.h"

using vx::test::FtpTestServer;

namespace {

struct CliRun {
    int exitCode = -1;
    QStringList out;  // lines
    QString err;
};

CliRun runCli(const QStringList& args, const QString& server, const QString& folder) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VEXARO_FTP_SERVER", server);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(VEXARO_FTP_CLI), QStringList{"-t", "5", "-u", "tulpa", "-p", "secret"} + args);
    if (!p.waitForFinished(60000)) p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
            QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(VexaroFtpCli, EveryCommandWorksInOneRun) {
    FtpTestServer server;
    server.put("/home/tulpa/empty.txt", "");
    server.put("/home/tulpa/in\x1b[2Jbox/bell\x07.txt", "");  // names that could drive a terminal
    vx::test::TempHome dir;
    const QByteArray data(1000000, 'v');
    const QString src = dir.write("data file.bin", data), pw = dir.write("pw", "secret\n");
    const CliRun r = runCli({"--active", "--tls", "off", "--password-file", pw, "cd", "public_html", "ls", "cd", "../in\x1b[2Jbox",
                             "put", src, ".", "size", "data file.bin", "get", "data file.bin", "back.bin",
                             "get", "../empty.txt", ".", "rename", "data file.bin", "x.bin", "ls", "pwd"},
                            server.address(), dir.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("not encrypted")) << r.err.toStdString();  // "--tls off": the plain dialogue
    EXPECT_FALSE(server.verbs().contains("AUTH"));
    EXPECT_TRUE(server.get("/home/tulpa/in\x1b[2Jbox/x.bin") == data);
    EXPECT_TRUE(vx::test::readFile(dir.file("back.bin")) == data);
    EXPECT_EQ(vx::test::readFile(dir.file("empty.txt")), "");
    EXPECT_TRUE(server.verbs().contains("EPRT"));
    ASSERT_EQ(r.out.size(), 6) << r.out.join('\n').toStdString();
    EXPECT_EQ(r.out[0], "Name  Size  Last Accessed  Attributes");  // an empty folder
    EXPECT_EQ(r.out[1], "1000000");
    EXPECT_EQ(r.out[2].simplified(), "Name Size Last Accessed Attributes");
    QStringList rows = {r.out[3].simplified(), r.out[4].simplified()};
    rows.sort();
    EXPECT_TRUE(rows[0].startsWith("bell\\x07.txt 0 ") && rows[1].startsWith("x.bin 1000000 "))
        << rows.join('\n').toStdString();
    EXPECT_TRUE(rows[1].endsWith(" - - - - N - - - -")) << rows[1].toStdString();
    EXPECT_EQ(r.out[5], "/home/tulpa/in\\x1b[2Jbox");  // control characters are escaped
}

TEST(VexaroFtpCli, FailurePrintsTheErrorStopsAndExitsNonZero) {
    FtpTestServer server({"--reply", "CWD", "550 No such \x1b[2Jfolder."});
    vx::test::TempHome dir;
    const CliRun r = runCli({"cd", "no-such-folder", "mkdir", "never"}, server.address(), dir.path());
    EXPECT_EQ(r.exitCode, 1);
    // First the warning of the default "--tls auto" against a server without TLS.
    EXPECT_TRUE(vx::test::like(r.err, "vexaro-ftp: the session with 127.0.0.1:* is not encrypted: the server "
                                      "answered AUTH TLS with \"500 *\"\n"
                                      "vexaro-ftp: cd: 550 No such \\x1b[2Jfolder.\n"))  // the server's text, escaped
        << r.err.toStdString();
    EXPECT_FALSE(server.verbs().contains("MKD"));
}

// put --resume: a dropped data connection is continued and the file arrives whole under its
// name (the failures of every try are the upload's own table).
TEST(VexaroFtpCli, ResumedPutArrivesWhole) {
    const QByteArray data(400000, 'r');
    FtpTestServer server({"--data-stop", "30000", "--stop-times", "1"});
    vx::test::TempHome dir;
    const CliRun r = runCli({"--resume", "--retry-wait", "0.01", "put", dir.write("r.bin", data), "."},
                            server.address(), dir.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(vx::test::like(r.err, "*Continuing .r.bin.part at byte *uploaded 400000 bytes to r.bin*"))
        << r.err.toStdString();
    EXPECT_TRUE(server.get("/home/tulpa/r.bin") == data && server.get("/home/tulpa/.r.bin.part") == "<missing>");
}

TEST(VexaroFtpCli, CertificateOptions) {
    const vx::test::TestCa& ca = vx::test::TestCa::shared();
    const QString fp = vx::net::sha256Fingerprint(ca.serverCertificate());
    const struct {
        QStringList args;
        int exitCode;
        QString err;  // pattern
    } cases[] = {
        {{"--tls", "require"}, 1, "vexaro-ftp: cannot connect to *: *not trusted*" + fp + "*\"FtpTlsPin\"*"},
        {{"--tls", "require", "--pin", QString(fp).remove(':')}, 0, ""},
        {{"--tls", "implicit", "--ca-file", ca.caFile()}, 1, "vexaro-ftp: cannot connect to *: *error code: 20 *"},
        {{"--ca-file", ca.caFile()}, 0, ""},
        {{"--ca-file", "/no/such.pem"}, 1, "vexaro-ftp: Cannot read the CA file /no/such.pem*"},
        {{"--tls", "off"}, 1, "vexaro-ftp: cannot connect to *: 550 SSL/TLS required on the control channel.\n"},
    };
    for (const auto& c : cases) {
        FtpTestServer server(vx::test::tlsKnobs({"--tls-required", "--tls-reuse"}));
        vx::test::TempHome dir;
        const CliRun r = runCli(c.args + QStringList{"ls"}, server.address(), dir.path());
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(vx::test::like(r.err, c.err)) << r.err.toStdString();
    }
}
