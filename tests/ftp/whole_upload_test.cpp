// Uploads under a temporary name that survive lost connections, against servers that drop the
// data or the control connection part-way, lie about sizes or refuse REST; the progress units of
// transfers past 2 GiB; and which failures are worth another connection.
#include "ftp/whole_upload.h"

#include <gtest/gtest.h>

#include "ftp/progress_scale.h"
#include "ftp_test_server.h"
#include "qt_printers.h"
#include "sample_data.h"

using namespace vx;

TEST(ProgressScale, CountsPast2GiBFitAndKeepTheirFraction) {
    const qint64 GiB = qint64(1) << 30;
    const struct {
        qint64 total;
        int shift;
        qint32 units;
    } cases[] = {
        {0, 0, 0},
        {2 * GiB - 1, 0, 0x7fffffff},
        {2 * GiB, 1, 1 << 30},
        {4 * GiB - 1, 1, 0x7fffffff},
        {4 * GiB, 2, 1 << 30},
        {10 * GiB, 3, 1342177280},
        {qint64(1) << 40, 10, 1 << 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        EXPECT_EQ(progressShift(c.total), c.shift);
        const ProgressCounts end = scaledProgress(c.total, c.total);
        EXPECT_EQ(end.total, c.units);
        EXPECT_EQ(end.current, end.total);
        if (c.total == 0) continue;
        const ProgressCounts third = scaledProgress(c.total / 3, c.total), last = scaledProgress(c.total - 1, c.total);
        EXPECT_NEAR(double(third.current) / third.total, 1.0 / 3, 1e-8);
        EXPECT_TRUE(last.current <= last.total && last.current >= 0 && third.current <= last.current);
    }
}

TEST(WholeUpload, OnlyLostConnectionsAndTransientRepliesAreRetried) {
    const struct {
        int code;
        const char* reply;
        bool retry;
    } cases[] = {
        {ftp::DataConnectionClosed, "", true},
        {ftp::ConnectionLost, "", true},
        {ftp::TimedOut, "", true},
        {ftp::CannotConnect, "", true},
        {ftp::ServerErrorReply, "426 Connection closed; transfer aborted.", true},
        {ftp::ServerErrorReply, "421 Too many connections.", true},
        {ftp::ServerErrorReply, "553 Not allowed.", false},
        {ftp::ServerErrorReply, "530 Login incorrect.", false},
        {ftp::LocalFileError, "", false},
        {ftp::LoginRefused, "", false},
        {ftp::Busy, "", false},
    };
    for (const auto& c : cases) EXPECT_EQ(worthRetrying(c.code, c.reply), c.retry) << c.code << " " << c.reply;
}

TEST(WholeUpload, ArrivesWholeUnderItsNameOrNotAtAll) {
    const QString folder = "/home/tulpa/public_html/", name = "a file.uzp";
    // clang-format off
    const struct {
        const char* what;
        QStringList knobs;
        int size;
        bool ok;
        QList<int> waits;     // the waits asked for, one per retry
        QStringList verbs;    // each sent at least once
        QStringList notVerbs; // never sent
    } cases[] = {
        {"plain", {}, 100000, true, {}, {"STOR", "SIZE", "RNFR", "RNTO"}, {"REST", "APPE", "DELE"}},
        {"empty file", {}, 0, true, {}, {"STOR", "RNTO"}, {"REST"}},
        {"data connection dropped once", {"--data-stop", "30000", "--stop-times", "1"}, 300000, true,
         {2000}, {"REST", "RNTO"}, {"APPE", "DELE"}},
        {"REST refused: APPE", {"--data-stop", "30000", "--stop-times", "1", "--reply", "REST", "502 No."},
         300000, true, {2000}, {"APPE", "RNTO"}, {}},
        {"control connection closed once", {"--control-drop", "30000", "--stop-times", "1"}, 300000, true,
         {2000}, {"REST", "RNTO"}, {}},
        {"control connection closed twice", {"--control-drop", "100000", "--stop-times", "2"}, 1000000, true,
         {2000, 5000}, {"REST", "RNTO"}, {}},
        {"no SIZE: no check, no resume", {"--reply", "SIZE", "502 No."}, 50000, true, {}, {"RNTO"}, {}},
        {"data dropped on every try", {"--data-stop", "10000"}, 600000, false, {2000, 5000, 10000},
         {"REST", "DELE"}, {"RNTO"}},
        {"the server's size differs", {"--reply", "SIZE", "213 7"}, 50000, false, {2000, 5000, 10000},
         {"DELE"}, {"RNTO"}},
        {"folder not writable: no retry", {"--reply", "STOR", "553 Not allowed."}, 5000, false, {}, {}, {"RNTO"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::FtpTestServer server(c.knobs);
        test::TempHome home;
        const QByteArray data = sample::randomBytes(c.size);
        const QString local = home.write("out.uzp", data);
        cFTP ftp;
        ASSERT_TRUE(test::logIn(ftp, server));
        ASSERT_TRUE(ftp.SetFTPDirectory(folder));
        QList<int> waits;
        QStringList notes;
        RetryPolicy policy;
        policy.wait = [&](int ms) { waits << ms; };
        QStringList midway;  // the folder when the first try is half-way
        QObject::connect(&ftp, &cFTP::FileTransferProgress, [&](qint32 cur, qint32 total) {
            if (midway.isEmpty() && cur > total / 2)
                midway = QDir(server.local(folder)).entryList(QDir::Files | QDir::Hidden);
        });
        WholeUpload upload(ftp, {server.address(), "tulpa", "secret"}, policy, [&](const QString& l) { notes << l; });
        EXPECT_EQ(upload.run(local, name), c.ok) << upload.errorText().toStdString();
        EXPECT_EQ(waits, c.waits);
        EXPECT_EQ(upload.tries(), c.waits.size() + 1);
        EXPECT_EQ(server.get(folder + name), c.ok ? data : QByteArray("<missing>"));
        EXPECT_EQ(server.get(folder + ".a file.uzp.part"), "<missing>");
        EXPECT_EQ(upload.errorText().isEmpty(), c.ok);
        EXPECT_EQ(midway, c.size > 5000 ? QStringList{".a file.uzp.part"} : QStringList{"<none>"}.mid(1));
        const QStringList verbs = server.verbs();
        for (const QString& v : c.verbs) EXPECT_TRUE(verbs.contains(v)) << v.toStdString();
        for (const QString& v : c.notVerbs) EXPECT_FALSE(verbs.contains(v)) << v.toStdString();
        // The first try, every retry and every failure are noted, and the outcome.
        EXPECT_EQ(notes.filter("Upload try").size(), 2 * c.waits.size() + (c.ok ? 0 : 1)) << notes.join('\n').toStdString();
        EXPECT_TRUE(notes.last().startsWith(c.ok ? "a file.uzp is on the server whole" : "Upload of a file.uzp failed"));
    }
}

TEST(WholeUpload, WithoutAConnectionTriesOnceWithTheClientsText) {
    test::TempHome home;
    cFTP ftp;
    int waits = 0;
    RetryPolicy policy;
    policy.wait = [&](int) { ++waits; };
    WholeUpload upload(ftp, {"127.0.0.1:1", "u", "p"}, policy);
    EXPECT_FALSE(upload.run(home.write("x.zip", "x"), "x.zip"));
    EXPECT_TRUE(upload.errorText().startsWith("FtpOpenFile:PutFile error code: 1 ")) << upload.errorText().toStdString();
    EXPECT_EQ(waits, 0);
}
