// cFTP and its protocol layer under bad conditions: servers that are silent, stop mid-transfer,
// send garbage, endless or multi-line replies, or name another host; closed connections; and
// the error texts of each case. Time-outs are short here so that a hang shows as a failure.
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "core/yield.h"
#include "ftp/cftp.h"
#include "ftp_test_server.h"

using namespace vx;
using vx::test::FtpTestServer;

namespace {

constexpr int kShortMs = 1500;

QString writeLocal(const QTemporaryDir& dir, const QString& name, qsizetype size) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    QRandomGenerator g(size);
    for (auto& c : chunk) c = static_cast<char>(g.generate());
    for (qsizetype left = size; left > 0; left -= chunk.size()) f.write(chunk.constData(), qMin(left, chunk.size()));
    return f.fileName();
}

struct Client {
    explicit Client(bool passive = true) {
        ftp.setTimeouts({kShortMs, kShortMs, kShortMs});
        if (passive) ftp.SetModePassive(); else ftp.SetModeActive();
        ftp.SetTransferBinary();
    }
    bool open(const FtpTestServer& s) { return ftp.OpenConnection(s.address(), FtpTestServer::user(), FtpTestServer::password()); }
    cFTP ftp;
};

std::string text(const cFTP& f) { return f.GetLastErrorMessage().toStdString(); }

}  // namespace

TEST(CftpErrors, FreshObjectHasNoErrorAndClosingNeverConnectedIsHarmless) {
    cFTP ftp;
    EXPECT_EQ(ftp.GetLastErrorMessage(), "");
    EXPECT_EQ(ftp.transferType(), cFTP::kTransferAscii);
    EXPECT_EQ(ftp.connectFlags(), cFTP::kModeActive);
    ftp.CloseConnection();
    ftp.CloseConnection();
    EXPECT_EQ(ftp.GetLastErrorMessage(), "");
    EXPECT_EQ(ftp.Directory().Count(), 0);
}

TEST(CftpErrors, EveryOperationOnAClosedConnectionNamesItself) {
    QTemporaryDir dir;
    const QString file = writeLocal(dir, "f.bin", 10);
    cFTP ftp;
    const QString tail = " error code: 1 Message: No connection to the server is open.";
    struct {
        const char* op;
        std::function<void()> call;
    } cases[] = {
        {"SimpleFtpPutFile", [&] { EXPECT_FALSE(ftp.SimpleFTPPutFile(file, "r")); }},
        {"SimpleFtpGetFile", [&] { EXPECT_FALSE(ftp.SimpleFTPGetFile(dir.filePath("g"), "r")); }},
        {"RenameFTPFile", [&] { EXPECT_FALSE(ftp.RenameFTPFile("a", "b")); }},
        {"CreateFTPDirectory", [&] { EXPECT_FALSE(ftp.CreateFTPDirectory("d")); }},
        {"RemoveFTPDirectory", [&] { EXPECT_FALSE(ftp.RemoveFTPDirectory("d")); }},
        {"DeleteFTPFile", [&] { EXPECT_FALSE(ftp.DeleteFTPFile("r")); }},
        {"FtpOpenFile:PutFile", [&] { QString l = file, r = "r"; EXPECT_FALSE(ftp.FTPUploadFile(l, r)); }},
        {"FtpGetCurrentDirectory", [&] { EXPECT_EQ(ftp.GetFTPDirectory(), ""); }},
        {"FtpSetCurrentDirectory", [&] { EXPECT_FALSE(ftp.SetFTPDirectory("d")); }},
        {"FtpFindFirstFile", [&] { EXPECT_EQ(ftp.GetFTPFileSize("r"), -2); }},
        {"FtpFindFirstFile", [&] { EXPECT_EQ(ftp.GetDirectoryListing("*.*"), nullptr); }},
    };
    for (const auto& c : cases) {
        c.call();
        EXPECT_EQ(ftp.GetLastErrorMessage(), QString::fromLatin1(c.op) + tail);
    }
    // The download asks for the size first; that failure is the one recorded.
    QString l = dir.filePath("d"), r = "r";
    EXPECT_FALSE(ftp.FTPDownloadFile(l, r));
    EXPECT_EQ(ftp.GetLastErrorMessage(), "FtpFindFirstFile" + tail);
    EXPECT_FALSE(QFile::exists(l));
}

