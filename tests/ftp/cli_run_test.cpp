// vexaro-ftp run as a person or a script would run it, against the local test server.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "qt_printers.h"
#include "ftp_test_server.h"

using vx::test::FtpTestServer;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VEXARO_FTP_CLI), args);
    CliRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("<hung>");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QStringList login(const FtpTestServer& s) {
    return {"-s", s.address(), "-u", FtpTestServer::user(), "-p", FtpTestServer::password(), "-t", "5"};
}

}  // namespace

TEST(VexaroFtpCli, SeveralCommandsInOneRunInBothModes) {
    for (const char* mode : {"--passive", "--active"}) {
        SCOPED_TRACE(mode);
        FtpTestServer server;
        ASSERT_TRUE(server.started());
        QTemporaryDir dir;
        QFile src(dir.filePath("data file.bin"));
        ASSERT_TRUE(src.open(QIODevice::WriteOnly));
        const QByteArray data(1000000, 'v');
        src.write(data);
        src.close();
        const CliRun r = runCli(login(server) + QStringList{mode, "mkdir", "drop", "cd", "drop", "put", src.fileName(), ".",
                                                         "size", "data file.bin", "ls", "get", "data file.bin",
                                                         dir.filePath("back.bin"), "rename", "data file.bin", "x.bin",
                                                         "pwd"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(server.get("/home/tulpa/drop/x.bin"), data);
        QFile back(dir.filePath("back.bin"));
        ASSERT_TRUE(back.open(QIODevice::ReadOnly));
        EXPECT_TRUE(back.readAll() == data);
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 4) << r.out.toStdString();
        EXPECT_EQ(lines[0], "1000000");
        EXPECT_TRUE(lines[1].startsWith("Name")) << lines[1].toStdString();
        EXPECT_TRUE(lines[1].contains("Size") && lines[1].contains("Last Accessed") && lines[1].contains("Attributes"));
        EXPECT_TRUE(lines[2].startsWith("data file.bin")) << lines[2].toStdString();
        EXPECT_TRUE(lines[2].contains("1000000") && lines[2].contains(" -  -  -  -  N  -  -  -  -"));
        EXPECT_EQ(lines[3], "/home/tulpa/drop");
    }
}

TEST(VexaroFtpCli, FailurePrintsTheErrorTextStopsAndExitsNonZero) {
    FtpTestServer server;
    ASSERT_TRUE(server.started());
    const CliRun r = runCli(login(server) + QStringList{"cd", "no-such-folder", "mkdir", "never"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("cd: 550 ")) << r.err.toStdString();
    EXPECT_FALSE(server.verbs().contains("MKD"));

    QTemporaryDir dir;
    const CliRun missing = runCli(login(server) + QStringList{"put", dir.filePath("nope.zip"), "."});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("put: OpenLocalFile error code: 16 Message: ")) << missing.err.toStdString();

    const CliRun noFile = runCli(login(server) + QStringList{"get", "nope.zip", dir.filePath("n.zip")});
    EXPECT_EQ(noFile.exitCode, 1);
    EXPECT_TRUE(noFile.err.contains("no such remote file")) << noFile.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("n.zip")));

    const CliRun refused = runCli({"-s", server.address(), "-u", "tulpa", "-p", "wrong", "-t", "5", "pwd"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("InternetConnect error code: 5")) << refused.err.toStdString();
}

TEST(VexaroFtpCli, EmptyRemoteFileGivesAnEmptyLocalFile) {
    FtpTestServer server;
    ASSERT_TRUE(server.started());
    server.put("/home/tulpa/empty.txt", QByteArray());
    QTemporaryDir dir;
    const CliRun r = runCli(login(server) + QStringList{"get", "empty.txt", dir.filePath("e.txt")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("e.txt")));
    EXPECT_EQ(QFile(dir.filePath("e.txt")).size(), 0);
}

TEST(VexaroFtpCli, PasswordFromFileOrEnvironment) {
    FtpTestServer server;
    ASSERT_TRUE(server.started());
    QTemporaryDir dir;
    QFile pw(dir.filePath("pw"));
    ASSERT_TRUE(pw.open(QIODevice::WriteOnly));
    pw.write("secret\n");
    pw.close();
    const CliRun fromFile = runCli({"-s", server.address(), "-u", "tulpa", "--password-file", pw.fileName(), "pwd"});
    EXPECT_EQ(fromFile.exitCode, 0) << fromFile.err.toStdString();
    EXPECT_EQ(fromFile.out, "/home/tulpa\n");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VEXARO_FTP_SERVER", server.address());
    env.insert("VEXARO_FTP_USER", "tulpa");
    env.insert("VEXARO_FTP_PASSWORD", "secret");
    const CliRun fromEnv = runCli({"pwd"}, env);
    EXPECT_EQ(fromEnv.exitCode, 0) << fromEnv.err.toStdString();
    EXPECT_EQ(fromEnv.out, "/home/tulpa\n");
}

TEST(VexaroFtpCli, UsageErrorsAndHelp) {
    const CliRun bad = runCli({"-s", "127.0.0.1:1", "fly"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("unknown command fly"));
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("Usage: vexaro-ftp"));
    EXPECT_TRUE(help.out.contains("--password-file"));
}

TEST(VexaroFtpCli, ListingThatFailsIsAFailureAnEmptyFolderIsNot) {
    {
        FtpTestServer server({"--reply", "MLSD", "451 Listing failed."});
        ASSERT_TRUE(server.started());
        const CliRun r = runCli(login(server) + QStringList{"ls"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("ls: 451 Listing failed.")) << r.err.toStdString();
    }
    FtpTestServer server;
    ASSERT_TRUE(server.started());
    const CliRun r = runCli(login(server) + QStringList{"cd", "public_html", "ls"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Name")) << r.out.toStdString();
    EXPECT_EQ(r.out.count('\n'), 1);
}
