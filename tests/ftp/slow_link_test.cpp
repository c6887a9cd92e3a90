// cFTP against a server whose data connections carry 64 KB a second: events keep coming while a
// transfer waits on the network, an upload outlasts a reply time-out shorter than its drain,
// whatever is asked from inside the yields is refused, and the control connection keeps itself
// alive meanwhile.
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "core/yield.h"
#include "ftp/cftp.h"
#include "ftp_test_server.h"
#include "sample_data.h"
#include "temp_home.h"

using namespace vx;
using test::FtpTestServer;

namespace {

const QStringList kSlow{"--throttle", "65536"};
const ftp::Timeouts kShortReply{5000, 1000, 10000, 5000};  // connect, reply, stall, listing

bool logInSlow(cFTP& ftp, const FtpTestServer& server) {
    ftp.setTimeouts(kShortReply);
    ftp.SetModePassive();
    ftp.SetTransferBinary();
    return ftp.OpenConnection(server.address(), "tulpa", "secret");
}

// The keep-alive timer of the established connection to `port` in /proc/net/tcp, in hundredths
// of a second until the next probe; -1 when the connection has none, -2 when it is not listed.
int keepAliveDue(quint16 port) {
    QFile f("/proc/net/tcp");
    if (!f.open(QIODevice::ReadOnly)) return -2;
    const QString remote = QString(":%1").arg(port, 4, 16, QChar('0')).toUpper();
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QStringList cols = QString::fromLatin1(line).simplified().split(' ');
        if (cols.size() < 6 || !cols[2].endsWith(remote) || cols[3] != "01") continue;
        return cols[5].startsWith("02:") ? cols[5].mid(3).toInt(nullptr, 16) : -1;
    }
    return -2;
}

}  // namespace

TEST(SlowLink, TransfersKeepEventsComingAndOutwaitTheDrain) {
    FtpTestServer server(kSlow);
    cFTP ftp;
    ASSERT_TRUE(logInSlow(ftp, server)) << ftp.GetLastErrorMessage().toStdString();
    int due = -2;  // a moment for any other timer of the login's last exchange to pass
    for (int i = 0; i < 20 && due < 0; ++i, QThread::msleep(10)) due = keepAliveDue(server.port());
    EXPECT_TRUE(due >= 0 && due <= 30 * 100) << due;  // probes after half a minute of silence
    test::TempHome local;
    const QByteArray data = sample::randomBytes(200 * 1024);
    const QString up = local.write("up.bin", data);
    server.put("/home/tulpa/down.bin", data);
    // Upload: the whole file is handed over before the first byte is taken, so the server's
    // closing reply only comes seconds later, after a reply time-out's worth of drain.
    const struct {
        std::function<bool()> call;
        QString result;  // the local path of the file that must equal `data`
        bool drains;
    } cases[] = {{[&] { return test::upload(ftp, up, "up.bin"); }, server.local("/home/tulpa/up.bin"), true},
                 {[&] { return test::download(ftp, local.file("down.bin"), "down.bin"); }, local.file("down.bin"),
                  false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drains ? "upload" : "download");
        int ticks = 0, ticksAtEnd = -1;
        QElapsedTimer sinceEnd;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        const auto end = QObject::connect(&ftp, &cFTP::FileTransferProgress, [&](qint32 cur, qint32 total) {
            if (cur == total) ticksAtEnd = ticks, sinceEnd.start();
        });
        timer.start(20);
        EXPECT_TRUE(c.call()) << ftp.GetLastErrorMessage().toStdString();
        timer.stop();
        QObject::disconnect(end);
        EXPECT_TRUE(test::readFile(c.result) == data);
        EXPECT_GE(ticks, 10);  // some 150 at this speed, unless the waits hold the events off
        if (!c.drains) continue;
        EXPECT_GT(sinceEnd.elapsed(), kShortReply.replyMs);  // the case is the one it means to be
        EXPECT_GE(ticks - ticksAtEnd, 5);
    }
}

TEST(SlowLink, CommandsFromInsideATransfersWaitsAreRefused) {
    FtpTestServer server(kSlow);
    cFTP ftp;
    ASSERT_TRUE(logInSlow(ftp, server));
    test::TempHome local;
    const QByteArray data = sample::randomBytes(200 * 1024);  // the server pauses at least once
    const QString up = local.write("up.bin", data);
    server.put("/home/tulpa/down.bin", data);
    const QString busy = " error code: 14 Message: Another transfer or search is already open *";
    const std::pair<std::function<bool()>, QString> commands[] = {
        {[&] { return ftp.DeleteFTPFile("down.bin"); }, "DeleteFTPFile" + busy},
        {[&] { return !ftp.GetFTPDirectory().isEmpty(); }, "FtpGetCurrentDirectory" + busy},
        {[&] { return ftp.GetDirectoryListing("*.*") != nullptr; }, "FtpFindFirstFile" + busy},
        {[&] { return test::upload(ftp, up, "other.bin"); }, "FtpOpenFile:PutFile" + busy},
        {[&] { return ftp.SimpleFTPGetFile(local.file("other"), "down.bin"); }, "SimpleFtpGetFile" + busy},
        {[&] { return ftp.OpenConnection(server.address(), "tulpa", "secret"); }, "InternetConnect" + busy},
        {[&] { return ftp.CloseConnection(), !ftp.isConnected(); }, "CloseConnection" + busy},
    };
    const std::pair<std::function<bool()>, const char*> transfers[] = {
        {[&] { return ftp.SimpleFTPPutFile(up, "up.bin"); }, "STOR"},
        {[&] { return ftp.SimpleFTPGetFile(local.file("down.bin"), "down.bin"); }, "RETR"}};
    for (const auto& [transfer, verb] : transfers) {
        SCOPED_TRACE(verb);
        int yields = 0;
        QStringList wrong;  // commands that were not refused, or not that way
        bool inside = false;
        setYieldHook([&] {
            if (std::exchange(inside, true)) return;
            ++yields;
            for (const auto& [call, error] : commands)
                if (call() || !test::like(ftp.GetLastErrorMessage(), error)) wrong << error.section(' ', 0, 0);
            inside = false;
        });
        EXPECT_TRUE(transfer()) << ftp.GetLastErrorMessage().toStdString();
        setYieldHook({});
        EXPECT_GT(yields, 10);
        EXPECT_EQ(wrong, QStringList());
        const QStringList verbs = server.verbs();  // nothing slipped in between
        EXPECT_EQ(verbs.mid(verbs.lastIndexOf("PASS") + 1), QStringList({"TYPE", "EPSV", verb}));
        EXPECT_TRUE(ftp.GetFTPDirectory() == "/home/tulpa");
        ASSERT_TRUE(logInSlow(ftp, server));
    }
    EXPECT_TRUE(server.get("/home/tulpa/up.bin") == data && test::readFile(local.file("down.bin")) == data);
    EXPECT_FALSE(QFile::exists(server.local("/home/tulpa/other.bin")));
}
