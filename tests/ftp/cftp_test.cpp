// cFTP against a real FTP server on 127.0.0.1. Transfers and their failures run in both
// connection modes; the one-call commands, silent failures, sizes, listings and local-file
// problems, which do not depend on the mode, run in passive mode only.
#include "ftp/cftp.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "core/date_forms.h"
#include "core/yield.h"
#include "ftp/listing_rows.h"
#include "ftp_test_server.h"
#include "sample_data.h"
#include "temp_home.h"

using namespace vx;
using test::download;
using test::FtpTestServer;
using test::readFile;
using test::upload;

namespace {

class Cftp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.port());
        ASSERT_TRUE(test::logIn(ftp, server, passive())) << err();
    }
    void TearDown() override { setYieldHook({}); }
    virtual bool passive() const { return true; }
    std::string err() const { return ftp.GetLastErrorMessage().toStdString(); }

    FtpTestServer server;
    cFTP ftp;
    test::TempHome local;
};

class CftpModes : public Cftp, public ::testing::WithParamInterface<bool> {  // true: passive
    bool passive() const override { return GetParam(); }
};

}  // namespace

TEST_P(CftpModes, TransfersCarryEveryByteWithAnEventPerFullBlock) {
    QByteArray lines;  // odd lengths, so that CR LF pairs straddle the chunk boundaries
    for (int i = 0; lines.size() < 2 * 1024 * 1024; ++i) lines += QByteArray(i % 97, 'x') + "\n";
    const struct {
        QByteArray data;
        bool ascii;
        QStringList events;  // the events in order; empty: just count them
    } cases[] = {{sample::randomBytes(1), false, {"1/1"}},
                 {sample::randomBytes(300), false, {"255/300", "300/300"}},
                 {sample::randomBytes(510), false, {"255/510", "510/510", "510/510"}},
                 {sample::randomBytes(8 * 1024 * 1024 + 7), false, {}},
                 {lines, true, {}}};
    QStringList seq;  // yields ("Y") and events in order
    QObject::connect(&ftp, &cFTP::FileTransferProgress,
                     [&](qint32 cur, qint32 total) { seq << QString("%1/%2").arg(cur).arg(total); });
    setYieldHook([&] { seq << "Y"; });
    for (const auto& c : cases) {
        const qsizetype n = c.data.size();
        SCOPED_TRACE(n);
        c.ascii ? ftp.SetTransferASCII() : ftp.SetTransferBinary();
        const QString name = QStringLiteral("fil\u00e9 %1.bin").arg(n), up = local.write(name, c.data);
        for (bool isUpload : {true, false}) {
            QString sLocal = "  " + (isUpload ? up : local.file("back " + name)) + " ", sRemote = " " + name;
            seq.clear();
            ASSERT_TRUE(isUpload ? ftp.FTPUploadFile(sLocal, sRemote) : ftp.FTPDownloadFile(sLocal, sRemote)) << err();
            EXPECT_EQ(QStringList({sLocal, sRemote}), QStringList({sLocal.trimmed(), name}));  // in place
            EXPECT_FALSE(ftp.isFileOpen());
            const QStringList events = seq.filter("/");
            EXPECT_TRUE(c.events.isEmpty() || events == c.events) << seq.join(' ').toStdString();
            EXPECT_EQ(events.size(), n / 255 + 1);
            EXPECT_EQ(events.last(), QStringLiteral("%1/%1").arg(n));
            // Each full block's event comes right after a yield (waits on the network add more).
            qsizetype afterYield = 0;
            for (qsizetype i = 0; i < seq.size() && afterYield < n / 255; ++i) {
                if (seq[i] == "Y") continue;
                if (i == 0 || seq[i - 1] != "Y") break;
                ++afterYield;
            }
            EXPECT_EQ(afterYield, n / 255);
        }
        EXPECT_TRUE(server.get("/home/tulpa/" + name) == c.data && readFile(local.file("back " + name)) == c.data);
        // A new local file gets the mode of any new file, not that of the temporary one.
        EXPECT_EQ(QFileInfo(local.file("back " + name)).permissions(), QFileInfo(local.file(name)).permissions());
    }
    EXPECT_TRUE(server.transcript().contains("TYPE A"));
    ftp.SetTransferBinary();
    const QByteArray data = sample::randomBytes(300000);
    EXPECT_TRUE(ftp.SimpleFTPPutFile(local.write("simple", data), "simple.bin")) << err();
    EXPECT_TRUE(ftp.SimpleFTPGetFile(local.file("simple.back"), "simple.bin")) << err();
    EXPECT_TRUE(server.get("/home/tulpa/simple.bin") == data && readFile(local.file("simple.back")) == data);
    // In ASCII, large writes of nothing but line ends double on the way out; all of them arrive.
    ftp.SetTransferASCII();
    const QByteArray ends(300000, '\n');
    EXPECT_TRUE(ftp.SimpleFTPPutFile(local.write("ends", ends), "ends.txt")) << err();
    EXPECT_TRUE(server.get("/home/tulpa/ends.txt") == ends);
}

