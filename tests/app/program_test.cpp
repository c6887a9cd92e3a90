// Start-up: command line, names from a fixed clock, and the windows it opens.
#include "app/program.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>

#include "app/frmAdd.h"
#include "archive/frmArchive.h"
#include "list_entries.h"
#include "log/frmLog.h"
#include "scripted_ui.h"
#include "temp_home.h"

using namespace vx;

TEST(Startup, NamesTheArchiveAndLogAndShowsTheSelectionWindow) {
    test::TempHome home;
    test::ScriptedUi ui;
    Program program(ui, fixedClock(QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7))));
    program.Startup("");
    EXPECT_EQ(program.addWindow().Text1->text(), home.file("12042026-162907.zip"));
    EXPECT_EQ(program.logWindow().lblLogPath->text(), "12042026-162907.txt");
    EXPECT_TRUE(program.addWindow().isVisible());
    EXPECT_FALSE(program.logWindow().isVisible());
    EXPECT_TRUE(ui.shown().empty());
    program.archiveWindow().mnuShowLog->trigger();
    EXPECT_TRUE(program.logWindow().isVisible());
}

TEST(Startup, EachAutoloadWordLoadsTheListBeforeTheArchiveIsNamed) {
    test::TempHome home;
    test::ScriptedUi ui;
    Program program(ui, fixedClock(QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7))));
    home.write("AutoOut.txt", "/data/a.txt\r\n");
    program.Startup("-autoload -autoload");
    EXPECT_EQ(test::entries(*program.addWindow().lstAdd), QStringList(2, "/data/a.txt"));
    EXPECT_EQ(ui.messageTexts().size(), 2);
    // The log lines of a start-up load name the archive as the empty string.
    EXPECT_EQ(program.logWindow().logText().count(" -- Archive: \r\n"), 2);
}
