// cFTP against a real FTP server on 127.0.0.1, in active and in passive mode: every member,
// the progress events of the chunked transfers, and the error texts.
#include "ftp/cftp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "core/date_forms.h"
#include "core/yield.h"
#include "ftp/listing_rows.h"
#include "ftp_test_server.h"

using namespace vx;
using vx::test::FtpTestServer;

namespace {

QByteArray randomBytes(qsizetype n, quint32 seed) {
    QByteArray b(n, Qt::Uninitialized);
    QRandomGenerator g(seed);
    for (qsizetype i = 0; i < n; ++i) b[i] = static_cast<char>(g.generate() & 0xff);
    return b;
}

QString writeLocal(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

QByteArray readLocal(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Records yields and progress events in the order they happen: "Y", "255/300", ...
struct EventLog {
    explicit EventLog(cFTP& ftp) {
        connection = QObject::connect(&ftp, &cFTP::FileTransferProgress, [this](qint32 c, qint32 t) {
            seq << QStringLiteral("%1/%2").arg(c).arg(t);
        });
        setYieldHook([this] { seq << QStringLiteral("Y"); });
    }
    ~EventLog() {
        QObject::disconnect(connection);
        setYieldHook({});
    }
    QStringList seq;
    QMetaObject::Connection connection;
};

class CftpModes : public ::testing::TestWithParam<bool> {  // true: passive
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.startError().toStdString();
        ftp.setTimeouts({5000, 5000, 5000});
        if (GetParam()) ftp.SetModePassive(); else ftp.SetModeActive();
        ftp.SetTransferBinary();
        ASSERT_TRUE(ftp.OpenConnection(server.address(), FtpTestServer::user(), FtpTestServer::password()))
            << ftp.GetLastErrorMessage().toStdString();
    }
    void TearDown() override { ftp.CloseConnection(); }

    FtpTestServer server;
    cFTP ftp;
    QTemporaryDir local;
};

}  // namespace

TEST_P(CftpModes, StartsInHomeTulpaAndUsesTheChosenDataMode) {
    EXPECT_EQ(ftp.GetFTPDirectory(), "/home/tulpa");
    ftp.GetDirectoryListing("*.*");
    const QStringList verbs = server.verbs();
    EXPECT_EQ(verbs.mid(0, 3), QStringList({"USER", "PASS", "PWD"}));
    EXPECT_EQ(verbs.contains("EPSV"), GetParam());
    EXPECT_EQ(verbs.contains("EPRT"), !GetParam());
    EXPECT_EQ(ftp.GetLastErrorMessage(), "");
}

TEST_P(CftpModes, UploadEventSequencesForZeroThreeHundredAndFiveHundredTenBytes) {
    struct {
        int size;
        QStringList events;
    } cases[] = {{0, {"0/0"}},
                 {300, {"Y", "255/300", "300/300"}},
                 {510, {"Y", "255/510", "Y", "510/510", "510/510"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const QByteArray data = randomBytes(c.size, c.size);
        QString sLocal = writeLocal(local, QStringLiteral("up%1.bin").arg(c.size), data);
        QString sRemote = QStringLiteral("up%1.bin").arg(c.size);
        EventLog log(ftp);
        EXPECT_TRUE(ftp.FTPUploadFile(sLocal, sRemote)) << ftp.GetLastErrorMessage().toStdString();
        EXPECT_EQ(log.seq, c.events);
        EXPECT_TRUE(server.exists("/home/tulpa/" + sRemote));
        EXPECT_EQ(server.get("/home/tulpa/" + sRemote), data);
        EXPECT_FALSE(ftp.isFileOpen());
    }
}

TEST_P(CftpModes, DownloadEventSequencesAndContent) {
    struct {
        int size;
        QStringList events;
    } cases[] = {{1, {"1/1"}},
                 {300, {"Y", "255/300", "300/300"}},
                 {510, {"Y", "255/510", "Y", "510/510", "510/510"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const QByteArray data = randomBytes(c.size, 7 + c.size);
        server.put(QStringLiteral("/home/tulpa/down%1.bin").arg(c.size), data);
        QString sLocal = local.filePath(QStringLiteral("down%1.bin").arg(c.size));
        QString sRemote = QStringLiteral("down%1.bin").arg(c.size);
        EventLog log(ftp);
        EXPECT_TRUE(ftp.FTPDownloadFile(sLocal, sRemote)) << ftp.GetLastErrorMessage().toStdString();
        EXPECT_EQ(log.seq, c.events);
        EXPECT_EQ(readLocal(sLocal), data);
    }
}

TEST_P(CftpModes, LargeBinaryFilesRoundTripByteForByte) {
    const QByteArray data = randomBytes(8 * 1024 * 1024 + 7, 42);  // not a multiple of 255
    QString up = writeLocal(local, "big.bin", data);
    QString remote = "big.bin";
    int events = 0;
    qint32 last = -1;
    bool ascending = true;
    QObject::connect(&ftp, &cFTP::FileTransferProgress, [&](qint32 c, qint32 t) {
        ++events;
        ascending = ascending && c >= last && t == data.size();
        last = c;
    });
    ASSERT_TRUE(ftp.FTPUploadFile(up, remote)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_TRUE(server.get("/home/tulpa/big.bin") == data);
    EXPECT_EQ(events, data.size() / 255 + 1);
    EXPECT_TRUE(ascending);

    QString down = local.filePath("big.down");
    remote = "big.bin";
    events = 0;
    last = -1;
    ASSERT_TRUE(ftp.FTPDownloadFile(down, remote)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_TRUE(readLocal(down) == data);
    EXPECT_EQ(events, data.size() / 255 + 1);
    EXPECT_TRUE(ascending);
}

TEST_P(CftpModes, PathsAreTrimmedInPlaceAndBlankPathsFailSilently) {
    ASSERT_FALSE(ftp.SetFTPDirectory("no-such-folder"));
    const QString before = ftp.GetLastErrorMessage();
    ASSERT_FALSE(before.isEmpty());

    QString sLocal = "  " + writeLocal(local, "t.txt", "hello") + "  ";
    QString sRemote = "  t.txt ";
    EXPECT_TRUE(ftp.FTPUploadFile(sLocal, sRemote));
    EXPECT_EQ(sLocal, local.filePath("t.txt"));
    EXPECT_EQ(sRemote, "t.txt");

    QString spaces = "   ";
    QString name = "x.txt";
    EXPECT_FALSE(ftp.FTPUploadFile(spaces, name));
    EXPECT_EQ(spaces, "");
    QString dl = " " + local.filePath("t.back") + " ";
    QString blank = "  ";
    EXPECT_FALSE(ftp.FTPDownloadFile(dl, blank));
    EXPECT_EQ(dl, local.filePath("t.back"));
    EXPECT_EQ(ftp.GetLastErrorMessage(), before);

    QString remote = "  t.txt";
    EXPECT_TRUE(ftp.FTPDownloadFile(dl, remote));
    EXPECT_EQ(remote, "t.txt");
    EXPECT_EQ(readLocal(dl), "hello");
    EXPECT_EQ(ftp.GetLastErrorMessage(), before);  // success leaves the old text
}

TEST_P(CftpModes, DownloadOfEmptyOrMissingRemoteFileIsSilentAndMakesNoFile) {
    server.put("/home/tulpa/empty.bin", QByteArray());
    QString sLocal = local.filePath("empty.bin");
    QString sRemote = "empty.bin";
    EXPECT_FALSE(ftp.FTPDownloadFile(sLocal, sRemote));
    sRemote = "missing.bin";
    EXPECT_FALSE(ftp.FTPDownloadFile(sLocal, sRemote));
    EXPECT_FALSE(QFileInfo::exists(sLocal));
    EXPECT_EQ(ftp.GetLastErrorMessage(), "");
    EXPECT_EQ(QDir(local.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

TEST_P(CftpModes, FolderAndFileCommands) {
    EXPECT_TRUE(ftp.CreateFTPDirectory("new dir"));
    EXPECT_TRUE(QFileInfo(server.local("/home/tulpa/new dir")).isDir());
    EXPECT_TRUE(ftp.SetFTPDirectory("new dir"));
    EXPECT_EQ(ftp.GetFTPDirectory(), "/home/tulpa/new dir");
    EXPECT_TRUE(ftp.SetFTPDirectory(".."));
    EXPECT_EQ(ftp.GetFTPDirectory(), "/home/tulpa");
    EXPECT_TRUE(ftp.RemoveFTPDirectory("new dir"));
    EXPECT_FALSE(server.exists("/home/tulpa/new dir"));

    server.put("/home/tulpa/report.zip", "zip");
    EXPECT_TRUE(ftp.RenameFTPFile("report.zip", "old.zip"));
    EXPECT_FALSE(server.exists("/home/tulpa/report.zip"));
    EXPECT_EQ(server.get("/home/tulpa/old.zip"), "zip");
    EXPECT_TRUE(ftp.DeleteFTPFile("old.zip"));
    EXPECT_FALSE(server.exists("/home/tulpa/old.zip"));
    EXPECT_EQ(ftp.GetLastErrorMessage(), "");

    const QStringList t = server.transcript();
    for (const char* line : {"MKD new dir", "CWD new dir", "CWD ..", "RMD new dir", "RNFR report.zip",
                             "RNTO old.zip", "DELE old.zip"})
        EXPECT_TRUE(t.contains(QString::fromLatin1(line))) << line;
}

TEST_P(CftpModes, ServerErrorRepliesBecomeTheWholeErrorText) {
    struct {
        const char* what;
        std::function<bool()> call;
    } cases[] = {
        {"RemoveFTPDirectory", [&] { return ftp.RemoveFTPDirectory("nope"); }},
        {"DeleteFTPFile", [&] { return ftp.DeleteFTPFile("nope.zip"); }},
        {"RenameFTPFile", [&] { return ftp.RenameFTPFile("nope.zip", "x.zip"); }},
        {"SetFTPDirectory", [&] { return ftp.SetFTPDirectory("nope"); }},
        {"CreateFTPDirectory", [&] { return ftp.CreateFTPDirectory("/no/such/parent/x"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(c.call());
        const QString e = ftp.GetLastErrorMessage();
        EXPECT_TRUE(e.startsWith("550 ")) << e.toStdString();
        EXPECT_FALSE(e.contains("error code")) << e.toStdString();
    }
    QString sLocal = local.filePath("x.bin");
    QString sRemote = "/no/such/folder/x.bin";
    writeLocal(local, "x.bin", "x");
    EXPECT_FALSE(ftp.FTPUploadFile(sLocal, sRemote));
    EXPECT_TRUE(ftp.GetLastErrorMessage().startsWith("550 ")) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_FALSE(ftp.isFileOpen());
}

TEST_P(CftpModes, FailedChangeOfFolderLeavesTheCurrentFolder) {
    ASSERT_TRUE(ftp.SetFTPDirectory("public_html"));
    EXPECT_FALSE(ftp.SetFTPDirectory("/home/tulpa/public_html/no-such-code"));
    EXPECT_EQ(ftp.GetFTPDirectory(), "/home/tulpa/public_html");
}

TEST_P(CftpModes, FileSizeBlanksBecomeWildcardsMissingIsMinusOne) {
    server.put("/home/tulpa/my file.zip", QByteArray(1000, 'a'));
    server.put("/home/tulpa/plain.zip", QByteArray(77, 'b'));
    ftp.SetFTPDirectory("nope");
    const QString before = ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.GetFTPFileSize("plain.zip"), 77);
    EXPECT_EQ(ftp.GetFTPFileSize("my file.zip"), 1000);
    EXPECT_EQ(ftp.GetFTPFileSize("missing.zip"), -1);
    EXPECT_EQ(ftp.GetFTPFileSize("missing file.zip"), -1);
    EXPECT_EQ(ftp.GetLastErrorMessage(), before);
    // The blank became '?', so a name differing only there matches as well.
    server.put("/home/tulpa/my_file.zip", QByteArray(5, 'c'));
    const qint32 either = ftp.GetFTPFileSize("my file.zip");
    EXPECT_TRUE(either == 1000 || either == 5) << either;
    EXPECT_TRUE(server.transcript().contains("SIZE plain.zip"));
}

TEST_P(CftpModes, ListingEntriesFieldsAndRows) {
    server.put("/home/tulpa/a file.txt", "12345");
    QDir().mkpath(server.local("/home/tulpa/sub folder"));
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 22, 10), Qt::UTC);
    {
        QFile f(server.local("/home/tulpa/a file.txt"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    {   // a sparse file of 3 000 000 000 bytes
        QFile f(server.local("/home/tulpa/huge.iso"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(3000000000LL));
    }
    cDirList* list = ftp.GetDirectoryListing("*.*");
    ASSERT_NE(list, nullptr) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_EQ(list, &ftp.Directory());
    EXPECT_EQ(list->Count(), 4);  // public_html, sub folder, a file.txt, huge.iso
    const cDirItem* file = list->Item(QStringLiteral("A FILE.TXT"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->FileName, "a file.txt");
    EXPECT_EQ(file->FileSize, 5);
    EXPECT_TRUE(file->Normal);
    EXPECT_FALSE(file->Directory);
    EXPECT_EQ(fromDateValue(file->LastWriteTime), when.toLocalTime());
    const cDirItem* dir = list->Item(QStringLiteral("sub folder"));
    ASSERT_NE(dir, nullptr);
    EXPECT_TRUE(dir->Directory);
    EXPECT_EQ(list->Item(QStringLiteral("huge.iso"))->FileSize, -1294967296);
    EXPECT_EQ(ftp.GetFTPFileSize("huge.iso"), -1294967296);
    QString hugeLocal = local.filePath("huge.iso"), hugeRemote = "huge.iso";
    EXPECT_FALSE(ftp.FTPDownloadFile(hugeLocal, hugeRemote));
    EXPECT_EQ(ftp.GetLastErrorMessage(),
              "FtpOpenFile:GetFile error code: 17 Message: The file is 2 GiB or larger. huge.iso");
    EXPECT_FALSE(QFile::exists(hugeLocal));

    const auto rows = listingRows(*list);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[0].text, "..");
    for (const auto& row : rows) {
        if (row.text == "sub folder") {
            EXPECT_EQ(row.subItems, QStringList{"< Directory >"});
        } else if (row.text == "a file.txt") {
            EXPECT_EQ(row.subItems, QStringList({"5", generalDateTime(file->LastWriteTime),
                                                 " -  -  -  -  N  -  -  -  - "}));
        }
    }
}

TEST_P(CftpModes, ListingFilterAndEmptyFolder) {
    server.put("/home/tulpa/a.zip", "a");
    server.put("/home/tulpa/b.txt", "b");
    cDirList* zips = ftp.GetDirectoryListing("*.zip");
    ASSERT_NE(zips, nullptr);
    ASSERT_EQ(zips->Count(), 1);
    EXPECT_EQ(zips->Item(1)->FileName, "a.zip");

    ASSERT_TRUE(ftp.SetFTPDirectory("public_html"));
    ftp.SetFTPDirectory("nope");
    const QString before = ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.GetDirectoryListing("*.*"), nullptr);
    EXPECT_EQ(ftp.Directory().Count(), 0);
    EXPECT_EQ(listingRows(ftp.Directory()).size(), 1);
    EXPECT_EQ(ftp.GetLastErrorMessage(), before);
}

TEST_P(CftpModes, SimplePutAndGet) {
    const QByteArray data = randomBytes(300000, 3);
    const QString up = writeLocal(local, "simple.bin", data);
    EXPECT_TRUE(ftp.SimpleFTPPutFile(up, "simple.bin")) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_TRUE(server.get("/home/tulpa/simple.bin") == data);
    const QString down = local.filePath("simple.back");
    EXPECT_TRUE(ftp.SimpleFTPGetFile(down, "simple.bin")) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_TRUE(readLocal(down) == data);

    EXPECT_FALSE(ftp.SimpleFTPGetFile(local.filePath("x"), "missing.bin"));
    EXPECT_TRUE(ftp.GetLastErrorMessage().startsWith("550 "));
    EXPECT_FALSE(ftp.SimpleFTPPutFile(local.filePath("missing-local"), "m.bin"));
    EXPECT_TRUE(ftp.GetLastErrorMessage().startsWith("SimpleFtpPutFile error code: 16 Message: "))
        << ftp.GetLastErrorMessage().toStdString();
    EXPECT_FALSE(server.exists("/home/tulpa/m.bin"));
}

TEST_P(CftpModes, AsciiModeStoresLocalLineEnds) {
    ftp.SetTransferASCII();
    const QByteArray text = "first line\nsecond line\n\nlast";
    QString up = writeLocal(local, "notes.txt", text);
    QString remote = "notes.txt";
    ASSERT_TRUE(ftp.FTPUploadFile(up, remote)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_EQ(server.get("/home/tulpa/notes.txt"), text);
    QString down = local.filePath("notes.back");
    ASSERT_TRUE(ftp.FTPDownloadFile(down, remote)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_EQ(readLocal(down), text);
    EXPECT_TRUE(server.verbs().contains("TYPE"));
    EXPECT_TRUE(server.transcript().contains("TYPE A"));

    // Lines of odd lengths, so that CR LF pairs straddle the transfer's chunk boundaries.
    QByteArray many;
    for (int i = 0; many.size() < 2 * 1024 * 1024; ++i) many += QByteArray(i % 97, 'x') + "\n";
    QString bigUp = writeLocal(local, "many.txt", many), bigRemote = "many.txt";
    ASSERT_TRUE(ftp.FTPUploadFile(bigUp, bigRemote)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_TRUE(server.get("/home/tulpa/many.txt") == many);
    QString bigDown = local.filePath("many.back");
    ASSERT_TRUE(ftp.FTPDownloadFile(bigDown, bigRemote)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_TRUE(readLocal(bigDown) == many);
}

TEST_P(CftpModes, NamesWithBlanksTravelBothWays) {
    QString up = writeLocal(local, "with blank.zip", "abc");
    QString remote = "my file.zip";
    ASSERT_TRUE(ftp.FTPUploadFile(up, remote));
    EXPECT_EQ(server.get("/home/tulpa/my file.zip"), "abc");
    QString down = local.filePath("back with blank.zip");
    ASSERT_TRUE(ftp.FTPDownloadFile(down, remote)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_EQ(readLocal(down), "abc");

    QString accented = writeLocal(local, "accent.txt", "é");
    QString accentedRemote = QString::fromUtf8("caf\xc3\xa9 menu.txt");
    ASSERT_TRUE(ftp.FTPUploadFile(accented, accentedRemote)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_EQ(server.get("/home/tulpa/" + accentedRemote), "é");
    cDirList* list = ftp.GetDirectoryListing("*.*");
    ASSERT_NE(list, nullptr);
    EXPECT_NE(list->Item(accentedRemote), nullptr);
}

TEST_P(CftpModes, LocalFileThatCannotBeOpened) {
    QString missing = local.filePath("does-not-exist.zip");
    QString remote = "target.zip";
    server.put("/home/tulpa/target.zip", "keep me");
    EXPECT_FALSE(ftp.FTPUploadFile(missing, remote));
    const QString e = ftp.GetLastErrorMessage();
    EXPECT_TRUE(e.startsWith("OpenLocalFile error code: 16 Message: ")) << e.toStdString();
    EXPECT_TRUE(e.contains("does-not-exist.zip")) << e.toStdString();
    EXPECT_EQ(server.get("/home/tulpa/target.zip"), "keep me");  // nothing sent, nothing lost
    EXPECT_FALSE(server.verbs().contains("STOR"));

    QString folder = local.path();
    EXPECT_FALSE(ftp.FTPUploadFile(folder, remote));
    EXPECT_TRUE(ftp.GetLastErrorMessage().contains("is a folder"));

    QString intoMissingFolder = local.filePath("no/such/folder/t.zip");
    EXPECT_FALSE(ftp.FTPDownloadFile(intoMissingFolder, remote));
    EXPECT_TRUE(ftp.GetLastErrorMessage().startsWith("OpenLocalFile error code: 16"));
    EXPECT_FALSE(ftp.isFileOpen());
    EXPECT_EQ(ftp.GetFTPDirectory(), "/home/tulpa");  // the connection is still usable
}

TEST_P(CftpModes, ModeSwitchAppliesFromTheNextConnection) {
    const bool passive = GetParam();
    if (passive) ftp.SetModeActive(); else ftp.SetModePassive();
    ftp.GetDirectoryListing("*.*");
    EXPECT_EQ(server.verbs().contains("EPSV"), passive);
    EXPECT_EQ(server.verbs().contains("EPRT"), !passive);
    ASSERT_TRUE(ftp.OpenConnection(server.address(), FtpTestServer::user(), FtpTestServer::password()));
    ftp.GetDirectoryListing("*.*");
    EXPECT_TRUE(server.verbs().contains("EPSV"));
    EXPECT_TRUE(server.verbs().contains("EPRT"));
    // The first connection was closed before the second logged in.
    const QStringList v = server.verbs();
    EXPECT_LT(v.indexOf("QUIT"), v.lastIndexOf("USER"));
}

TEST_P(CftpModes, SecondTransferDuringAYieldIsRefused) {
    const QByteArray data = randomBytes(2000, 9);
    QString up = writeLocal(local, "reentry.bin", data);
    QString remote = "reentry.bin";
    bool nestedResult = true;
    QString nestedError;
    int calls = 0;
    setYieldHook([&] {
        if (++calls != 2) return;
        QString l = up, r = QStringLiteral("other.bin");
        nestedResult = ftp.FTPUploadFile(l, r);
        nestedError = ftp.GetLastErrorMessage();
    });
    const bool ok = ftp.FTPUploadFile(up, remote);
    setYieldHook({});
    EXPECT_TRUE(ok) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_FALSE(nestedResult);
    EXPECT_TRUE(nestedError.startsWith("FtpOpenFile:PutFile error code: 14")) << nestedError.toStdString();
    EXPECT_TRUE(server.get("/home/tulpa/reentry.bin") == data);
    EXPECT_FALSE(server.exists("/home/tulpa/other.bin"));
}

TEST_P(CftpModes, CloseConnectionSaysGoodbyeAndLaterCallsFail) {
    ftp.CloseConnection();
    EXPECT_FALSE(ftp.isConnected());
    EXPECT_EQ(server.verbs().last(), "QUIT");
    EXPECT_EQ(ftp.GetFTPDirectory(), "");
    EXPECT_EQ(ftp.GetLastErrorMessage(),
              "FtpGetCurrentDirectory error code: 1 Message: No connection to the server is open.");
    ftp.CloseConnection();  // twice is harmless
    ASSERT_TRUE(ftp.OpenConnection(server.address(), FtpTestServer::user(), FtpTestServer::password()));
    EXPECT_EQ(ftp.GetFTPDirectory(), "/home/tulpa");
}

INSTANTIATE_TEST_SUITE_P(ActiveAndPassive, CftpModes, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Passive" : "Active"; });
