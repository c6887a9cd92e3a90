// Archive window on real archives, driven through its menus and handlers.
#include "archive/frmArchive.h"

#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

#include "archive/frmProgress.h"
#include "archive_window_fixture.h"

using namespace vx;
using test::ArchiveWindow;

TEST(frmArchive, OpeningAnArchiveListsOneTaggedRowPerEntryWithTitleAndStatus) {
    ArchiveWindow w;
    EXPECT_EQ(w.win.windowTitle(), "ZIP Compression Application");
    const QString path = w.sampleZip();
    w.open(path);
    EXPECT_EQ(w.ui.shown().at(0).text, "Quorbit Arkovo");  // the open dialog's title and filter
    EXPECT_EQ(w.ui.shown().at(0).title, "Zip Files|*.zip");
    EXPECT_EQ(w.win.windowTitle(), "Quorbit Arkovo - " + path);
    EXPECT_EQ(w.column(kColName), QStringList({"a.txt", "b.txt", "c.bin"}));
    EXPECT_EQ(w.column(kColSize), QStringList({"1,234", "1", "3,000"}));
    EXPECT_EQ(w.column(kColPath)[0], "");
    EXPECT_TRUE(w.column(kColPath)[1].startsWith("sub"));
    EXPECT_FALSE(w.column(kColDateTime)[0].isEmpty());
    EXPECT_TRUE(w.column(kColRatio)[0].endsWith("%"));
    for (int i = 0; i < 3; ++i) {
        const QTreeWidgetItem& r = *w.win.lvwArchive->topLevelItem(i);
        EXPECT_EQ(Arkovo::GetFileName(w.arkovo.GetEntry(rowTag(r)).FileName), r.text(0));
    }
    EXPECT_EQ(w.win.lblFiles->text(), "3 file(s), " + w.arkovo.FormatSize(1234 + 1 + 3000));
}

TEST(frmArchive, OpeningAMissingNameAsksBeforeCreatingIt) {
    const struct { const char* chosen; Answer answer; bool asked, selected; } cases[] = {
        {"new.zip", Answer::No, true, false},
        {"new.zip", Answer::Yes, true, true},
        {"", Answer::Yes, false, false},  // the dialog was cancelled
    };
    for (const auto& c : cases) {
        ArchiveWindow w;
        const QString path = *c.chosen ? w.home.file(c.chosen) : QString();
        if (c.asked) w.ui.answerMessage(c.answer);
        w.open(path);
        ASSERT_EQ(w.ui.messages().size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(w.ui.messages()[0].text, "Do you wish to create new.zip?");
            EXPECT_EQ(w.ui.messages()[0].title, "Create Archive");
            EXPECT_EQ(w.ui.messages()[0].icon, Icon::Question);
        }
        EXPECT_EQ(w.arkovo.ArchiveName(), c.selected ? path : QString());
        EXPECT_EQ(w.win.lvwArchive->topLevelItemCount(), 0);
        EXPECT_EQ(w.win.lblFiles->text(), c.selected ? "0 file(s), " + w.arkovo.FormatSize(0) : "");
    }
}

TEST(frmArchive, HeaderClickSortsAscendingAsText) {
    ArchiveWindow w;
    w.open(test::zipOf(w.home.path(), "s.zip",
                 {{"b.txt", QByteArray(617, 'x')}, {"C.txt", QByteArray(1234, 'y')},
                  {"a.txt", QByteArray(90, 'z')}}));
    w.win.lvwArchive_ColumnClick(kColName);
    EXPECT_EQ(w.column(kColName), QStringList({"a.txt", "b.txt", "C.txt"}));
    w.win.lvwArchive_ColumnClick(kColSize);  // as text: "1,234" before "617" before "90"
    EXPECT_EQ(w.column(kColSize), QStringList({"1,234", "617", "90"}));
    w.win.lvwArchive_ColumnClick(kColSize);  // a second click sorts ascending again
    EXPECT_EQ(w.column(kColName), QStringList({"C.txt", "b.txt", "a.txt"}));
}

