// Delete dialog: selected rows, a typed pattern, and the whole archive file.
#include "archive/frmDelete.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "archive_window_fixture.h"

using namespace vx;
using test::ArchiveWindow;

namespace {

// Opens the dialog from the menu and acts on it as the script says.
void deleteWith(ArchiveWindow& w, const std::function<void(frmDelete&)>& act) {
    w.ui.onModal([act](QWidget& d) { act(static_cast<frmDelete&>(d)); });
    w.win.mnuDelete->trigger();
}

}  // namespace

TEST(frmDelete, RemovesTheSelectedOrMatchingEntriesWithoutAsking) {
    const struct { QStringList selected; const char* typed; QStringList left; } cases[] = {
        {{"a.txt", "c.bin"}, nullptr, {"sub/b.txt"}},
        {{}, nullptr, {"a.txt", "sub/b.txt", "c.bin"}},  // nothing selected: nothing goes
        {{"c.bin"}, "*.txt", {"c.bin"}},                 // the pattern wins over the selection
    };
    for (const auto& c : cases) {
        ArchiveWindow w;
        const QString path = w.sampleZip();
        w.open(path);
        w.select(c.selected);
        deleteWith(w, [&](frmDelete& d) {
            EXPECT_EQ(d.windowTitle(), "Delete");
            EXPECT_TRUE(d.optSelected->isChecked());
            if (c.typed) {
                d.optFiles->setChecked(true);
                d.txtFiles->setText(c.typed);
            }
            d.cmdDelete_Click();
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_EQ(test::zipNames(path), c.left);
        EXPECT_EQ(w.win.lvwArchive->topLevelItemCount(), c.left.size());  // the list followed
        EXPECT_TRUE(w.ui.messages().empty());
    }
}

TEST(frmDelete, EntireArchiveAsksAndDeletesTheFileOnlyOnYes) {
    const struct { Answer answer; bool goneBefore, fileLeft; } cases[] = {
        {Answer::No, false, true}, {Answer::Yes, false, false}, {Answer::Yes, true, false}};
    for (const auto& c : cases) {
        ArchiveWindow w;
        const QString path = w.sampleZip();
        w.open(path);
        if (c.goneBefore) QFile::remove(path);
        w.ui.answerMessage(c.answer);
        deleteWith(w, [](frmDelete& d) {
            d.optEntire->setChecked(true);
            d.cmdDelete_Click();
            EXPECT_FALSE(d.isVisible());
        });
        ASSERT_EQ(w.ui.messages().size(), 1u);
        EXPECT_EQ(w.ui.messages()[0].text, "Are you sure you wish to delete " + path);
        EXPECT_EQ(w.ui.messages()[0].title, "Delete Archive");
        EXPECT_EQ(w.ui.messages()[0].buttons, Buttons::YesNo);
        EXPECT_EQ(QFile::exists(path), c.fileLeft);
        EXPECT_EQ(w.arkovo.ArchiveName(), c.fileLeft ? path : QString());
    }
}

TEST(frmDelete, CancelChangesNothing) {
    ArchiveWindow w;
    const QString path = w.sampleZip();
    w.open(path);
    w.select({"a.txt"});
    deleteWith(w, [](frmDelete& d) { d.cmdCancel->click(); });
    EXPECT_EQ(test::zipNames(path).size(), 3);
}
