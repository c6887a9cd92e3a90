// File selection window, driven through its handlers as a person would use it.
#include "app/frmAdd.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "add_window_fixture.h"
#include "ui/drive_list.h"

using namespace vx;

TEST(frmAdd, LoadStepFillsTheActionsAndLoadsTheLogWindow) {
    test::AddWindow w;
    EXPECT_EQ(w.add.windowTitle(), "Select File(s) to Upload");
    EXPECT_TRUE(w.add.lblVersion->text().startsWith("Version: "));
    EXPECT_EQ(w.add.lblVersion->text().count('.'), 2);
    EXPECT_EQ(w.logLoads, 1);
    EXPECT_FALSE(w.log.isVisible());
    ASSERT_EQ(w.add.cboAction->count(), 3);
    const struct { const char* text; int code; } actions[] = {
        {"Add (and replace) files", 1}, {"Update (and add) files", 3},
        {"Freshen (existing) files", 2}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.add.cboAction->itemText(i), actions[i].text);
        EXPECT_EQ(w.add.cboAction->itemData(i).toInt(), actions[i].code);
    }
    EXPECT_EQ(w.add.actionCode(), 1);
    w.add.cboAction->setCurrentIndex(2);
    EXPECT_EQ(w.add.actionCode(), 2);
    EXPECT_EQ(w.add.lblTotalSize->text(), "0 KB");
    EXPECT_EQ(w.add.sldCompression->minimum(), 0);
    EXPECT_EQ(w.add.sldCompression->maximum(), 9);
    EXPECT_EQ(w.add.cmdOK->text(), "&Compress/Upload");
}

TEST(frmAdd, AddingThreeSelectedFilesListsThemInOrderAndClearsTheSelection) {
    test::AddWindow w;
    w.add.Text1->setText("/apps/send/12042026-162907.zip");
    const QString folder = w.openFolderWith({"c.txt", "a.txt", "b.txt", "skip.txt"});
    w.select("c.txt");
    w.select("a.txt");
    w.select("b.txt");
    w.add.cmdAddFile_Click();
    EXPECT_EQ(w.entries(), QStringList({folder + "/a.txt", folder + "/b.txt", folder + "/c.txt"}));
    EXPECT_TRUE(w.add.filListing->selectedItems().isEmpty());
    ASSERT_EQ(w.logLines().size(), 3);
    EXPECT_EQ(w.logLines()[0],
              "12-04-2026 16:29:07:  The following is included: a.txt -- "
              "Archive: 12042026-162907.zip");
}

TEST(frmAdd, KilobyteTotalRoundsAfterEachFile) {
    test::AddWindow w;
    w.openFolderWith({"one.bin", "two.bin"}, 1023);
    w.select("one.bin");
    w.add.cmdAddFile_Click();
    EXPECT_EQ(w.add.lblTotalSize->text(), "1 KB");
    w.select("two.bin");
    w.add.filListing_DblClick();
    EXPECT_EQ(w.add.lblTotalSize->text(), "2 KB");
    w.select("two.bin");  // added twice: listed and counted twice
    w.add.cmdAddFile_Click();
    EXPECT_EQ(w.add.lblTotalSize->text(), "3 KB");
    EXPECT_EQ(w.entries().size(), 3);
}

TEST(frmAdd, AFileRemovedBeforeAddingIsListedButNotCounted) {
    test::AddWindow w;
    const QString folder = w.openFolderWith({"gone.bin", "kept.bin"}, 4096);
    w.select("gone.bin");
    w.select("kept.bin");
    QFile::remove(folder + "/gone.bin");
    w.add.cmdAddFile_Click();
    EXPECT_EQ(w.entries().size(), 2);
    EXPECT_EQ(w.add.lblTotalSize->text(), "4 KB");
}

TEST(frmAdd, AddingAFolderListsItsWildcardAndCountsNothing) {
    test::AddWindow w;
    const QString folder = w.openFolderWith({"x.bin"}, 5000);
    w.add.cmdAddFolder_Click();
    EXPECT_EQ(w.entries(), QStringList{folder + "/*.*"});
    EXPECT_EQ(w.add.lblTotalSize->text(), "0 KB");
    EXPECT_TRUE(w.logLines().at(0).contains("included: " + folder + "/*.* -- Archive: "));

    w.add.dirListing->setPath("/");
    w.add.cmdAddFolder_Click();
    EXPECT_EQ(w.entries().last(), "/*.*");
}

TEST(frmAdd, DeleteRemovesSelectedEntriesAndKeepsTheTotal) {
    test::AddWindow w;
    w.openFolderWith({"a.bin", "b.bin", "c.bin"}, 2048);
    for (const char* n : {"a.bin", "b.bin", "c.bin"}) w.select(n);
    w.add.cmdAddFile_Click();
    const QString total = w.add.lblTotalSize->text();
    const int logged = w.logLines().size();

    w.add.lstAdd_KeyDown(8);  // Backspace with nothing selected does nothing
    EXPECT_EQ(w.entries().size(), 3);

    w.add.lstAdd->item(1)->setSelected(true);
    QTest::keyClick(w.add.lstAdd, Qt::Key_Delete);
    EXPECT_EQ(w.entries().size(), 2);
    EXPECT_FALSE(w.entries().join(' ').contains("b.bin"));

    w.add.lstAdd->selectAll();
    w.add.lstAdd_KeyDown(46);
    EXPECT_TRUE(w.entries().isEmpty());
    EXPECT_EQ(w.add.lblTotalSize->text(), total);
    EXPECT_EQ(w.logLines().size(), logged);

    w.add.lstAdd->addItem("x");
    w.add.lstAdd->item(0)->setSelected(true);
    w.add.lstAdd_KeyDown(65);  // other keys remove nothing
    EXPECT_EQ(w.entries().size(), 1);
}

TEST(frmAdd, AnInaccessibleDriveShowsTheMessageAndChangesNothing) {
    test::AddWindow w;
    const QString folder = w.openFolderWith({"a.bin"});
    const QString drive = w.add.drvListing->drive();
    w.add.drvListing->addItem("/no/such/volume");
    w.add.drvListing->setCurrentIndex(w.add.drvListing->count() - 1);  // raises the change
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.messages()[0].text, "The drive selected cannot be accessed");
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Critical);
    EXPECT_EQ(w.add.drvListing->drive(), drive);
    EXPECT_EQ(w.add.dirListing->path(), folder);
    EXPECT_EQ(w.add.filListing->path(), folder);
}

TEST(frmAdd, ChangingTheDriveOpensItsRoot) {
    test::AddWindow w;
    w.openFolderWith({"a.bin"});
    w.add.drvListing->setDriveSilently("/tmp");  // not announced: nothing changes yet
    w.add.drvListing_Change();
    EXPECT_EQ(w.add.dirListing->path(), "/tmp");
    EXPECT_EQ(w.add.filListing->path(), "/tmp");
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(frmAdd, CancelAndClosingEndTheProgram) {
    test::AddWindow w;
    w.add.show();
    w.add.cmdCancel_Click();
    EXPECT_TRUE(w.ui.ended());
}

TEST(frmAdd, CompressButtonRunsTheStepHandedIn) {
    test::AddWindow w;
    w.add.cmdOK_Click();  // nothing wired: nothing happens
    int runs = 0;
    w.add.setCompressStep([&] { ++runs; });
    QTest::mouseClick(w.add.cmdOK, Qt::LeftButton);
    EXPECT_EQ(runs, 1);
}