TEST(CftpErrors, LoginRefusedAfterExactlyUserAndPass) {
    FtpTestServer server;
    ASSERT_TRUE(server.started()) << server.startError().toStdString();
    cFTP ftp;
    ftp.setTimeouts({kShortMs, kShortMs, kShortMs});
    EXPECT_FALSE(ftp.OpenConnection(server.address(), "tulpa", "wrong"));
    EXPECT_EQ(ftp.GetLastErrorMessage(),
              "InternetConnect error code: 5 Message: The server refused the user name or password.");
    EXPECT_EQ(server.verbs(), QStringList({"USER", "PASS"}));
    EXPECT_FALSE(ftp.isConnected());
    EXPECT_FALSE(ftp.SetFTPDirectory("x"));
    EXPECT_TRUE(ftp.GetLastErrorMessage().startsWith("FtpSetCurrentDirectory error code: 1 "));
}

TEST(CftpErrors, AddressErrors) {
    cFTP ftp;
    EXPECT_FALSE(ftp.OpenConnection("127.0.0.1:notaport", "u", "p"));
    EXPECT_EQ(ftp.GetLastErrorMessage(), "InternetConnect error code: 2 Message: The server address is not valid.");
    // A port that nobody listens on: take a free one and release it.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    EXPECT_FALSE(ftp.OpenConnection(QStringLiteral("127.0.0.1:%1").arg(port), "u", "p"));
    EXPECT_EQ(ftp.GetLastErrorMessage(),
              "InternetConnect error code: 4 Message: The connection to the server could not be made.");
}

TEST(CftpHostileServer, BrokenGreetings) {
    struct {
        QStringList knobs;
        const char* expected;
    } cases[] = {
        {{"--silent", "GREETING"}, "InternetConnect error code: 6 Message: The operation timed out."},
        {{"--reply", "GREETING", "HTTP/1.0 400 Bad Request"},
         "InternetConnect error code: 9 Message: The server sent a reply that is not an FTP reply."},
        {{"--endless", "GREETING"},
         "InternetConnect error code: 10 Message: The server sent a reply that is too long."},
        {{"--reply", "GREETING", "421 Too many users, try later."}, "421 Too many users, try later."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.knobs.join(' ').toStdString());
        FtpTestServer server(c.knobs);
        ASSERT_TRUE(server.started()) << server.startError().toStdString();
        Client client;
        EXPECT_FALSE(client.open(server));
        EXPECT_EQ(client.ftp.GetLastErrorMessage(), QString::fromLatin1(c.expected));
        EXPECT_FALSE(client.ftp.isConnected());
    }
}

TEST(CftpHostileServer, MultiLineRepliesKeepCommandsAndRepliesInStep) {
    FtpTestServer server({"--reply", "CWD", "250-First line\\r\\n 250 still going\\r\\n250-more\\r\\n250 Done.",
                          "--reply", "MKD", "550-Cannot create\\r\\n  because of reasons\\r\\n550 End."});
    ASSERT_TRUE(server.started());
    Client client;
    ASSERT_TRUE(client.open(server)) << text(client.ftp);
    EXPECT_TRUE(client.ftp.SetFTPDirectory("anything"));
    EXPECT_EQ(client.ftp.GetFTPDirectory(), "/home/tulpa");  // PWD got its own reply
    EXPECT_FALSE(client.ftp.CreateFTPDirectory("x"));
    EXPECT_EQ(client.ftp.GetLastErrorMessage(), "550-Cannot create\n  because of reasons\n550 End.");
    EXPECT_EQ(client.ftp.GetFTPDirectory(), "/home/tulpa");
}

