// The compress step, from the "&Compress/Upload" button to an archive other zip tools accept.
#include "app/compress_step.h"

#include <gtest/gtest.h>

#include <QTreeView>

#include "app_fixture.h"
#include "archive/arkovo.h"
#include "archive/frmArchive.h"
#include "zip_tools.h"

using namespace vx;

namespace {

// The program started, with a file, a folder and a removed file in the list.
struct Job : test::App {
    int handedOver = 0;
    Job() {
        program.setAfterCompress([this] { ++handedOver; });
        program.Startup("");
        test::writeFiles(
            home.file("pick"),
            {{"a.txt", QByteArray(5000, 'a')}, {"sub/b.txt", "b"}, {"sub/deeper/c.txt", "c"}});
        add.lstAdd->addItems(
            {home.file("pick/a.txt"), home.file("pick/sub/*.*"), home.file("pick/gone.txt")});
    }
    QString archive() const { return add.Text1->text(); }
};

}  // namespace

// An empty list says there is nothing to do; an archive that cannot be written says why. Neither
// selects another archive or hands over.
TEST(CompressStep, WithoutAnArchiveWrittenNothingIsHandedOver) {
    for (const bool empty : {true, false}) {
        Job r;
        empty ? r.add.lstAdd->clear() : r.add.Text1->setText(r.home.file("missing/x.zip"));
        r.add.Image7->click();
        ASSERT_EQ(r.ui.messageTexts().join('|').section(':', 0, 0),
                  empty ? QString("There is nothing to do!")
                        : "The archive " + r.archive() + " could not be written");
        EXPECT_EQ(r.ui.messages()[0].icon, empty ? Icon::Information : Icon::Critical);
        EXPECT_EQ(r.ui.messages()[0].title, empty ? "Vexaro Zipper" : "Vexaro");
        EXPECT_EQ(r.program.arkovo().ArchiveName(), r.archive());
        EXPECT_EQ(std::pair(QFile::exists(r.archive()), r.handedOver), std::pair(false, 0));
    }
}

TEST(CompressStep, PacksTheListWithTheChosenOptionsThenHandsOver) {
    // clang-format off
    const struct { int level, actionRow; bool keepPaths, exitFirst; int rows; } cases[] = {
        {6, 0, false, false, 3}, {0, 1, false, false, 3}, {9, 0, true, false, 3},
        {6, 2, false, false, 0},  // freshen adds nothing to a new archive
        {6, 0, false, true, 3}};  // File > Exit on the archive window leaves the component working
    // clang-format on
    for (const auto& c : cases) {
        Job r;
        if (c.exitFirst) r.program.archiveWindow().mnuExit_Click();
        r.add.sldCompression->setValue(c.level);
        r.add.cboAction->setCurrentIndex(c.actionRow);
        r.add.chkDirNames->setChecked(c.keepPaths);
        // Regression: a click while the archive was written (the component yields) handed
        // over a half-written archive; it is ignored.
        QObject::connect(&r.program.arkovo(), &Arkovo::AddProgress, &r.add,
                         [&] { r.add.cmdOK->click(); });
        r.add.cmdOK->click();
        EXPECT_EQ(std::pair(r.handedOver, r.ui.messageTexts()), std::pair(1, QStringList()));
        EXPECT_EQ(r.program.archiveWindow().lvwArchive->model()->rowCount(), c.rows);
        if (c.rows == 0) continue;
        EXPECT_TRUE(r.log.logText().contains("gone.txt"));  // reported, not lost
        EXPECT_TRUE(test::runTool("unzip", {"-tq", r.archive()}, "/").startsWith("No errors"));
        const QString top = c.keepPaths ? r.home.file("pick/").mid(1) : QString();
        EXPECT_EQ(test::zipNames(r.archive()),
                  QStringList({top + "a.txt", top + (c.keepPaths ? "sub/b.txt" : "b.txt"),
                               top + (c.keepPaths ? "sub/deeper/c.txt" : "deeper/c.txt")}));
        const QString listing = test::runTool("unzip", {"-v", r.archive()}, "/");
        EXPECT_EQ(listing.contains("Defl"), c.level > 0) << listing.toStdString();
    }
}

TEST(CompressStep, TheActionDecidesWhatHappensToAnArchiveAlreadyThere) {
    // The archive holds an a.txt newer than the file picked; b.txt and c.txt are not in it.
    const struct { int actionRow; const char* a; int entries; } cases[] = {
        {0, "aaaaaaaa", 3}, {1, "archived", 3}, {2, "archived", 1}};
    for (const auto& c : cases) {
        Job r;
        QFile picked(r.home.file("pick/a.txt"));
        ASSERT_TRUE(picked.open(QIODevice::ReadWrite) &&
                    picked.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                       QFileDevice::FileModificationTime));
        picked.close();
        const QFileInfo zip(r.archive());
        test::zipOf(zip.absolutePath(), zip.fileName(), {{"a.txt", "archived"}});
        r.add.cboAction->setCurrentIndex(c.actionRow);
        r.add.cmdOK->click();
        EXPECT_EQ(test::runTool("unzip", {"-p", r.archive(), "a.txt"}, "/").left(8), c.a);
        EXPECT_EQ(test::zipNames(r.archive()).size(), c.entries);
    }
}

TEST(CompressStep, WhileTheArchiveWindowWorksItRefusesAndHandsNothingOver) {
    Job r;
    Arkovo& arkovo = r.program.arkovo();
    const QString other = test::zipOf(r.home.path(), "other.zip",
                                      {{"one.bin", QByteArray(300000, '1')}, {"two.txt", "2"}});
    arkovo.setArchiveName(other);
    int clicks = 0, errors = 0;
    QObject::connect(&arkovo, &Arkovo::ArchiveError, [&] { ++errors; });
    QObject::connect(&arkovo, &Arkovo::ExtractProgress, &r.add, [&] {
        if (clicks++ == 0) r.add.cmdOK->click();
    });
    QString dest = r.home.file("dest");
    EXPECT_EQ(arkovo.ExtractFiles({"*"}, 0, true, true, dest), 2);
    EXPECT_EQ(std::pair(r.handedOver, errors), std::pair(0, 0));
    ASSERT_EQ(r.ui.messageTexts().size(), 1);
    EXPECT_TRUE(r.ui.messageTexts()[0].contains("extracting")) << r.ui.messageTexts()[0].toStdString();
    EXPECT_FALSE(QFile::exists(r.archive()));
    r.add.cmdOK->click();  // once the work is done the step runs
    EXPECT_EQ(std::pair(r.handedOver, QFile::exists(r.archive())), std::pair(1, true));
}
