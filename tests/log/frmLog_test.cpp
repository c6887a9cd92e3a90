// Log window: the line form, appending, and saving (twice, empty, into a folder that refuses).
#include "log/frmLog.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <gtest/gtest.h>
#include <unistd.h>

#include "log/log_line.h"
#include "scripted_ui.h"
#include "temp_home.h"

using namespace vx;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST(LogLine, HasTheFixedDateTimeFormAndEndsInCrLf) {
    const QDateTime at(QDate(2026, 12, 4), QTime(9, 5, 7));
    EXPECT_EQ(logLine(at, "report.doc", "12042026-090500.zip"),
              "12-04-2026 09:05:07:  The following is included: report.doc -- "
              "Archive: 12042026-090500.zip\r\n");
    EXPECT_EQ(logLine(at, "x", ""), "12-04-2026 09:05:07:  The following is included: x -- "
                                    "Archive: \r\n");
}

TEST(frmLog, SavingTwiceLeavesTheWholeLogOnceWithCrLfLineEnds) {
    test::TempHome home;
    test::ScriptedUi ui;
    frmLog log(ui);
    EXPECT_EQ(log.windowTitle(), "Log Window");
    log.lblLogPath->setText("12042026-162907.txt");
    log.appendLog("first\r\n");
    log.appendLog("second\r\n");
    log.cmdSaveLog_Click();
    log.cmdSaveLog_Click();
    EXPECT_EQ(readAll(home.file("12042026-162907.txt")), "first\r\nsecond\r\n\r\n");
    EXPECT_TRUE(ui.messages().empty());
}

TEST(frmLog, SavingAnEmptyLogWritesOnlyCrLf) {
    test::TempHome home;
    test::ScriptedUi ui;
    frmLog log(ui);
    log.lblLogPath->setText("empty.txt");
    log.cmdSaveLog_Click();
    EXPECT_EQ(readAll(home.file("empty.txt")), "\r\n");
}

TEST(frmLog, SaveIntoAFolderThatRefusesShowsTheErrorAndStaysUsable) {
    test::TempHome home;
    test::ScriptedUi ui;
    frmLog log(ui);
    log.appendLog("kept\r\n");
    // A read-only folder; root may write anywhere on a normal file system, so use /proc there.
    QString folder = home.file("locked");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (geteuid() == 0) folder = QStringLiteral("/proc/self");
    log.SaveText(*log.txtLog, folder + "/log.txt");

    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "There has been a error!");
    EXPECT_EQ(ui.messages()[0].title, "Error");
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::Ok);
    EXPECT_EQ(log.logText(), "kept\r\n");
    EXPECT_FALSE(QFile::exists(folder + "/log.txt"));

    log.SaveText(*log.txtLog, home.file("log.txt"));  // still usable
    EXPECT_EQ(readAll(home.file("log.txt")), "kept\r\n\r\n");
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST(frmLog, AFailedSaveKeepsTheEarlierFile) {
    test::TempHome home;
    test::ScriptedUi ui;
    frmLog log(ui);
    log.appendLog("one\r\n");
    const QString path = home.file("run.txt");
    log.SaveText(*log.txtLog, path);
    // A path whose folder part is a file cannot be written; the saved log stays as it was.
    log.SaveText(*log.txtLog, path + "/inner.txt");
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(readAll(path), "one\r\n\r\n");
}