TEST(CftpHostileServer, ReplyThatIsNotFtpOrEndlessMidSession) {
    for (const QStringList& knobs : {QStringList{"--reply", "PWD", "<html>hello</html>"},
                                     QStringList{"--endless", "PWD"}}) {
        SCOPED_TRACE(knobs.join(' ').toStdString());
        FtpTestServer server(knobs);
        ASSERT_TRUE(server.started());
        Client client;
        ASSERT_TRUE(client.open(server));
        EXPECT_EQ(client.ftp.GetFTPDirectory(), "");
        const QString e = client.ftp.GetLastErrorMessage();
        EXPECT_TRUE(e.startsWith("FtpGetCurrentDirectory error code: 9") ||
                    e.startsWith("FtpGetCurrentDirectory error code: 10")) << e.toStdString();
        EXPECT_FALSE(client.ftp.isConnected());  // the stream cannot be trusted any more
    }
}

TEST(CftpHostileServer, CommandNeverAnsweredTimesOut) {
    FtpTestServer server({"--silent", "CWD"});
    ASSERT_TRUE(server.started());
    Client client;
    ASSERT_TRUE(client.open(server));
    EXPECT_FALSE(client.ftp.SetFTPDirectory("public_html"));
    EXPECT_EQ(client.ftp.GetLastErrorMessage(), "FtpSetCurrentDirectory error code: 6 Message: The operation timed out.");
    EXPECT_FALSE(client.ftp.GetFTPDirectory().size());
    EXPECT_TRUE(client.ftp.GetLastErrorMessage().startsWith("FtpGetCurrentDirectory error code: 1 "));
}

TEST(CftpHostileServer, SlowButAnsweringServerIsFine) {
    FtpTestServer server({"--delay", "PWD", "0.3"});
    ASSERT_TRUE(server.started());
    Client client;
    ASSERT_TRUE(client.open(server));
    EXPECT_EQ(client.ftp.GetFTPDirectory(), "/home/tulpa");
}

TEST(CftpHostileServer, PasvNamingAnotherHostIsIgnored) {
    // EPSV refused, so the client falls back to PASV, whose reply names 10.255.255.1. The data
    // connection must go to the control connection's peer, 127.0.0.1, and work.
    FtpTestServer server({"--pasv-host", "10.255.255.1", "--reply", "EPSV", "500 EPSV not understood."});
    ASSERT_TRUE(server.started());
    Client client(true);
    ASSERT_TRUE(client.open(server));
    QTemporaryDir dir;
    QString up = writeLocal(dir, "p.bin", 100000), remote = "p.bin";
    ASSERT_TRUE(client.ftp.FTPUploadFile(up, remote)) << text(client.ftp);
    EXPECT_EQ(server.get("/home/tulpa/p.bin").size(), 100000);
    ASSERT_NE(client.ftp.GetDirectoryListing("*.*"), nullptr);
    const QStringList v = server.verbs();
    EXPECT_EQ(v.count("EPSV"), 1);  // refused once, not asked again
    EXPECT_EQ(v.count("PASV"), 2);
}

TEST(CftpHostileServer, ActiveModeFallsBackToPort) {
    FtpTestServer server({"--reply", "EPRT", "502 Command not implemented."});
    ASSERT_TRUE(server.started());
    Client client(false);
    ASSERT_TRUE(client.open(server));
    ASSERT_NE(client.ftp.GetDirectoryListing("*.*"), nullptr) << text(client.ftp);
    EXPECT_TRUE(server.verbs().contains("PORT"));
}

TEST(CftpHostileServer, ListFallbackWhenMlsdIsUnknown) {
    FtpTestServer server({"--reply", "MLSD", "500 Command MLSD not understood."});
    ASSERT_TRUE(server.started());
    server.put("/home/tulpa/a file.txt", "12345");
    Client client;
    ASSERT_TRUE(client.open(server));
    cDirList* list = client.ftp.GetDirectoryListing("*.*");
    ASSERT_NE(list, nullptr) << text(client.ftp);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Item(QStringLiteral("a file.txt"))->FileSize, 5);
    EXPECT_TRUE(list->Item(QStringLiteral("public_html"))->Directory);
    client.ftp.GetDirectoryListing("*.*");
    EXPECT_EQ(server.verbs().count("MLSD"), 1);
    EXPECT_EQ(server.verbs().count("LIST"), 2);
}

