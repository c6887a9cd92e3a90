// The list file when it cannot be read or is empty. (Its lines, messages and log lines are
// checked with the start-up, which loads it once per "-autoload".)
#include "app/mdlList.h"

#include <gtest/gtest.h>

#include "app_fixture.h"

using namespace vx;

TEST(LoadList, AMissingOrEmptyFile) {
    test::App w;
    w.add.lstAdd->addItem("/kept");
    w.add.cmdTestLoad_Click();
    ASSERT_EQ(w.ui.messageTexts().size(), 1);
    EXPECT_TRUE(w.ui.messageTexts()[0].startsWith("An error has occured "));
    w.home.write("AutoOut.txt", "");
    w.add.cmdTestLoad_Click();
    EXPECT_EQ(w.ui.messageTexts().last(), "The list has been loaded and is ready.");
    EXPECT_EQ(w.listed(), QStringList{"/kept"});
    EXPECT_TRUE(w.logLines().isEmpty());
}
