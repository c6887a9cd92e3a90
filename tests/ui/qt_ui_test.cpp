// Pieces of the desktop Ui: filter texts, and a message box as the desktop shows it.
#include "ui/qt_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

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
