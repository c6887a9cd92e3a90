// The scripted double must answer in script order and fail loudly on what it was not told.
#include "scripted_ui.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QWidget>

using namespace vx;

TEST(ScriptedUi, AnswersInOrderAndRecordsWhatWasShown) {
    test::ScriptedUi ui;
    ui.answerMessage(Answer::No);
    ui.answerInput(QString("typed"));
    ui.answerInput(std::nullopt);
    EXPECT_EQ(ui.messageBox("Sure?", Buttons::YesNo, Icon::Question, "Ask"), Answer::No);
    EXPECT_EQ(ui.messageBox("Done"), Answer::Ok);  // an OK box needs no script line
    EXPECT_EQ(ui.inputBox("Name?", "T", ""), QString("typed"));
    EXPECT_EQ(ui.inputBox("Name?", "T", ""), std::nullopt);
    EXPECT_EQ(ui.messageTexts(), QStringList({"Sure?", "Done"}));
    EXPECT_EQ(ui.messages()[0].title, "Ask");
    EXPECT_TRUE(ui.scriptUsed());
    QWidget w;
    w.setObjectName("frmProbe");
    bool wasVisible = false;
    ui.onModal([&](QWidget& shown) { wasVisible = shown.isVisible(); });
    ui.showModal(w);
    EXPECT_TRUE(wasVisible && !w.isVisible());
    EXPECT_EQ(ui.shown().back().text, "frmProbe");
}

TEST(ScriptedUi, AnUnscriptedQuestionOrDialogFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(test::ScriptedUi().messageBox("Delete?", Buttons::YesNo),
                            "unexpected question");
    EXPECT_NONFATAL_FAILURE(test::ScriptedUi().openFileName("Open", "Zip Files|*.zip", ""),
                            "unexpected open dialog");
}
