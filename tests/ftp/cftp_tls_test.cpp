// FTP over TLS against the real TLS test server: transfers byte for byte, listings and commands
// in every mode, the session resumed on every data connection. The modes against plain servers
// and certificates that do not verify are run through the command line and the upload window.
#include <QProcess>
#include <gtest/gtest.h>

#include "ftp/cftp.h"
#include "ftp/listing_rows.h"
#include "ftp_test_server.h"
#include "qt_printers.h"
#include "sample_data.h"

using namespace vx;
using ftp::TlsMode;
using test::FtpTestServer;

TEST(CftpTls, EveryModeCarriesEveryByteOverResumedSessions) {
    ASSERT_TRUE(test::TestCa::shared().ok());
    const QString home = "/home/tulpa/";
    const QByteArray big = sample::randomBytes(3 * 1024 * 1024 + 5), small = sample::randomBytes(300);
    const struct {
        TlsMode mode;
        bool passive;
        QStringList knobs, firstVerbs;
    } cases[] = {
        {TlsMode::Auto, true, {"--tls-reuse"}, {"AUTH", "USER", "PASS", "PBSZ", "PROT"}},
        {TlsMode::Require, false, {"--tls-reuse", "--tls-required", "--tls-wait-close"},
         {"AUTH", "USER", "PASS", "PBSZ", "PROT"}},
        {TlsMode::Implicit, true, {"--tls-reuse", "--tls-implicit", "--tls-wait-close"}, {"USER", "PASS", "PBSZ", "PROT"}},
        {TlsMode::Implicit, false, {"--tls-implicit"}, {"USER", "PASS", "PBSZ", "PROT"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1 %2").arg(ftp::tlsModeName(c.mode)).arg(c.passive).toStdString());
        FtpTestServer server(test::tlsKnobs(c.knobs));
        test::TempHome local;
        cFTP ftp;
        ftp.setTls(test::tlsOptions(c.mode));
        ASSERT_TRUE(test::logIn(ftp, server, c.passive)) << ftp.GetLastErrorMessage().toStdString();
        EXPECT_TRUE(ftp.isEncrypted());
        EXPECT_EQ(ftp.tlsRefusal(), QString());
        for (const QByteArray& data : {big, small}) {
            const QString name = QString("f%1.bin").arg(data.size());
            ASSERT_TRUE(test::upload(ftp, local.write("up", data), name)) << ftp.GetLastErrorMessage().toStdString();
            EXPECT_EQ(server.get(home + name), data);
            ASSERT_TRUE(test::download(ftp, local.file("down"), name)) << ftp.GetLastErrorMessage().toStdString();
            EXPECT_EQ(test::readFile(local.file("down")), data);
            ASSERT_TRUE(ftp.SimpleFTPGetFile(local.file("whole"), name)) << ftp.GetLastErrorMessage().toStdString();
            EXPECT_EQ(test::readFile(local.file("whole")), data);
            EXPECT_EQ(ftp.GetFTPFileSize(name), data.size());
        }
        EXPECT_TRUE(ftp.CreateFTPDirectory("made") && ftp.SetFTPDirectory("made"));
        EXPECT_EQ(ftp.GetFTPDirectory(), home + "made");
        EXPECT_TRUE(ftp.SetFTPDirectory(home) && ftp.RenameFTPFile("f300.bin", "g.bin"));
        ASSERT_NE(ftp.GetDirectoryListing("*.*"), nullptr);
        QStringList names;
        for (const auto& row : listingRows(ftp.Directory())) names << row.text;
        names.sort();
        EXPECT_EQ(names, (QStringList{"..", QString("f%1.bin").arg(big.size()), "g.bin", "made", "public_html"}));
        EXPECT_TRUE(ftp.DeleteFTPFile("g.bin") && ftp.RemoveFTPDirectory("made"));
        ftp.CloseConnection();
        EXPECT_EQ(server.verbs().mid(0, c.firstVerbs.size()), c.firstVerbs);
        EXPECT_EQ(server.transcript().filter(QRegularExpression("^(PBSZ|PROT) ")), (QStringList{"PBSZ 0", "PROT P"}));
    }
}

TEST(CftpTls, ServerRefusesDataConnectionsThatDoNotResumeTheSession) {
    FtpTestServer server(test::tlsKnobs({"--tls-reuse"}));
    server.put("/home/tulpa/a.bin", "twelve bytes");
    const QString url = QString("ftp://127.0.0.1:%1/a.bin").arg(server.port());
    for (const bool resume : {true, false}) {
        QProcess curl;
        QStringList args{"-s", "--ssl-reqd", "--cacert", test::TestCa::shared().caFile(), "-u", "tulpa:secret", url};
        if (!resume) args.prepend("--no-sessionid");
        curl.start("curl", args);
        ASSERT_TRUE(curl.waitForFinished(30000));
        EXPECT_EQ(curl.exitCode() == 0, resume);
        EXPECT_EQ(curl.readAllStandardOutput(), resume ? "twelve bytes" : "");
    }
}
