// The scripted double must answer in script order and fail loudly on what it was not told.
#include "scripted_ui.h"

#include <QWidget>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace vx;

TEST(ScriptedUi, AnswersInOrderAndRecordsWhatWasShown) {
    test::ScriptedUi ui;
    ui.answerMessage(Answer::No);
    ui.answerInput(QString("typed"));
    ui.answerInput(std::nullopt);
    EXPECT_EQ(ui.messageBox("Sure?", Buttons::YesNo, Icon::Question, "Ask"), Answer::No);
    Ui& base = ui;  // defaults live on the interface
    EXPECT_EQ(base.messageBox("Done"), Answer::Ok);
    EXPECT_EQ(ui.inputBox("Name?", "T", ""), QString("typed"));
    EXPECT_EQ(ui.inputBox("Name?", "T", ""), std::nullopt);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].title, "Ask");
    EXPECT_EQ(ui.messages()[1].title, kProgramTitle);
    EXPECT_TRUE(ui.scriptUsed());
}

TEST(ScriptedUi, AnUnscriptedQuestionFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            test::ScriptedUi ui;
            ui.messageBox("Delete?", Buttons::YesNo, Icon::Question, QString());
        },
        "unexpected question");
    EXPECT_NONFATAL_FAILURE(
        {
            test::ScriptedUi ui;
            ui.openFileName("Open", "Zip Files|*.zip", QString());
        },
        "unexpected open dialog");
}

TEST(ScriptedUi, ModalWindowsRunTheScriptedActionAndEndHidden) {
    test::ScriptedUi ui;
    QWidget w;
    w.setObjectName("frmProbe");
    bool wasVisible = false;
    ui.onModal([&](QWidget& shown) { wasVisible = shown.isVisible(); });
    ui.showModal(w);
    EXPECT_TRUE(wasVisible);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(ui.shown().back().text, "frmProbe");
}
