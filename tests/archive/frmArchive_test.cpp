// Archive window on real archives, driven through its menus and handlers.
#include "archive/frmArchive.h"

#include <sys/stat.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "archive/frmDelete.h"
#include "archive/frmExtract.h"
#include "archive/frmProgress.h"
#include "archive/frmProperties.h"
#include "archive_window_fixture.h"

using namespace vx;
using test::ArchiveWindow;

TEST(frmArchive, OpeningListsTheEntriesAndPropertiesShowTheCurrentRowAfterASort) {
    ArchiveWindow w;
    EXPECT_EQ(w.win.windowTitle(), "ZIP Compression Application");
    w.open(w.sampleZip());
    EXPECT_EQ(w.win.windowTitle(), "Quorbit Arkovo - " + w.home.file("sample.zip"));
    EXPECT_EQ(w.column(kColName), QStringList({"a.txt", "b.txt", "c.bin"}));
    EXPECT_EQ(w.column(kColSize), QStringList({"1,234", "1", "3,000"}));
    EXPECT_EQ(w.column(kColPath).mid(0, 2), QStringList({"", "sub"}));
    EXPECT_EQ(w.win.lblFiles->text(), "3 file(s), " + w.arkovo.FormatSize(1234 + 1 + 3000));
    w.select({"a.txt"});
    w.win.lvwArchive_ColumnClick(kColSize);
    EXPECT_EQ(w.column(kColName), QStringList({"b.txt", "a.txt", "c.bin"}));  // "1" < "1,234"
    EXPECT_EQ(w.column(kColName, true), QStringList({"a.txt"}));  // the selection moved with it
    w.win.lvwArchive->setCurrentIndex(w.row("sub/b.txt"));
    QStringList labels;
    w.ui.onModal([&](QWidget& d) {
        auto& p = static_cast<frmProperties&>(d);
        labels = {p.lblFilename->text(),  p.lblSize->text(),   p.lblCompressed->text(),
                  p.lblCompRatio->text(), p.lblHexCRC->text(), p.lblFilePath->text()};
        p.cmdoK->click();
    });
    w.win.mnuPopupProperties->trigger();
    EXPECT_EQ(labels, QStringList({"b.txt", "1", "1", "0%", "71BEEFF9", "sub"}));
}

TEST(frmArchive, OpeningAMissingNameAsksBeforeCreatingIt) {
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        ArchiveWindow w;
        w.ui.answerMessage(answer);
        w.open(w.home.file("new.zip"));
        ASSERT_EQ(w.ui.messageTexts(), QStringList{"Do you wish to create new.zip?"});
        EXPECT_EQ(w.ui.messages()[0].title, "Create Archive");
        EXPECT_EQ(w.ui.messages()[0].icon, Icon::Question);
        const bool yes = answer == Answer::Yes;
        EXPECT_EQ(w.arkovo.ArchiveName(), yes ? w.home.file("new.zip") : "");
        EXPECT_EQ(w.win.lblFiles->text(), yes ? "0 file(s), " + w.arkovo.FormatSize(0) : "");
    }
}

TEST(frmArchive, RightClickSelectsTheRowUnderThePointerThenPopupActsOnTheSelection) {
    // clang-format off
    const struct { QStringList before; const char* clicked; QStringList after; } cases[] = {
        {{"a.txt", "sub/b.txt"}, "c.bin", {"c.bin"}},
        {{"a.txt", "c.bin"}, "c.bin", {"a.txt", "c.bin"}}};
    // clang-format on
    for (const auto& c : cases) {
        ArchiveWindow w;
        w.open(w.sampleZip());
        w.win.show();
        w.select(c.before);
        // The rule acts on the release; a press would let the list select by itself first.
        const QPoint at = w.win.lvwArchive->visualRect(w.row(c.clicked)).center();
        QTest::mouseRelease(w.win.lvwArchive->viewport(), Qt::RightButton, {}, at);
        EXPECT_EQ(w.column(kColName, true), c.after);
        EXPECT_TRUE(w.win.mnuPopup->isVisible());
        w.win.mnuPopupInvert->trigger();
        EXPECT_EQ(w.column(kColName, true).size(), 3 - c.after.size());
        w.win.mnuPopupSelectAll->trigger();
        EXPECT_EQ(w.column(kColName, true).size(), 3);
    }
}

