// The scripted double must fail loudly on what it was not told. (Its answers in script order and
// what it records are relied on, and so checked, by every window test that scripts it.)
#include "scripted_ui.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace vx;

TEST(ScriptedUi, AnUnscriptedQuestionOrDialogFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(test::ScriptedUi().messageBox("Delete?", Buttons::YesNo),
                            "unexpected question");
    EXPECT_NONFATAL_FAILURE(test::ScriptedUi().openFileName("Open", "Zip Files|*.zip", ""),
                            "unexpected open dialog");
}