TEST_P(CftpModes, DataConnectionThatStallsOrClosesMidTransfer) {
    const QString big = local.write("up.bin", QByteArray(32 * 1024 * 1024, 'u'));
    const QString small = local.write("small.bin", QByteArray(100 * 1024, 's'));  // all of it written at once
    local.write("down.bin", "kept");  // a failed download leaves it as it was
    const struct {
        const char* stop;
        bool upload;
        const char* error;  // how the text starts
        bool small = false;
    } cases[] = {{"stall", true, "InternetWriteFile error code: 6 Message: The operation timed out."},
                 // The server stops reading the tail the client handed over already.
                 {"stall", true, "InternetCloseHandle error code: 6 Message: The operation timed out.", true},
                 {"close", true, "426 Transfer stopped by the test server.", true},
                 {"stall", false, "InternetReadFile error code: 6 Message: The operation timed out."},
                 {"close", true, "InternetWriteFile error code: 12 "},
                 {"close", false, "InternetReadFile error code: 12 Message: The data connection closed before "
                                  "the transfer was complete."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stop) + (c.upload ? " up" : " down") + (c.small ? " small" : ""));
        FtpTestServer stopping({"--data-stop", "65536", "--data-stop-mode", c.stop});
        stopping.put("/home/tulpa/down.bin", QByteArray(1024 * 1024, 'd'));
        cFTP client;
        ASSERT_TRUE(test::logIn(client, stopping, GetParam(), 1500));
        EXPECT_FALSE(c.upload ? upload(client, c.small ? small : big, "up.bin")
                              : download(client, local.file("down.bin"), "down.bin"));
        EXPECT_TRUE(client.GetLastErrorMessage().startsWith(c.error)) << client.GetLastErrorMessage().toStdString();
        EXPECT_FALSE(client.isFileOpen());
        EXPECT_TRUE(c.stop[0] == 's' || client.GetFTPDirectory() == "/home/tulpa");  // still in step
    }
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"down.bin", "small.bin", "up.bin"}));
    EXPECT_EQ(readFile(local.file("down.bin")), "kept");
}

INSTANTIATE_TEST_SUITE_P(ActiveAndPassive, CftpModes, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Passive" : "Active"; });

TEST(CftpModeSelection, EachModeUsesItsCommandsFallsBackAndChangesOnlyOnReconnect) {
    const struct {
        bool passive;
        QStringList knobs;
        QStringList setup;  // the data-connection commands of two listings
    } cases[] = {{true, {}, {"EPSV", "EPSV"}},
                 {false, {}, {"EPRT", "EPRT"}},
                 // The 227 reply names another host: data still goes to the control connection's peer.
                 {true, {"--pasv-host", "10.255.255.1", "--reply", "EPSV", "500 EPSV not understood."},
                  {"EPSV", "PASV", "PASV"}},
                 {false, {"--reply", "EPRT", "502 Command not implemented."}, {"EPRT", "PORT", "PORT"}}};
    const QRegularExpression setupVerb("^(EPSV|PASV|EPRT|PORT)$");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setup.join(' ').toStdString());
        FtpTestServer server(c.knobs);
        cFTP ftp;
        ASSERT_TRUE(test::logIn(ftp, server, c.passive));
        c.passive ? ftp.SetModeActive() : ftp.SetModePassive();  // for the next connection
        for (int i = 0; i < 2; ++i) EXPECT_NE(ftp.GetDirectoryListing("*.*"), nullptr);
        EXPECT_EQ(server.verbs().filter(setupVerb), c.setup);
        ASSERT_TRUE(ftp.OpenConnection(server.address(), "tulpa", "secret"));
        ftp.GetDirectoryListing("*.*");
        const QStringList verbs = server.verbs();
        EXPECT_EQ(verbs.filter(setupVerb).last(), c.passive ? "EPRT" : "EPSV");
        EXPECT_LT(verbs.indexOf("QUIT"), verbs.lastIndexOf("USER"));  // the first one closed first
    }
}

