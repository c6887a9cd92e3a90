// Pieces of the desktop Ui: filter texts, a message box as the desktop shows it, the exit
// status and a window shown before long work.
#include "ui/qt_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <vector>

using namespace vx;

TEST(QtUi, FiltersBecomeQtFilterTexts) {
    EXPECT_EQ(toQtFilter("Zip Files|*.zip"), "Zip Files (*.zip)");
    EXPECT_EQ(toQtFilter("Text|*.txt;*.log|All|*"), "Text (*.txt *.log);;All (*)");
    EXPECT_EQ(toQtFilter(""), "");
}

TEST(QtUi, AMessageWithoutTitleCarriesTheProgramTitle) {
    QtUi ui;
    QString title, text;
    QTimer::singleShot(0, [&] {  // answers the box from inside its own loop
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                title = box->windowTitle();
                text = box->text();
                box->button(QMessageBox::No)->click();
            }
        }
    });
    EXPECT_EQ(ui.messageBox("Replace the file?", Buttons::YesNo, Icon::Question), Answer::No);
    EXPECT_EQ(title, "Vexaro");
    EXPECT_EQ(text, "Replace the file?");
}

// The program's exit status is the first failure recorded, so a later step cannot hide it.
TEST(QtUi, EndsWithTheFirstFailureRecorded) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        std::vector<ExitCode> recorded;
        int status;
    } cases[] = {{{}, 0},
                 {{ExitCode::InvalidAccessCode}, 3},
                 {{ExitCode::UploadFailed, ExitCode::NotificationFailed}, 2}};
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                QtUi ui;
                for (ExitCode code : c.recorded) ui.recordFailure(code);
                ui.endProgram();
            },
            testing::ExitedWithCode(c.status), "");
    }
}

// Shown and painted before the call returns, with no event loop running afterwards.
TEST(QtUi, ShowNowReturnsWithTheWindowOnScreenAndPainted) {
    struct Counted : QWidget {
        int paints = 0;
        void paintEvent(QPaintEvent*) override { ++paints; }
    } window;
    QtUi().showNow(window);
    ASSERT_TRUE(window.windowHandle());
    EXPECT_TRUE(window.windowHandle()->isExposed());
    EXPECT_GT(window.paints, 0);
}
