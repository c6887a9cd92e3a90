// Log window: the line form, and saving (twice, empty, onto a path that cannot be written).
#include "log/frmLog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>

#include "log/log_line.h"
#include "scripted_ui.h"
#include "temp_home.h"

using namespace vx;

TEST(frmLog, SavesTheWholeLogWithCrLfLineEndsAndAFailedSaveKeepsTheEarlierFile) {
    test::TempHome home;
    test::ScriptedUi ui;
    frmLog log(ui);
    log.lblLogPath->setText("12042026-162907.txt");
    const QString path = home.file("12042026-162907.txt");
    log.cmdSaveLog_Click();
    EXPECT_EQ(test::readFile(path), "\r\n");  // an empty log
    log.appendLog(logLine(QDateTime(QDate(2026, 12, 4), QTime(9, 5, 7)), "a.doc", "x.zip"));
    log.appendLog("second\r\n");
    log.cmdSaveLog_Click();  // replaces the file
    const QByteArray saved =
        "12-04-2026 09:05:07:  The following is included: a.doc -- Archive: x.zip\r\n"
        "second\r\n\r\n";
    EXPECT_EQ(test::readFile(path), saved);
    EXPECT_TRUE(ui.messages().empty());
    log.SaveText(*log.txtLog, path + "/inner.txt");  // its folder is a file
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "There has been a error!");
    EXPECT_EQ(ui.messages()[0].title, "Error");
    EXPECT_EQ(test::readFile(path), saved);
    EXPECT_EQ(log.logText(), saved.chopped(2));
}
