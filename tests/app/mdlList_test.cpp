// The list file: loading it into the selection list, its messages and its log lines.
#include "app/mdlList.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "add_window_fixture.h"

using namespace vx;
using test::entries;

TEST(LoadList, EveryLineBecomesAnEntryWithALogLineEachTimeItIsLoaded) {
    test::AddWindow w;
    w.add.Text1->setText(w.home.file("12042026-162907.zip"));
    w.home.write("AutoOut.txt", "/data/a.txt\r\n\r\n/data/folder/*.*\n");
    w.add.lstData->addItem("old");
    w.add.cmdTestLoad_Click();
    w.add.cmdTestLoad_Click();
    const QStringList once = {"/data/a.txt", "", "/data/folder/*.*"};
    EXPECT_EQ(entries(*w.add.lstAdd), once + once);
    EXPECT_EQ(w.add.lstData->count(), 0);
    EXPECT_EQ(w.ui.messageTexts(), QStringList(2, "The list has been loaded and is ready."));
    ASSERT_EQ(w.logLines().size(), 6);
    EXPECT_EQ(w.logLines()[1],
              "12-04-2026 16:29:07:  The following is included:  -- Archive: 12042026-162907.zip");
}

TEST(LoadList, AMissingOrEmptyFile) {
    test::AddWindow w;
    w.add.lstAdd->addItem("/kept");
    w.add.cmdTestLoad_Click();
    ASSERT_EQ(w.ui.messageTexts().size(), 1);
    EXPECT_TRUE(w.ui.messageTexts()[0].startsWith("An error has occured "));
    EXPECT_GT(w.ui.messageTexts()[0].size(), 21);  // followed by the system's description
    w.home.write("AutoOut.txt", "");
    w.add.cmdTestLoad_Click();
    EXPECT_EQ(w.ui.messageTexts().last(), "The list has been loaded and is ready.");
    EXPECT_EQ(entries(*w.add.lstAdd), QStringList{"/kept"});
    EXPECT_TRUE(w.logLines().isEmpty());
}