TEST_F(Cftp, OperationsWorkOrLeaveTheirErrorTextOrDeclineSilently) {
    for (const char* name : {"report.zip", "important.zip", "target.zip"})
        server.put(QString("/home/tulpa/") + name, name);
    server.put("/home/tulpa/empty.bin", "");
    const QString home = "/home/tulpa", big = local.write("big.bin", QByteArray(3 << 20, 'b'));
    const QString openLocal = "OpenLocalFile error code: 16 ";
    int yields = 0;  // a second upload started from inside a yield of the first is refused
    const auto reenter = [&] { (void)(++yields == 2 && upload(ftp, big, "other.bin")); };
    const struct {
        std::function<bool()> call;
        bool ok;
        QString error;                   // "": the text stays as it was; else the text, '*' for any run
        QString folder = "/home/tulpa";  // the current folder afterwards
    } cases[] = {
        {[&] { return ftp.CreateFTPDirectory("new dir"); }, true, ""},
        {[&] { return ftp.SetFTPDirectory("new dir"); }, true, "", home + "/new dir"},
        {[&] { return ftp.SetFTPDirectory("/home/tulpa/no-such-code"); }, false, "550 *", home + "/new dir"},
        {[&] { return ftp.SetFTPDirectory(".."); }, true, ""},
        {[&] { return ftp.RemoveFTPDirectory("new dir"); }, true, ""},
        {[&] { return ftp.RenameFTPFile("report.zip", "old.zip"); }, true, ""},
        {[&] { return ftp.DeleteFTPFile("old.zip"); }, true, ""},
        {[&] { return ftp.DeleteFTPFile("nope.zip"); }, false, "550 *"},
        {[&] { return ftp.RenameFTPFile("nope.zip", "x.zip"); }, false, "550 *"},
        {[&] { return ftp.SetFTPDirectory("x\r\nDELE important.zip"); }, false,
         "FtpSetCurrentDirectory error code: 15 Message: The name contains a line break."},
        // Silent failures: paths of blanks (trimmed in place), remote files empty or missing.
        {[&] { QString l = "   ", r = "x.txt"; return ftp.FTPUploadFile(l, r) || !l.isEmpty(); }, false, ""},
        {[&] { QString l = local.file("got"), r = "  "; return ftp.FTPDownloadFile(l, r) || !r.isEmpty(); }, false, ""},
        {[&] { return download(ftp, local.file("got"), "empty.bin"); }, false, ""},
        {[&] { return download(ftp, local.file("got"), "missing.bin"); }, false, ""},
        {[&] { return ftp.GetFTPFileSize("missing.zip") != -1 || ftp.GetFTPFileSize("missing file.zip") != -1; },
         false, ""},
        // Local files that cannot be used are named; nothing on the server is replaced.
        {[&] { return upload(ftp, local.file("gone.zip"), "target.zip"); }, false, openLocal + "*gone.zip*"},
        {[&] { return upload(ftp, local.path(), "target.zip"); }, false, openLocal + "*is a folder"},
        {[&] { return ftp.SimpleFTPPutFile(local.file("gone"), "target.zip"); }, false,
         "SimpleFtpPutFile error code: 16 *gone*"},
        {[&] { return download(ftp, local.file("no/such/t.zip"), "target.zip"); }, false, openLocal + "*no/such/*"},
        {[&] { return ftp.SimpleFTPGetFile(local.file("x"), "missing.bin"); }, false, "550 *"},
        {[&] { return upload(ftp, big, "/no/such/folder/x.bin"); }, false, "550 *"},
        {[&] { return setYieldHook(reenter), !upload(ftp, big, "reentry.bin"); }, false,
         "FtpOpenFile:PutFile error code: 14 *"},
        {[&] { return setYieldHook([&] { QFile::resize(big, 100); }), upload(ftp, big, "shrinks.bin"); }, false,
         "ReadLocalFile error code: 16 *ended early*"},
        {[&] {  // an empty folder
             return !ftp.SetFTPDirectory("public_html") || ftp.GetDirectoryListing("*.*") || ftp.Directory().Count() ||
                    listingRows(ftp.Directory()).size() != 1;
         },
         false, "", home + "/public_html"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const QString before = ftp.GetLastErrorMessage();
        EXPECT_EQ(cases[i].call(), cases[i].ok) << i;
        setYieldHook({});
        const QString& error = cases[i].error.isEmpty() ? before : cases[i].error;
        EXPECT_TRUE(test::like(ftp.GetLastErrorMessage(), error)) << i << err();
        EXPECT_FALSE(ftp.isFileOpen()) << i;
        EXPECT_EQ(ftp.GetFTPDirectory(), cases[i].folder) << i;
    }
    EXPECT_EQ(QDir(server.local(home)).entryList(QDir::Files),  // the shrunk file's first part went up
              QStringList({"empty.bin", "important.zip", "reentry.bin", "shrinks.bin", "target.zip"}));
    EXPECT_EQ(server.get(home + "/important.zip") + server.get(home + "/target.zip"), "important.ziptarget.zip");
    EXPECT_EQ(server.get(home + "/reentry.bin").size(), 3 << 20);
    EXPECT_FALSE(QDir(server.local("/home/tulpa/new dir")).exists());
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files), QStringList{"big.bin"});
    EXPECT_FALSE(server.transcript().join('\n').contains("important"));  // names with line breaks are never sent
}

