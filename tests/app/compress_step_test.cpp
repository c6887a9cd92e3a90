// The compress step, from the "&Compress/Upload" button to an archive other zip tools accept.
#include "app/compress_step.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/frmAdd.h"
#include "app/program.h"
#include "archive/arkovo.h"
#include "archive/frmArchive.h"
#include "log/frmLog.h"
#include "scripted_ui.h"
#include "temp_home.h"
#include "zip_tools.h"

using namespace vx;

namespace {

struct Job {
    test::TempHome home;
    test::ScriptedUi ui;
    Program program{ui, fixedClock(QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7)))};
    frmAdd& add = program.addWindow();
    int handedOver = 0;

    Job() {
        program.setAfterCompress([this] { ++handedOver; });
        program.Startup("");
        test::writeFiles(home.file("pick"), {{"a.txt", QByteArray(5000, 'a')},
                                             {"sub/b.txt", "b"}, {"sub/deeper/c.txt", "c"}});
        add.lstAdd->addItems(
            {home.file("pick/a.txt"), home.file("pick/sub/*.*"), home.file("pick/gone.txt")});
    }
    QString archive() const { return add.Text1->text(); }
};

}  // namespace

TEST(CompressStep, AnEmptyListSelectsTheArchiveAndSaysThereIsNothingToDo) {
    Job r;
    r.add.lstAdd->clear();
    r.add.Image7->click();
    ASSERT_EQ(r.ui.messageTexts(), QStringList{"There is nothing to do!"});
    EXPECT_EQ(r.ui.messages()[0].icon, Icon::Information);
    EXPECT_EQ(r.ui.messages()[0].title, "Vexaro Zipper");
    EXPECT_EQ(r.program.arkovo().ArchiveName(), r.archive());
    EXPECT_FALSE(QFile::exists(r.archive()));
    EXPECT_EQ(r.handedOver, 0);
}

TEST(CompressStep, PacksTheListWithTheChosenOptionsThenHandsOver) {
    const struct { int level, actionRow; bool keepPaths, exitFirst; int rows; } cases[] = {
        {6, 0, false, false, 3}, {0, 1, false, false, 3}, {9, 0, true, false, 3},
        {6, 2, false, false, 0},  // freshen adds nothing to a new archive
        {6, 0, false, true, 3},   // File > Exit on the archive window leaves the component working
    };
    for (const auto& c : cases) {
        Job r;
        if (c.exitFirst) r.program.archiveWindow().mnuExit_Click();
        r.add.sldCompression->setValue(c.level);
        r.add.cboAction->setCurrentIndex(c.actionRow);
        r.add.chkDirNames->setChecked(c.keepPaths);
        const int yields = r.ui.yields();
        r.add.cmdOK->click();
        EXPECT_EQ(r.handedOver, 1);
        EXPECT_EQ(r.program.archiveWindow().lvwArchive->topLevelItemCount(), c.rows);
        EXPECT_EQ(r.program.archiveWindow().progressWindow(), nullptr);
        if (c.rows == 0) continue;
        EXPECT_GT(r.ui.yields(), yields);  // the windows repaint while the archive is written
        EXPECT_TRUE(r.program.logWindow().logText().contains("gone.txt"));  // reported, not lost
        EXPECT_TRUE(test::runTool("unzip", {"-tq", r.archive()}, "/").startsWith("No errors"));
        const QString top = c.keepPaths ? r.home.file("pick/").mid(1) : QString();
        EXPECT_EQ(test::zipNames(r.archive()),
                  QStringList({top + "a.txt", top + (c.keepPaths ? "sub/b.txt" : "b.txt"),
                               top + (c.keepPaths ? "sub/deeper/c.txt" : "deeper/c.txt")}));
        const QString listing = test::runTool("unzip", {"-v", r.archive()}, "/");
        EXPECT_EQ(listing.contains("Defl"), c.level > 0) << listing.toStdString();
    }
}

TEST(CompressStep, AClickWhileTheArchiveIsWrittenIsIgnored) {
    Job r;
    QObject::connect(&r.program.arkovo(), &Arkovo::AddProgress, &r.add, [&] { r.add.cmdOK_Click(); });
    r.add.cmdOK_Click();
    EXPECT_EQ(r.handedOver, 1);
    EXPECT_TRUE(r.ui.messages().empty());
}