TEST(frmArchive, ViewOpensTheSelectedEntriesFromAPrivateFolderWithProgressMeanwhile) {
    ArchiveWindow w;
    w.open(w.sampleZip());
    w.win.mnuView->trigger();  // no current row: nothing happens
    w.select({"a.txt", "c.bin"});
    w.win.lvwArchive->selectionModel()->setCurrentIndex(w.row("c.bin"),
                                                       QItemSelectionModel::NoUpdate);
    QStringList texts;
    QObject::connect(&w.arkovo, &Arkovo::ExtractProgress, &w.win, [&] {
        ASSERT_TRUE(w.win.progressWindow() && w.win.progressWindow()->isVisible());
        texts << w.win.progressWindow()->lblWorking->text();
    });
    const int yields = w.ui.yields();
    w.win.mnuPopupView->trigger();
    const QString folder = QFileInfo(w.ui.opened().value(0)).absolutePath();
    EXPECT_EQ(w.ui.opened(), QStringList({folder + "/a.txt", folder + "/c.bin"}));
    EXPECT_EQ(QFileInfo(folder).absolutePath(), QDir(QDir::tempPath()).absolutePath());
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);  // private to this user
    EXPECT_TRUE(texts.contains("Extracting c.bin...")) << texts.join('|').toStdString();
    EXPECT_GT(w.ui.yields(), yields);  // the windows repaint during the work
    EXPECT_EQ(w.win.progressWindow(), nullptr);
}

TEST(frmArchive, SelectedRowsActOnExactlyTheirOwnEntries) {
    // Names that read as patterns, and two entries sharing one file name. Extract overwrites a
    // file of the user's beside the archive.
    const test::Files files = {
        {"*", "star"}, {"x?.txt", "xq"}, {"xy.txt", "xy"}, {"a.txt", "top"}, {"sub/a.txt", "deep"}};
    enum Action { Delete, Extract, View };
    for (const Action action : {Delete, Extract, View}) {
        for (const auto& [stored, data] : files) {
            SCOPED_TRACE(stored.toStdString());
            ArchiveWindow w;
            test::writeFiles(w.home.file("src"), files);
            const QString zip = w.home.file("t.zip");
            w.arkovo.setArchiveName(zip);
            bool no = false;
            w.arkovo.AddFiles({w.home.file("src/*.*")}, 1, no, false, no, 6);
            ASSERT_EQ(test::zipNames(zip).size(), 5);
            const QString out = w.home.file("out");
            test::writeFiles(out, {{"a.txt", "mine"}});
            ASSERT_TRUE(w.row(stored).isValid());
            w.select({stored});
            w.win.lvwArchive->selectionModel()->setCurrentIndex(w.row(stored),
                                                               QItemSelectionModel::NoUpdate);
            QStringList left = test::zipNames(zip);
            const QString leaf = Arkovo::GetFileName(stored);
            if (action == View) {
                w.win.mnuView->trigger();
                ASSERT_EQ(w.ui.opened().size(), 1);
                EXPECT_EQ(test::readFile(w.ui.opened()[0]), data);
                continue;
            }
            w.ui.onModal([&](QWidget& d) {
                if (action == Delete) return static_cast<frmDelete&>(d).cmdDelete_Click();
                auto& x = static_cast<frmExtract&>(d);
                x.txtExtractTo->setText(out);
                x.chkOverwrite->setChecked(true);
                x.cmdExtract_Click();
            });
            (action == Delete ? w.win.mnuDelete : w.win.mnuExtract)->trigger();
            if (action == Delete) {
                left.removeOne(stored);
                EXPECT_EQ(test::zipNames(zip), left);
                continue;
            }
            // The user's own a.txt is replaced only by an entry named a.txt.
            EXPECT_TRUE(QDir(out).entryList(QDir::Files).contains(leaf));
            EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), leaf == "a.txt" ? 1 : 2);
            EXPECT_EQ(test::readFile(out + "/" + leaf), data);
            EXPECT_EQ(test::readFile(out + "/a.txt"), leaf == "a.txt" ? data : "mine");
        }
    }
}
