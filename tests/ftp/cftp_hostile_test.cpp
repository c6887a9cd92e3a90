// cFTP without a connection, with connections that cannot be opened, and against servers that
// misbehave on purpose: greetings that fail, replies that are not FTP, too long, split or never
// sent. Time-outs are short here so that a hang shows as a failure.
#include <QDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "ftp/cftp.h"
#include "ftp_test_server.h"
#include "temp_home.h"

using namespace vx;
using test::FtpTestServer;

TEST(CftpConnection, EveryOperationWithoutAConnectionNamesItself) {
    cFTP ftp;
    EXPECT_EQ(ftp.GetLastErrorMessage(), "");
    ftp.CloseConnection();  // never connected: harmless
    test::TempHome local;
    const QString file = local.write("f.bin", "0123456789");
    const QString tail = " error code: 1 Message: No connection to the server is open.";
    const std::pair<const char*, std::function<bool()>> cases[] = {  // true when the call failed
        {"SimpleFtpPutFile", [&] { return !ftp.SimpleFTPPutFile(file, "r"); }},
        {"SimpleFtpGetFile", [&] { return !ftp.SimpleFTPGetFile(local.file("g"), "r"); }},
        {"RenameFTPFile", [&] { return !ftp.RenameFTPFile("a", "b"); }},
        {"CreateFTPDirectory", [&] { return !ftp.CreateFTPDirectory("d"); }},
        {"RemoveFTPDirectory", [&] { return !ftp.RemoveFTPDirectory("d"); }},
        {"DeleteFTPFile", [&] { return !ftp.DeleteFTPFile("r"); }},
        {"FtpOpenFile:PutFile", [&] { return !test::upload(ftp, file, "r"); }},
        {"FtpGetCurrentDirectory", [&] { return ftp.GetFTPDirectory().isEmpty(); }},
        {"FtpSetCurrentDirectory", [&] { return !ftp.SetFTPDirectory("d"); }},
        {"FtpFindFirstFile", [&] { return ftp.GetFTPFileSize("r") == -2; }},
        {"FtpFindFirstFile", [&] { return !ftp.GetDirectoryListing("*.*"); }},
        {"FtpFindFirstFile", [&] { return !test::download(ftp, local.file("d"), "r"); }},  // asks the size first
    };
    for (const auto& [op, call] : cases) {
        EXPECT_TRUE(call()) << op;
        EXPECT_EQ(ftp.GetLastErrorMessage(), QString::fromLatin1(op) + tail);
    }
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files), QStringList{"f.bin"});

    FtpTestServer server;
    const QString nobody = FtpTestServer().address();  // a port nobody listens on any more
    const QString open = "InternetConnect error code: ";
    // The address and password, the error, and what the server heard from the first connection's end on.
    const struct {
        QString address, error;
        const char *password, *verbs;
    } refused[] = {{"127.0.0.1:notaport", open + "2 Message: The server address is not valid.", "secret", "QUIT"},
                   {nobody, open + "4 Message: The connection to the server could not be made.", "secret", "QUIT"},
                   {server.address(), "530 Authentication failed.", "wrong", "QUIT USER PASS"}};
    for (const auto& c : refused) {
        ASSERT_TRUE(test::logIn(ftp, server));
        EXPECT_FALSE(ftp.OpenConnection(c.address, "tulpa", c.password));
        EXPECT_EQ(ftp.GetLastErrorMessage(), c.error);
        EXPECT_FALSE(ftp.isConnected());
        const QStringList verbs = server.verbs();
        EXPECT_EQ(verbs.mid(verbs.lastIndexOf("QUIT")).join(' '), c.verbs);
    }
    ASSERT_TRUE(test::logIn(ftp, server));
    ftp.CloseConnection();
    EXPECT_EQ(server.verbs().last(), "QUIT");
    EXPECT_FALSE(ftp.SetFTPDirectory("public_html"));
    EXPECT_EQ(ftp.GetLastErrorMessage(), "FtpSetCurrentDirectory" + tail);
}

