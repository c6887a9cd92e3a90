// The compress step, from the "&Compress/Upload" button to an archive other zip tools accept.
#include "app/compress_step.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/frmAdd.h"
#include "app/program.h"
#include "archive/arkovo.h"
#include "archive/frmArchive.h"
#include "scripted_ui.h"
#include "temp_home.h"
#include "zip_tools.h"

using namespace vx;

namespace {

struct Run {
    test::TempHome home;
    test::ScriptedUi ui;
    Program program{ui, fixedClock(QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7)))};
    int handedOver = 0;
    frmAdd& add = program.addWindow();

    Run() {
        program.setAfterCompress([this] { ++handedOver; });
        program.Startup("");
        test::writeFiles(home.file("pick"), {{"a.txt", QByteArray(5000, 'a')},
                                             {"sub/b.txt", "b"},
                                             {"sub/deeper/c.txt", "c"}});
    }
    QString archive() const { return add.Text1->text(); }
};

}  // namespace

TEST(CompressStep, AnEmptyListSelectsTheArchiveAndSaysThereIsNothingToDo) {
    Run r;
    r.add.Image7->click();
    ASSERT_EQ(r.ui.messages().size(), 1u);
    EXPECT_EQ(r.ui.messages()[0].text, "There is nothing to do!");
    EXPECT_EQ(r.ui.messages()[0].icon, Icon::Information);
    EXPECT_EQ(r.ui.messages()[0].title, "Vexaro Zipper");
    EXPECT_EQ(r.program.arkovo().ArchiveName(), r.archive());
    EXPECT_EQ(r.program.archiveWindow().windowTitle(), "Quorbit Arkovo - " + r.archive());
    EXPECT_FALSE(QFile::exists(r.archive()));
    EXPECT_EQ(r.handedOver, 0);
}

TEST(CompressStep, PacksTheListWithTheChosenOptionsThenHandsOver) {
    const struct { int level, actionRow; bool keepPaths; int rows; bool stored; } cases[] = {
        {6, 0, false, 3, false}, {0, 1, false, 3, true}, {9, 0, true, 3, false},
        {6, 2, false, 0, false},  // freshen adds nothing to a new archive
    };
    for (const auto& c : cases) {
        Run r;
        r.add.lstAdd->addItems({r.home.file("pick/a.txt"), r.home.file("pick/sub/*.*")});
        r.add.sldCompression->setValue(c.level);
        r.add.cboAction->setCurrentIndex(c.actionRow);
        r.add.chkDirNames->setChecked(c.keepPaths);
        const int yields = r.ui.yields();
        r.add.cmdOK->click();
        EXPECT_EQ(r.handedOver, 1);
        EXPECT_EQ(r.program.archiveWindow().lvwArchive->topLevelItemCount(), c.rows);
        EXPECT_EQ(r.program.archiveWindow().progressWindow(), nullptr);
        EXPECT_TRUE(r.ui.messages().empty());
        if (c.rows == 0) continue;
        EXPECT_GT(r.ui.yields(), yields);
        EXPECT_TRUE(test::runTool("unzip", {"-tq", r.archive()}, r.home.path())
                        .startsWith("No errors detected"));
        const QString top = c.keepPaths ? r.home.file("pick").mid(1) + "/" : QString();
        const QStringList names = test::zipNames(r.archive());
        EXPECT_TRUE(names.contains(top + "a.txt")) << names.join(' ').toStdString();
        EXPECT_TRUE(names.contains(top + (c.keepPaths ? "sub/deeper/c.txt" : "deeper/c.txt")));
        const QString methods = test::runTool("unzip", {"-v", r.archive()}, r.home.path());
        EXPECT_EQ(methods.contains("Defl"), !c.stored) << methods.toStdString();
    }
}

TEST(CompressStep, StillWorksAfterTheArchiveWindowIsPutAway) {
    Run r;
    r.program.archiveWindow().mnuExit_Click();
    r.add.lstAdd->addItem(r.home.file("pick/sub/*.*"));
    r.add.cmdOK_Click();
    QStringList names = test::zipNames(r.archive());
    names.sort();
    EXPECT_EQ(names, QStringList({"b.txt", "deeper/c.txt"}));
    EXPECT_EQ(r.handedOver, 1);
}