TEST(frmArchive, RightClickSelectsTheRowUnderThePointerUnlessItIsSelected) {
    const struct { QStringList before; const char* clicked; QStringList after; } cases[] = {
        {{"a.txt", "b.txt", "c.bin"}, "d.txt", {"d.txt"}},
        {{"a.txt", "b.txt"}, "b.txt", {"a.txt", "b.txt"}},
        {{}, "c.bin", {"c.bin"}},
    };
    for (const auto& c : cases) {
        ArchiveWindow w;
        w.open(test::zipOf(w.home.path(), "r.zip",
                     {{"a.txt", "1"}, {"b.txt", "2"}, {"c.bin", "3"}, {"d.txt", "4"}}));
        w.win.resize(700, 400);
        w.win.show();
        w.select(c.before);
        const QPoint at = w.win.lvwArchive->visualItemRect(w.row(c.clicked)).center();
        QTest::mouseClick(w.win.lvwArchive->viewport(), Qt::RightButton, {}, at);
        EXPECT_EQ(w.selectedNames(), c.after) << c.clicked;
        EXPECT_TRUE(w.win.mnuPopup->isVisible());
        w.win.mnuPopup->hide();

        w.win.lvwArchive_MouseUp(Qt::RightButton, QPoint(5, 390));  // below the last row
        EXPECT_EQ(w.selectedNames(), c.after);
        EXPECT_FALSE(w.win.mnuPopup->isVisible());
    }
}

TEST(frmArchive, SelectAllAndInvertSelection) {
    ArchiveWindow w;
    w.open(w.sampleZip());
    w.select({"b.txt"});
    w.win.mnuInvert->trigger();
    EXPECT_EQ(w.selectedNames(), QStringList({"a.txt", "c.bin"}));
    w.win.mnuPopupInvert->trigger();
    EXPECT_EQ(w.selectedNames(), QStringList({"b.txt"}));
    w.win.mnuPopupSelectAll->trigger();
    EXPECT_EQ(w.selectedNames().size(), 3);
    w.win.mnuSelectAll->trigger();
    w.win.mnuInvert_Click();
    EXPECT_TRUE(w.selectedNames().isEmpty());
}

TEST(frmArchive, ViewOpensTheSelectedEntriesFromAPrivateFolder) {
    ArchiveWindow w;
    w.open(w.sampleZip());
    w.win.mnuView_Click();  // no current row: nothing happens
    EXPECT_TRUE(w.ui.opened().isEmpty());
    w.select({"a.txt", "b.txt"});
    w.win.lvwArchive->setCurrentItem(w.row("b.txt"), 0, QItemSelectionModel::NoUpdate);
    w.win.mnuView_Click();
    const QStringList opened = w.ui.opened();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened[0].endsWith("/a.txt"));
    EXPECT_TRUE(opened[1].endsWith("/b.txt"));
    const QString folder = QFileInfo(opened[1]).absolutePath();
    EXPECT_NE(QDir(folder), QDir(QDir::tempPath()));
    EXPECT_EQ(QFileInfo(folder).absolutePath(), QDir(QDir::tempPath()).absolutePath());
    QFile b(opened[1]);
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), "b");
}

TEST(frmArchive, ProgressWindowFollowsTheComponentAndClosesWhenItIsDone) {
    ArchiveWindow w;
    w.open(w.sampleZip());
    QStringList texts;
    QObject::connect(&w.arkovo, &Arkovo::ExtractProgress, &w.win, [&] {
        ASSERT_NE(w.win.progressWindow(), nullptr);
        EXPECT_TRUE(w.win.progressWindow()->isVisible());
        EXPECT_EQ(w.win.progressWindow()->windowTitle(), "Working...");
        texts << w.win.progressWindow()->lblWorking->text();
    });
    const int yieldsBefore = w.ui.yields();
    QString to = w.home.path();
    w.arkovo.ExtractFiles({"c.bin"}, 0, false, true, to);
    EXPECT_TRUE(texts.contains("Extracting c.bin...")) << texts.join('|').toStdString();
    EXPECT_GT(w.ui.yields(), yieldsBefore);  // the windows repaint during the work
    EXPECT_EQ(w.win.progressWindow(), nullptr);
}