TEST(CftpHostileServer, ListingRefusedIsRecordedAndGivesNoList) {
    FtpTestServer server({"--reply", "MLSD", "451 Listing failed."});
    ASSERT_TRUE(server.started());
    Client client;
    ASSERT_TRUE(client.open(server));
    EXPECT_EQ(client.ftp.GetDirectoryListing("*.*"), nullptr);
    EXPECT_EQ(client.ftp.GetLastErrorMessage(), "451 Listing failed.");
    EXPECT_EQ(client.ftp.Directory().Count(), 0);
}

class MidTransfer : public ::testing::TestWithParam<bool> {};  // true: passive

TEST_P(MidTransfer, ServerStallsDuringUploadAndDownload) {
    FtpTestServer server({"--data-stop", "65536", "--data-stop-mode", "stall"});
    ASSERT_TRUE(server.started());
    Client client(GetParam());
    ASSERT_TRUE(client.open(server));
    QTemporaryDir dir;
    QString up = writeLocal(dir, "stall.bin", 32 * 1024 * 1024), remote = "stall.bin";
    EXPECT_FALSE(client.ftp.FTPUploadFile(up, remote));
    EXPECT_EQ(client.ftp.GetLastErrorMessage(), "InternetWriteFile error code: 6 Message: The operation timed out.");
    EXPECT_FALSE(client.ftp.isFileOpen());

    Client second(GetParam());
    ASSERT_TRUE(second.open(server));
    server.put("/home/tulpa/down.bin", QByteArray(1024 * 1024, 'd'));
    QString down = dir.filePath("down.bin");
    remote = "down.bin";
    EXPECT_FALSE(second.ftp.FTPDownloadFile(down, remote));
    EXPECT_EQ(second.ftp.GetLastErrorMessage(), "InternetReadFile error code: 6 Message: The operation timed out.");
    EXPECT_FALSE(second.ftp.isFileOpen());
}

TEST_P(MidTransfer, DataConnectionClosedEarly) {
    FtpTestServer server({"--data-stop", "65536", "--data-stop-mode", "close"});
    ASSERT_TRUE(server.started());
    Client client(GetParam());
    ASSERT_TRUE(client.open(server));
    QTemporaryDir dir;
    server.put("/home/tulpa/cut.bin", QByteArray(1024 * 1024, 'c'));
    QString down = dir.filePath("cut.bin"), remote = "cut.bin";
    EXPECT_FALSE(client.ftp.FTPDownloadFile(down, remote));
    EXPECT_EQ(client.ftp.GetLastErrorMessage(),
              "InternetReadFile error code: 12 Message: The data connection closed before the transfer was complete.");
    EXPECT_FALSE(client.ftp.isFileOpen());
    EXPECT_EQ(client.ftp.GetFTPDirectory(), "/home/tulpa");  // the control connection is fine
    // Nothing was written outside the named local file.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"cut.bin"});

    QString up = writeLocal(dir, "up.bin", 32 * 1024 * 1024);
    remote = "up.bin";
    EXPECT_FALSE(client.ftp.FTPUploadFile(up, remote));
    EXPECT_TRUE(client.ftp.GetLastErrorMessage().startsWith("InternetWriteFile error code: 12 ")) << text(client.ftp);
    EXPECT_FALSE(client.ftp.isFileOpen());
}