TEST_F(Cftp, SizesAndListingsOfTheCurrentFolder) {
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 22, 10), Qt::UTC);
    server.put("/home/tulpa/a file.txt", "12345");
    QFile touched(server.local("/home/tulpa/a file.txt"));
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite) && touched.setFileTime(when, QFileDevice::FileModificationTime));
    server.put("/home/tulpa/plain.zip", QByteArray(77, 'p'));
    server.put("/home/tulpa/caf\u00e9 menu.txt", "\xc3\xa9");
    QDir().mkpath(server.local("/home/tulpa/sub folder"));
    server.put("/home/tulpa/huge.iso", "");
    ASSERT_TRUE(QFile::resize(server.local("/home/tulpa/huge.iso"), 3000000000LL));  // sparse
    const std::pair<const char*, qint64> sizes[] = {{"plain.zip", 77}, {"a file.txt", 5}, {"huge.iso", 3000000000LL}};
    for (const auto& [name, size] : sizes) EXPECT_EQ(ftp.GetFTPFileSize(name), size) << name;
    EXPECT_EQ(ftp.ServerFileSize("huge.iso"), 3000000000LL);
    EXPECT_TRUE(server.transcript().contains("SIZE plain.zip"));

    const std::pair<const char*, QStringList> filters[] = {
        {"*.zip", {"plain.zip"}},
        {"*.*", {"a file.txt", "caf\u00e9 menu.txt", "huge.iso", "plain.zip", "public_html", "sub folder"}}};
    for (const auto& [filter, names] : filters) {
        const cDirList* list = ftp.GetDirectoryListing(filter);
        ASSERT_EQ(list, &ftp.Directory()) << err();
        QStringList got;
        for (const auto& item : ftp.Directory()) got << item->FileName;
        got.sort();
        EXPECT_EQ(got, names);
    }
    const cDirItem* file = ftp.Directory().Item(QStringLiteral("A FILE.TXT"));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->Normal && !file->Directory && file->FileSize == 5);
    EXPECT_EQ(fromDateValue(file->LastWriteTime), when.toLocalTime());
    EXPECT_EQ(ftp.Directory().Item(QStringLiteral("huge.iso"))->FileSize, 3000000000LL);
}
