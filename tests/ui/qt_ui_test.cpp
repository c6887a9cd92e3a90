// Pieces of the desktop Ui that need no person at the screen.
#include "ui/qt_ui.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(QtUi, FiltersBecomeQtFilterTexts) {
    EXPECT_EQ(toQtFilter("Zip Files|*.zip"), "Zip Files (*.zip)");
    EXPECT_EQ(toQtFilter("Text|*.txt;*.log|All|*"), "Text (*.txt *.log);;All (*)");
    EXPECT_EQ(toQtFilter(""), "");
}
