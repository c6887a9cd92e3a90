// Start-up: command line, names from a fixed clock, and the windows it opens.
#include "app/program.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "app/frmAdd.h"
#include "archive/frmArchive.h"
#include "log/frmLog.h"
#include "scripted_ui.h"
#include "temp_home.h"

using namespace vx;

namespace {

struct Started {
    test::TempHome home;
    test::ScriptedUi ui;
    Program program{ui, fixedClock(QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7)))};

    QStringList entries() {
        QStringList out;
        for (int i = 0; i < program.addWindow().lstAdd->count(); ++i)
            out << program.addWindow().lstAdd->item(i)->text();
        return out;
    }
};

}  // namespace

TEST(Startup, NamesTheArchiveAndLogAndShowsTheSelectionWindow) {
    Started s;
    EXPECT_EQ(s.program.archiveWindow().windowTitle(), "ZIP Compression Application");
    s.program.Startup("");
    EXPECT_EQ(s.program.addWindow().Text1->text(), s.home.file("12042026-162907.zip"));
    EXPECT_EQ(s.program.logWindow().lblLogPath->text(), "12042026-162907.txt");
    EXPECT_TRUE(s.program.addWindow().isVisible());
    EXPECT_FALSE(s.program.logWindow().isVisible());
    EXPECT_TRUE(s.entries().isEmpty());
    EXPECT_TRUE(s.ui.shown().empty());
}

TEST(Startup, AutoloadLoadsTheListBeforeTheArchiveIsNamed) {
    Started s;
    s.home.write("AutoOut.txt", "/data/a.txt\r\n");
    s.program.Startup("-autoload -autoload");
    EXPECT_EQ(s.entries(), QStringList({"/data/a.txt", "/data/a.txt"}));
    // The log lines of a start-up load name the archive as the empty string.
    const QString log = s.program.logWindow().logText();
    EXPECT_EQ(log.count(" -- Archive: \r\n"), 2) << log.toStdString();
    EXPECT_EQ(s.ui.messageTexts().count("The list has been loaded and is ready."), 2);
    EXPECT_EQ(s.program.addWindow().Text1->text(), s.home.file("12042026-162907.zip"));
}

TEST(Startup, WordsThatDoNotAskForTheListLoadNothing) {
    Started s;
    s.home.write("AutoOut.txt", "/data/a.txt\r\n");
    s.program.Startup("-AutoLoad autoload");
    EXPECT_TRUE(s.entries().isEmpty());
    EXPECT_TRUE(s.ui.messages().empty());
}

TEST(Startup, LogMenuBringsTheLogWindowUp) {
    Started s;
    s.program.Startup("");
    s.program.archiveWindow().mnuShowLog->trigger();
    EXPECT_TRUE(s.program.logWindow().isVisible());
}