TEST(CftpHostile, ServersThatMisbehave) {
    test::TempHome local;
    const QString file = local.write("x.bin", QByteArray(1000, 'x')), connect = "InternetConnect error code: ";
    const auto pwd = [](cFTP& f) { return f.GetFTPDirectory() == "/home/tulpa"; };
    const auto cwdThenDelete = [](cFTP& f) {
        const bool ok = f.SetFTPDirectory("x");
        QThread::msleep(300);  // time for a late reply to arrive
        return ok && f.DeleteFTPFile("missing.zip");
    };
    const QString outOfStep = " error code: 18 Message: The server's replies are out of step with the commands.";
    const QString timedOut = " error code: 6 Message: The operation timed out.";
    const struct {
        QStringList knobs;
        std::function<bool(cFTP&)> call;  // nullptr: opening the connection
        bool ok;
        QString error;   // the whole text afterwards
        bool connected;  // and, if so, still in step
    } cases[] = {
        {{"--reply", "GREETING", "HTTP/1.0 400 Bad Request"}, nullptr, false,
         connect + "9 Message: The server sent a reply that is not an FTP reply.", false},
        {{"--reply", "GREETING", "220 " + QString(20000, 'x')}, nullptr, false,
         connect + "10 Message: The server sent a reply that is too long.", false},
        {{"--reply", "GREETING", "421 Too many users."}, nullptr, false, "421 Too many users.", false},
        {{"--reply", "USER", "421 Too many connections."}, nullptr, false, "421 Too many connections.", false},
        {{"--every", "GREETING", "120 Wait a moment.", "0.4"}, nullptr, false, "InternetConnect" + timedOut, false},
        {{"--reply", "CWD", "250-First line\\r\\n 250 still going\\r\\n250-more\\r\\n250 Done."},
         [&](cFTP& f) { return f.SetFTPDirectory("x") && pwd(f); }, true, "", true},
        {{"--reply", "MKD", "550-Cannot create\\r\\n  because of reasons\\r\\n550 End."},
         [](cFTP& f) { return f.CreateFTPDirectory("x"); }, false, "550-Cannot create\n  because of reasons\n550 End.",
         true},
        {{"--reply", "PWD", "<html>hello</html>"}, pwd, false,
         "FtpGetCurrentDirectory error code: 9 Message: The server sent a reply that is not an FTP reply.", false},
        {{"--silent", "CWD"}, [](cFTP& f) { return f.SetFTPDirectory("public_html"); }, false,
         "FtpSetCurrentDirectory" + timedOut, false},
        {{"--trickle"},
         [&](cFTP& f) { return pwd(f) && f.GetDirectoryListing("*.*") && f.GetFTPFileSize("public_html") >= 0; },
         true, "", true},
        {{"--reply", "STOR", "150 Go ahead.\\r\\n452 Insufficient storage space."},
         [&](cFTP& f) { return test::upload(f, file, "x.bin"); }, false, "452 Insufficient storage space.", true},
        // A reply nobody asked for would answer the next command: the connection is dropped.
        {{"--reply", "DELE", "150 Deleting.\\r\\n250 Deleted."}, [](cFTP& f) { return f.DeleteFTPFile("a"); },
         false, "DeleteFTPFile" + outOfStep, false},
        {{"--reply", "CWD", "250 OK.\\r\\n250 Again."}, cwdThenDelete, false, "DeleteFTPFile" + outOfStep, false},
        {{"--reply", "CWD", "250 OK.\\r\\n250-Open"}, cwdThenDelete, false, "DeleteFTPFile" + outOfStep, false},
        {{"--every", "CWD", "250 OK.", "0.2"}, cwdThenDelete, false, "DeleteFTPFile" + outOfStep, false},
        {{"--reply", "CWD", "250 OK.\\r\\n421 Idle too long, closing."}, cwdThenDelete, false,
         "421 Idle too long, closing.", false},
        // Preliminary replies and a listing's data have a deadline, however often they come.
        {{"--every", "STOR", "150 Working.", "0.4"}, [&](cFTP& f) { return test::upload(f, file, "x.bin"); }, false,
         "InternetCloseHandle" + timedOut, false},
        {{"--data-drip", "0.05"}, [](cFTP& f) { return f.GetDirectoryListing("*.*") != nullptr; }, false,
         "FtpFindFirstFile" + timedOut, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.knobs.join(' ').left(80).toStdString());
        FtpTestServer server(c.knobs);
        cFTP ftp;
        const bool opened = test::logIn(ftp, server, true, 1500);
        EXPECT_EQ(c.call ? opened && c.call(ftp) : opened, c.ok);
        EXPECT_EQ(ftp.GetLastErrorMessage(), c.error);
        EXPECT_FALSE(ftp.isFileOpen());
        EXPECT_EQ(ftp.isConnected(), c.connected);
        EXPECT_TRUE(!c.connected || pwd(ftp));
        const QStringList refused = c.knobs.value(1) == "GREETING" ? QStringList() : QStringList{c.knobs.value(1)};
        EXPECT_TRUE(c.call || server.verbs() == refused);  // nothing is sent after the refusal
    }
}