TEST(frmArchive, ADamagedArchiveGivesAMessageNamingItAndTheWindowKeepsWorking) {
    ArchiveWindow w;
    const QString good = w.sampleZip();
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QString cut = w.home.write("cut.zip", in.read(in.size() / 2));
    const QString text = w.home.write("notes.zip", "just some text, not an archive\n");
    for (const QString& bad : {cut, text}) {
        w.open(bad);
        ASSERT_FALSE(w.ui.messages().empty());
        EXPECT_TRUE(w.ui.messages().back().text.contains(QFileInfo(bad).fileName()))
            << w.ui.messages().back().text.toStdString();
        EXPECT_EQ(w.ui.messages().back().icon, Icon::Critical);
        EXPECT_EQ(w.win.progressWindow(), nullptr);
    }
    w.open(good);
    EXPECT_EQ(w.win.lvwArchive->topLevelItemCount(), 3);
}

TEST(frmArchive, CommandsThatNeedAnArchiveDoNothingWithoutOne) {
    ArchiveWindow w;
    int adds = 0;
    w.win.setShowAdd([&] { ++adds; });
    for (QAction* a : {w.win.mnuAdd, w.win.mnuDelete, w.win.mnuExtract, w.win.mnuView,
                       w.win.mnuPopupProperties})
        a->trigger();
    EXPECT_TRUE(w.ui.shown().empty());
    EXPECT_EQ(adds, 0);
    w.open(w.sampleZip());
    w.win.mnuAdd->trigger();
    EXPECT_EQ(adds, 1);
}

TEST(frmArchive, LinkLabelsOpenTheirPlaceholderAddresses) {
    ArchiveWindow w;
    w.win.lblWeb_Click();
    w.win.lblEmail_Click();
    EXPECT_EQ(w.ui.opened(), QStringList({"https://www.example.invalid/arkovo/",
                                          "mailto:arkovo@example.invalid"}));
}

TEST(frmArchive, UnsafeEntriesAreReportedAndNothingLandsOutsideTheFolder) {
    ArchiveWindow w;
    const QString hostile = w.home.file("hostile.zip"), absolute = w.home.file("abs.txt");
    const QString script = QStringLiteral(
        "import zipfile,sys\n"
        "z=zipfile.ZipFile(sys.argv[1],'w')\n"
        "z.writestr('../escaped.txt','x')\n"
        "z.writestr(sys.argv[2],'x')\n"
        "z.writestr('fine.txt','ok')\n"
        "z.close()\n");
    ASSERT_EQ(test::runTool("python3", {"-c", script, hostile, absolute}, w.home.path()), "");
    QStringList reports;
    w.win.setReport([&](const QString& m) { reports << m; });
    w.open(hostile);
    QString into = w.home.file("into");
    QDir().mkpath(into);
    w.arkovo.ExtractFiles({"*"}, 0, true, true, into);
    EXPECT_FALSE(QFileInfo::exists(w.home.file("escaped.txt")));
    EXPECT_FALSE(QFileInfo::exists(absolute));
    EXPECT_EQ(w.extracted("into/fine.txt"), "ok");
    EXPECT_EQ(reports.size(), 2) << reports.join('|').toStdString();
}

TEST(frmArchive, ExitLetsGoOfTheArchiveAndPutsTheWindowAway) {
    ArchiveWindow w;
    w.win.show();
    w.open(w.sampleZip());
    w.win.mnuExit->trigger();
    EXPECT_EQ(w.arkovo.ArchiveName(), "");
    EXPECT_FALSE(w.win.isVisible());
}
