// Extract dialog: which entries, where to, and the three options.
#include "archive/frmExtract.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "archive/files_group.h"
#include "archive_window_fixture.h"

using namespace vx;

TEST(frmExtract, ExtractsTheChosenEntriesWithTheChosenOptions) {
    // The a.txt beside the archive says "old" and is a day newer (age 1) or older (age -1) than
    // the entry, which says "new". A file kept in place is reported.
    // clang-format off
    const struct { int pick; bool folders, overwrite, skipOlder; int age; QStringList files; char a;
                   int reports; } cases[] = {
        {0, false, false, false, 1, {"a.txt"}, 'o', 1}, {0, false, true, false, 1, {"a.txt"}, 'n', 0},
        {0, false, true, true, 1, {"a.txt"}, 'o', 1}, {0, false, true, true, -1, {"a.txt"}, 'n', 0},
        {1, true, true, false, 1, {"a.txt", "c.bin", "sub/b.txt"}, 'n', 0},
        {1, false, true, false, 1, {"a.txt", "b.txt", "c.bin"}, 'n', 0},
        {2, false, true, false, 1, {"a.txt", "c.bin"}, 'o', 0},  // the pattern *.bin
    };
    // clang-format on
    for (const auto& c : cases) {
        test::ArchiveWindow w;
        const QString path = test::zipOf(w.home.path(), "x.zip",
                                         {{"a.txt", "new"}, {"sub/b.txt", "b"}, {"c.bin", "c"}});
        QFile old(w.home.write("a.txt", "old"));
        ASSERT_TRUE(old.open(QIODevice::ReadWrite) &&
                    old.setFileTime(QDateTime::currentDateTime().addDays(c.age),
                                    QFileDevice::FileModificationTime));
        old.close();
        int reports = 0;
        QObject::connect(&w.arkovo, &Arkovo::EntryReport, [&] { ++reports; });
        w.open(path);
        w.select({"a.txt"});
        w.ui.onModal([&](QWidget& d) {
            auto& x = static_cast<frmExtract&>(d);
            FilesGroup& f = *x.fraFiles;
            EXPECT_EQ(x.txtExtractTo->text(), w.home.path());  // starts beside the archive
            QList<QRadioButton*>{f.optSelected, f.optAll, f.optFiles}[c.pick]->setChecked(true);
            f.txtFiles->setText("*.bin");
            x.chkFolders->setChecked(c.folders);
            x.chkOverwrite->setChecked(c.overwrite);
            x.chkSkipOlder->setChecked(c.skipOlder);
            x.cmdExtract_Click();
            EXPECT_FALSE(x.isVisible());
        });
        w.win.mnuExtract->trigger();
        QStringList found;
        for (const char* f : {"a.txt", "b.txt", "c.bin", "sub/b.txt"})
            if (QFile::exists(w.home.file(f))) found << f;
        EXPECT_EQ(found, c.files);
        QFile a(w.home.file("a.txt"));
        EXPECT_TRUE(a.open(QIODevice::ReadOnly) && a.peek(1) == QByteArray(1, c.a));
        EXPECT_EQ(reports, c.reports);
    }
}

TEST(frmExtract, AMissingFolderIsNamedAndTheDialogStaysOpen) {
    test::ArchiveWindow w;
    w.open(w.sampleZip());
    const QString nowhere = w.home.file("nowhere");
    w.ui.onModal([&](QWidget& d) {
        auto& x = static_cast<frmExtract&>(d);
        EXPECT_TRUE(x.fraFiles->optAll->isChecked());  // nothing selected
        x.txtExtractTo->setText(nowhere);
        x.cmdShowPath_Click();
        x.cmdExtract_Click();
        EXPECT_TRUE(x.isVisible());
    });
    w.win.mnuPopupExtract->trigger();
    ASSERT_EQ(w.ui.messageTexts(),
              QStringList({"Could not find folder " + nowhere, nowhere + " does not exist!"}));
    EXPECT_EQ(w.ui.messages()[0].title, "Quorbit Arkovo");
    EXPECT_EQ(w.ui.messages()[1].title, "Extract folder does not exist");
    EXPECT_FALSE(QFile::exists(w.home.file("a.txt")));
}
