// The list file: loading it into the selection list, its messages and its log lines.
#include "app/mdlList.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include "add_window_fixture.h"

using namespace vx;

TEST(LoadList, EveryLineBecomesAnEntryWithALogLine) {
    test::AddWindow w;
    w.add.Text1->setText(w.home.file("12042026-162907.zip"));
    w.home.write("AutoOut.txt", "/data/a.txt\r\n\r\n/data/folder/*.*");
    w.add.lstData->addItem("old");
    w.add.cmdTestLoad_Click();
    EXPECT_EQ(w.entries(), QStringList({"/data/a.txt", "", "/data/folder/*.*"}));
    EXPECT_EQ(w.add.lstData->count(), 0);
    EXPECT_EQ(w.add.lblTotalSize->text(), "0 KB");
    EXPECT_EQ(w.ui.messageTexts(), QStringList{"The list has been loaded and is ready."});
    ASSERT_EQ(w.logLines().size(), 3);
    EXPECT_EQ(w.logLines()[1], "12-04-2026 16:29:07:  The following is included:  -- "
                               "Archive: 12042026-162907.zip");
}

TEST(LoadList, LoadingTwiceListsEveryEntryTwice) {
    test::AddWindow w;
    w.home.write("AutoOut.txt", "/a\n/b\n");  // LF line ends and a final line end
    w.add.cmdTestLoad_Click();
    w.add.cmdTestLoad_Click();
    EXPECT_EQ(w.entries(), QStringList({"/a", "/b", "/a", "/b"}));
}

TEST(LoadList, AMissingFileShowsOnlyTheErrorAndChangesNoEntry) {
    test::AddWindow w;
    w.add.lstAdd->addItem("/kept");
    w.add.cmdTestLoad_Click();
    EXPECT_EQ(w.entries(), QStringList{"/kept"});
    const QStringList shown = w.ui.messageTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("An error has occured ")) << shown[0].toStdString();
    EXPECT_GT(shown[0].size(), QString("An error has occured ").size());
    EXPECT_TRUE(w.logLines().isEmpty());
}

TEST(LoadList, AnEmptyFileLoadsNothingButSaysSo) {
    test::AddWindow w;
    w.home.write("AutoOut.txt", "");
    w.add.cmdTestLoad_Click();
    EXPECT_TRUE(w.entries().isEmpty());
    EXPECT_EQ(w.ui.messageTexts(), QStringList{"The list has been loaded and is ready."});
}