INSTANTIATE_TEST_SUITE_P(ActiveAndPassive, MidTransfer, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Passive" : "Active"; });

TEST(CftpHostileServer, UploadNotConfirmedByTheServerFails) {
    FtpTestServer server({"--reply", "STOR", "150 Go ahead.\\r\\n452 Insufficient storage space."});
    ASSERT_TRUE(server.started());
    Client client;
    ASSERT_TRUE(client.open(server));
    QTemporaryDir dir;
    QString up = writeLocal(dir, "x.bin", 1000), remote = "x.bin";
    EXPECT_FALSE(client.ftp.FTPUploadFile(up, remote));
    EXPECT_TRUE(client.ftp.GetLastErrorMessage().startsWith("452 ") ||
                client.ftp.GetLastErrorMessage().startsWith("InternetWriteFile"))
        << text(client.ftp);
    EXPECT_FALSE(client.ftp.isFileOpen());
}

TEST(CftpHostileServer, NamesWithLineBreaksAreNeverSent) {
    FtpTestServer server;
    ASSERT_TRUE(server.started());
    server.put("/home/tulpa/important.zip", "keep");
    Client client;
    ASSERT_TRUE(client.open(server));
    EXPECT_FALSE(client.ftp.SetFTPDirectory("x\r\nDELE important.zip"));
    EXPECT_EQ(client.ftp.GetLastErrorMessage(),
              "FtpSetCurrentDirectory error code: 15 Message: The name contains a line break.");
    EXPECT_FALSE(client.ftp.DeleteFTPFile("a\nDELE important.zip"));
    EXPECT_EQ(server.get("/home/tulpa/important.zip"), "keep");
    EXPECT_FALSE(server.verbs().contains("DELE"));
    EXPECT_FALSE(server.verbs().contains("CWD"));
    EXPECT_EQ(client.ftp.GetFTPDirectory(), "/home/tulpa");  // still in step
}

TEST(CftpHostileServer, LocalFileShrinkingDuringTheUploadIsReported) {
    FtpTestServer server;
    ASSERT_TRUE(server.started());
    Client client;
    ASSERT_TRUE(client.open(server));
    QTemporaryDir dir;
    QString up = writeLocal(dir, "shrinks.bin", 3 * 1024 * 1024), remote = "shrinks.bin";
    int yields = 0;
    vx::setYieldHook([&] {
        if (++yields == 10) QFile::resize(up, 100);
    });
    const bool ok = client.ftp.FTPUploadFile(up, remote);
    vx::setYieldHook({});
    EXPECT_FALSE(ok);
    EXPECT_TRUE(client.ftp.GetLastErrorMessage().startsWith("ReadLocalFile error code: 16 Message: "))
        << text(client.ftp);
    EXPECT_TRUE(client.ftp.GetLastErrorMessage().contains("ended early")) << text(client.ftp);
    EXPECT_FALSE(client.ftp.isFileOpen());
    EXPECT_EQ(client.ftp.GetFTPDirectory(), "/home/tulpa");
}

TEST(CftpHostileServer, RepliesArrivingOneByteAtATime) {
    FtpTestServer server({"--trickle"});
    ASSERT_TRUE(server.started());
    server.put("/home/tulpa/a b.txt", "xyz");
    cFTP ftp;
    ftp.setTimeouts({10000, 10000, 10000});  // a reply of 60 bytes takes about 60 ms here
    ftp.SetModePassive();
    ftp.SetTransferBinary();
    ASSERT_TRUE(ftp.OpenConnection(server.address(), FtpTestServer::user(), FtpTestServer::password()))
        << text(ftp);
    EXPECT_EQ(ftp.GetFTPDirectory(), "/home/tulpa");
    cDirList* list = ftp.GetDirectoryListing("*.*");
    ASSERT_NE(list, nullptr) << text(ftp);
    EXPECT_NE(list->Item(QStringLiteral("a b.txt")), nullptr);
    EXPECT_EQ(ftp.GetFTPFileSize("a b.txt"), 3);
    EXPECT_FALSE(ftp.SetFTPDirectory("nope"));
    EXPECT_TRUE(ftp.GetLastErrorMessage().startsWith("550 ")) << text(ftp);
}
