// Delete dialog: selected rows, a typed pattern, and the whole archive file.
#include "archive/frmDelete.h"

#include <QLineEdit>
#include <QRadioButton>

#include "archive/files_group.h"
#include "archive_window_fixture.h"

using namespace vx;

TEST(frmDelete, RemovesTheSelectedOrMatchingEntriesOrTheArchiveFile) {
    enum { Selected, Typed, Entire };
    const QStringList all = {"a.txt", "c.bin", "sub/b.txt"};
    const struct { int pick; QStringList selected; Answer answer; bool gone; QStringList left; }
    cases[] = {
        {Selected, {"a.txt", "c.bin"}, Answer::Ok, false, {"sub/b.txt"}},
        {Selected, {}, Answer::Ok, false, all},  // nothing selected: nothing goes
        {Typed, {"c.bin"}, Answer::Ok, false, {"c.bin"}},  // the pattern *.txt
        {Entire, {}, Answer::No, false, all},
        {Entire, {}, Answer::Yes, false, {}},
        {Entire, {}, Answer::Yes, true, {}},  // the file had gone already: no error
    };
    for (const auto& c : cases) {
        test::ArchiveWindow w;
        const QString path = w.sampleZip();
        w.open(path);
        w.select(c.selected);
        if (c.gone) QFile::remove(path);
        if (c.pick == Entire) w.ui.answerMessage(c.answer);
        w.ui.onModal([&](QWidget& d) {
            auto& del = static_cast<frmDelete&>(d);
            FilesGroup& f = *del.fraFiles;
            EXPECT_TRUE(f.optSelected->isChecked());
            QList<QRadioButton*>{f.optSelected, f.optFiles, f.optAll}[c.pick]->setChecked(true);
            f.txtFiles->setText("*.txt");
            del.cmdDelete_Click();
            EXPECT_FALSE(del.isVisible());
        });
        w.win.mnuDelete->trigger();
        EXPECT_EQ(test::zipNames(path), c.left);
        EXPECT_EQ(w.column(kColName).size(), c.left.size());  // the list followed
        EXPECT_EQ(w.arkovo.ArchiveName(), c.answer == Answer::Yes ? "" : path);
        if (c.pick != Entire) continue;
        EXPECT_EQ(w.ui.messageTexts(), QStringList{"Are you sure you wish to delete " + path});
        EXPECT_EQ(w.ui.messages()[0].title, "Delete Archive");
    }
}
