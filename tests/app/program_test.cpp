// Start-up: command line, names from a fixed clock whatever the locale, and the windows it
// opens.
#include "app/program.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLocale>

#include "app_fixture.h"
#include "archive/frmArchive.h"

using namespace vx;

TEST(Startup, NamesTheArchiveAndLogAndShowsTheSelectionWindow) {
    test::App app;
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));  // digits of its own
    app.program.Startup("");
    QLocale::setDefault(old);
    EXPECT_EQ(app.add.Text1->text(), app.home.file("12042026-162907.zip"));
    EXPECT_EQ(app.log.lblLogPath->text(), "12042026-162907.txt");
    EXPECT_TRUE(app.add.isVisible());
    EXPECT_FALSE(app.log.isVisible());
    EXPECT_TRUE(app.ui.shown().empty());
    app.program.archiveWindow().mnuShowLog->trigger();
    EXPECT_TRUE(app.log.isVisible());
}

TEST(Startup, EachAutoloadWordLoadsTheListBeforeTheArchiveIsNamed) {
    test::App app;
    app.home.write("AutoOut.txt", "/data/a.txt\r\n\r\n/data/folder/*.*\n");
    app.add.lstData->addItem("old");
    app.program.Startup("-autoload -autoload");
    const QStringList once = {"/data/a.txt", "", "/data/folder/*.*"};  // lines end in CR LF or LF
    EXPECT_EQ(app.listed(), once + once);
    EXPECT_EQ(app.add.lstData->count(), 0);
    EXPECT_EQ(app.ui.messageTexts(), QStringList(2, "The list has been loaded and is ready."));
    // A log line for each entry; at start-up it names the archive as the empty string.
    EXPECT_EQ(app.log.logText().count("included: /data/a.txt -- Archive: \r\n"), 2);
    EXPECT_EQ(app.log.logText().count(" -- Archive: \r\n"), 6);
}
