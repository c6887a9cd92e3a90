// File selection window, driven through its handlers as a person would use it.
#include "app/frmAdd.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "add_window_fixture.h"
#include "ui/drive_list.h"

using namespace vx;
using test::entries;

TEST(frmAdd, SelectedFilesAreListedInOrderLoggedAndCounted) {
    test::AddWindow w;
    EXPECT_EQ(w.logLoads, 1);  // the load step loads the log window, hidden
    EXPECT_FALSE(w.log.isVisible());
    w.add.Text1->setText("/apps/send/12042026-162907.zip");
    const QString f = w.openFolderWith({"c.txt", "a.txt", "b.txt", "gone", "skip.txt"}, 1023,
                                       {"c.txt", "a.txt", "b.txt", "gone"});
    QFile::remove(f + "/gone");  // removed meanwhile: listed, but adds nothing
    w.add.cmdAddFile_Click();
    EXPECT_EQ(entries(*w.add.lstAdd),
              QStringList({f + "/a.txt", f + "/b.txt", f + "/c.txt", f + "/gone"}));
    EXPECT_TRUE(w.add.filListing->selectedItems().isEmpty());
    EXPECT_EQ(w.add.lblTotalSize->text(), "3 KB");  // rounded after each file: 1 + 1 + 1
    ASSERT_EQ(w.logLines().size(), 4);
    EXPECT_EQ(w.logLines()[0],
              "12-04-2026 16:29:07:  The following is included: a.txt -- "
              "Archive: 12042026-162907.zip");
    w.add.filListing->item(1)->setSelected(true);  // added twice: listed and counted twice
    w.add.filListing_DblClick();
    EXPECT_EQ(w.add.lblTotalSize->text(), "4 KB");
    EXPECT_EQ(entries(*w.add.lstAdd).size(), 5);
}

TEST(frmAdd, AddingAFolderListsItsWildcardAndCountsNothing) {
    test::AddWindow w;
    const QString f = w.openFolderWith({"x.bin"}, 5000);
    w.add.cmdAddFolder_Click();
    w.add.dirListing->setPath("/");
    w.add.cmdAddFolder_Click();
    EXPECT_EQ(entries(*w.add.lstAdd), QStringList({f + "/*.*", "/*.*"}));
    EXPECT_EQ(w.add.lblTotalSize->text(), "0 KB");
    EXPECT_TRUE(w.logLines().at(0).contains("included: " + f + "/*.* -- Archive: "));
}

TEST(frmAdd, DeleteAndBackspaceRemoveSelectedEntriesAndKeepTheTotal) {
    test::AddWindow w;
    w.openFolderWith({"a.bin", "b.bin", "c.bin"}, 2048, {"a.bin", "b.bin", "c.bin"});
    w.add.cmdAddFile_Click();
    w.add.lstAdd_KeyDown(8);  // nothing selected: nothing removed
    w.add.lstAdd->item(1)->setSelected(true);
    w.add.lstAdd_KeyDown(65);  // other keys remove nothing
    EXPECT_EQ(entries(*w.add.lstAdd).size(), 3);
    QTest::keyClick(w.add.lstAdd, Qt::Key_Delete);
    EXPECT_FALSE(entries(*w.add.lstAdd).join(' ').contains("b.bin"));
    w.add.lstAdd->selectAll();
    w.add.lstAdd_KeyDown(8);
    EXPECT_TRUE(entries(*w.add.lstAdd).isEmpty());
    EXPECT_EQ(w.add.lblTotalSize->text(), "6 KB");
    EXPECT_EQ(w.logLines().size(), 3);
}

TEST(frmAdd, DriveChanges) {
    test::AddWindow w;
    const QString f = w.openFolderWith({"a.bin"});
    const QString drive = w.add.drvListing->drive();
    w.add.drvListing->addItem("/no/such/volume");
    w.add.drvListing->setCurrentIndex(w.add.drvListing->count() - 1);  // raises the change
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.messages()[0].text, "The drive selected cannot be accessed");
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Critical);
    EXPECT_EQ(w.add.drvListing->drive(), drive);
    EXPECT_EQ(w.add.filListing->path(), f);
    w.add.drvListing->setDriveSilently("/tmp");  // a readable drive opens at its root
    w.add.drvListing_Change();
    EXPECT_EQ(w.add.filListing->path(), "/tmp");
    EXPECT_EQ(w.ui.messages().size(), 1u);
}

TEST(frmAdd, ButtonsRunTheCompressStepAndEndTheProgram) {
    test::AddWindow w;
    w.add.cmdOK_Click();  // nothing wired: nothing happens
    int runs = 0;
    w.add.setCompressStep([&] { ++runs; });
    QTest::mouseClick(w.add.cmdOK, Qt::LeftButton);
    EXPECT_EQ(runs, 1);
    w.add.cboAction->setCurrentIndex(1);
    EXPECT_EQ(w.add.actionCode(), kActionUpdate);
    w.add.show();
    w.add.cmdCancel_Click();
    EXPECT_TRUE(w.ui.ended());
}
