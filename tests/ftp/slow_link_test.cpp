// cFTP against a server whose data connections carry 64 KB a second: events keep coming while a
// transfer waits on the network, whatever they ask of the same object is refused, an upload
// outlasts a reply time-out shorter than its drain, and the control connection keeps itself
// alive meanwhile.
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "ftp/cftp.h"
#include "ftp_test_server.h"
#include "sample_data.h"
#include "temp_home.h"

using namespace vx;
using test::FtpTestServer;

namespace {

// The keep-alive timer of the established connection to `port` in /proc/net/tcp, in hundredths
// of a second until the next probe; -1 when the connection has none, -2 when it is not listed.
int keepAliveDue(quint16 port) {
    QFile f("/proc/net/tcp");
    const QString remote = QString(":%1").arg(port, 4, 16, QChar('0')).toUpper();
    for (const QByteArray& line : f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QList<QByteArray>()) {
        const QStringList cols = QString::fromLatin1(line).simplified().split(' ');
        if (cols.size() > 5 && cols[2].endsWith(remote) && cols[3] == "01")
            return cols[5].startsWith("02:") ? cols[5].mid(3).toInt(nullptr, 16) : -1;
    }
    return -2;
}

}  // namespace

TEST(SlowLink, TransfersKeepEventsComingRefuseThemAndOutwaitTheDrain) {
    FtpTestServer server({"--throttle", "65536"});
    cFTP ftp;
    const ftp::Timeouts shortReply{5000, 1000, 10000, 5000};  // connect, reply, stall, listing
    ftp.setTimeouts(shortReply);
    ftp.SetModePassive();
    ftp.SetTransferBinary();
    ASSERT_TRUE(ftp.OpenConnection(server.address(), "tulpa", "secret"));
    int due = -2;  // a moment for any other timer of the login's last exchange to pass
    for (int i = 0; i < 20 && due < 0; ++i, QThread::msleep(10)) due = keepAliveDue(server.port());
    EXPECT_TRUE(due >= 0 && due <= 30 * 100) << due;  // probes after half a minute of silence

    test::TempHome local;
    const QByteArray data = sample::randomBytes(200 * 1024);  // the server pauses at least once
    const QString up = local.write("up.bin", data);
    server.put("/home/tulpa/down.bin", data);
    const QString busy = " error code: 14 Message: Another transfer or search is already open *";
    const std::pair<std::function<bool()>, QString> commands[] = {  // true: done, not refused
        {[&] { return ftp.DeleteFTPFile("down.bin"); }, "DeleteFTPFile" + busy},
        {[&] { return ftp.GetDirectoryListing("*.*") != nullptr; }, "FtpFindFirstFile" + busy},
        {[&] { return test::upload(ftp, up, "other.bin"); }, "FtpOpenFile:PutFile" + busy},
        {[&] { return ftp.OpenConnection(server.address(), "tulpa", "secret"); }, "InternetConnect" + busy},
        {[&] { return ftp.CloseConnection(), !ftp.isConnected(); }, "CloseConnection" + busy},
    };
    // The upload hands the whole file over before the server has taken much, so its closing
    // reply comes seconds after the last progress event: longer than the reply time-out.
    const struct {
        std::function<bool()> call;
        QString result;  // the file that must equal `data` afterwards
        QStringList verbs;
    } cases[] = {{[&] { return test::upload(ftp, up, "up.bin"); }, server.local("/home/tulpa/up.bin"),
                  {"TYPE", "EPSV", "STOR"}},
                 {[&] { return test::download(ftp, local.file("down.bin"), "down.bin"); }, local.file("down.bin"),
                  {"SIZE", "EPSV", "RETR"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verbs.last().toStdString());
        const qsizetype verbsBefore = server.verbs().size();
        int ticks = 0, ticksAtEnd = 0;
        QStringList wrong;  // commands from the ticks that were not refused, or not that way
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            ++ticks;
            for (const auto& [call, error] : commands)
                if (call() || !test::like(ftp.GetLastErrorMessage(), error)) wrong << error.section(' ', 0, 0);
        });
        QElapsedTimer sinceEnd;
        const auto end = QObject::connect(&ftp, &cFTP::FileTransferProgress, [&](qint32 cur, qint32 total) {
            if (cur == total) ticksAtEnd = ticks, sinceEnd.start();
        });
        timer.start(20);
        EXPECT_TRUE(c.call()) << ftp.GetLastErrorMessage().toStdString();
        timer.stop();
        QObject::disconnect(end);
        EXPECT_TRUE(test::readFile(c.result) == data);
        EXPECT_GE(ticks, 10);  // some 150 at this speed, unless the waits hold the events off
        EXPECT_EQ(wrong, QStringList());
        EXPECT_EQ(server.verbs().mid(verbsBefore), c.verbs);  // nothing slipped in between
        if (c.verbs.last() != "STOR") continue;
        EXPECT_GT(sinceEnd.elapsed(), shortReply.replyMs);  // the case is the one it means to be
        EXPECT_GE(ticks - ticksAtEnd, 5);
    }
    EXPECT_TRUE(ftp.GetFTPDirectory() == "/home/tulpa");
    EXPECT_FALSE(QFile::exists(server.local("/home/tulpa/other.bin")));
}
