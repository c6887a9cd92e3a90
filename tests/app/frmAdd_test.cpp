// File selection window, driven through its handlers as a person would use it.
#include "app/frmAdd.h"

#include <gtest/gtest.h>

#include <QTest>

#include "app_fixture.h"
#include "ui/drive_list.h"
#include "zip_tools.h"

using namespace vx;

TEST(frmAdd, FilesAndFoldersAreListedLoggedCountedAndRemovedByKey) {
    test::App w;
    w.add.Text1->setText("/apps/send/12042026-162907.zip");
    const QString f = w.home.file("pick");
    const QByteArray kb(1023, 'x');
    test::writeFiles(f,
                     {{"c.txt", kb}, {"a.txt", kb}, {"b.txt", kb}, {"gone", kb}, {"skip.txt", kb}});
    w.add.dirListing->setPath(f);
    for (int row : {0, 1, 2, 3}) w.add.filListing->item(row)->setSelected(true);
    QFile::remove(f + "/gone");  // removed meanwhile: listed, but adds nothing
    w.add.cmdAddFile_Click();
    EXPECT_TRUE(w.add.filListing->selectedItems().isEmpty());
    EXPECT_EQ(w.add.lblTotalSize->text(), "3 KB");  // rounded after each file: 1 + 1 + 1
    w.add.filListing->item(1)->setSelected(true);   // added twice: listed and counted twice
    w.add.filListing_DblClick();
    w.add.cmdAddFolder_Click();  // a folder adds its wildcard and counts nothing
    EXPECT_EQ(w.listed(), QStringList({f + "/a.txt", f + "/b.txt", f + "/c.txt", f + "/gone",
                                       f + "/b.txt", f + "/*.*"}));
    EXPECT_EQ(w.add.lblTotalSize->text(), "4 KB");
    ASSERT_EQ(w.logLines().size(), 6);
    EXPECT_EQ(w.logLines()[0],
              "12-04-2026 16:29:07:  The following is included: a.txt -- "
              "Archive: 12042026-162907.zip");
    EXPECT_TRUE(w.logLines()[5].contains("included: " + f + "/*.* -- Archive: "));
    // Delete and Backspace remove the selected entries; the total and the log stay.
    w.add.lstAdd_KeyDown(8);  // nothing selected: nothing removed
    w.add.lstAdd->item(1)->setSelected(true);
    w.add.lstAdd_KeyDown(65);  // other keys remove nothing
    EXPECT_EQ(w.listed().size(), 6);
    QTest::keyClick(w.add.lstAdd, Qt::Key_Delete);
    EXPECT_EQ(w.listed().mid(0, 2), QStringList({f + "/a.txt", f + "/c.txt"}));
    w.add.lstAdd->selectAll();
    QTest::keyClick(w.add.lstAdd, Qt::Key_Backspace);
    EXPECT_TRUE(w.listed().isEmpty());
    EXPECT_EQ(w.add.lblTotalSize->text(), "4 KB");
    EXPECT_EQ(w.logLines().size(), 6);
}

TEST(frmAdd, AnUnreadableDriveIsRefusedAndAReadableOneOpensAtItsRoot) {
    test::App w;
    w.add.dirListing->setPath(w.home.path());
    const QString drive = w.add.drvListing->drive();
    w.add.drvListing->addItem("/no/such/volume");
    w.add.drvListing->setCurrentIndex(w.add.drvListing->count() - 1);  // raises the change
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.messages()[0].text, "The drive selected cannot be accessed");
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Critical);
    EXPECT_EQ(w.add.drvListing->drive(), drive);
    EXPECT_EQ(w.add.filListing->path(), w.home.path());
    w.add.drvListing->setDriveSilently("/tmp");
    w.add.drvListing_Change();
    EXPECT_EQ(w.add.filListing->path(), "/tmp");
}

TEST(frmAdd, CancelEndsTheProgram) {
    test::App w;
    w.add.show();
    QTest::mouseClick(w.add.cmdCancel, Qt::LeftButton);
    EXPECT_TRUE(w.ui.ended());
}
