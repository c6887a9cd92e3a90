// Start-up: command line and its list file, names from a fixed clock whatever the locale, and
// the windows it opens.
#include "app/program.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLocale>

#include "app_fixture.h"
#include "archive/frmArchive.h"
#include "crypto/frmEncrypt.h"

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
    // A missing list file is an error; an empty one loads and logs nothing.
    const qsizetype logged = app.logLines().size();
    QFile::remove(app.home.file("AutoOut.txt"));
    app.add.cmdTestLoad_Click();
    EXPECT_TRUE(app.ui.messageTexts().value(2).startsWith("An error has occured "));
    app.home.write("AutoOut.txt", "");
    app.add.cmdTestLoad_Click();
    EXPECT_EQ(app.ui.messageTexts().mid(3), QStringList{"The list has been loaded and is ready."});
    EXPECT_EQ(app.listed(), once + once);
    EXPECT_EQ(app.logLines().size(), logged);
}

TEST(Startup, AnEncryptedFileOpensReadyToBeRestoredWithTheTypedKey) {
    test::App app;
    const QString sealed = app.home.write(
        "sample.uzp", test::readFile(QStringLiteral(VEXARO_SOURCE_DIR) +
                                     "/tests/crypto/data/english_3k__pepper.uzp"));
    frmEncrypt& window = app.program.OpenForRestore(sealed);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.Timer1.isActive());  // nothing runs until the user asks
    EXPECT_EQ(window.txtSource->text(), sealed);
    EXPECT_EQ(window.txtKey->text(), "");
    EXPECT_GE(window.height(), window.fraText->geometry().bottom());  // the frames are in sight
    window.txtKey->setText("Tr0ub4dor&3x");
    window.txtPCC->setText("pepper");
    app.ui.answerMessage(Answer::Ok);
    window.cmdCrypto_Click();
    EXPECT_EQ(app.ui.messageTexts(), QStringList{"Done!"});
    EXPECT_EQ(test::readFile(app.home.file("sample.txt")),
              test::readFile(QStringLiteral(VEXARO_SOURCE_DIR) + "/tests/crypto/data/english_3k.txt"));
    EXPECT_FALSE(app.add.isVisible());  // the usual start-up did not run
}
