// Extract dialog: which entries, where to, and the three options.
#include "archive/frmExtract.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "archive_window_fixture.h"
#include "ui/drive_list.h"
#include "ui/folder_list.h"

using namespace vx;
using test::ArchiveWindow;

namespace {

void extractWith(ArchiveWindow& w, const std::function<void(frmExtract&)>& act) {
    w.ui.onModal([act](QWidget& d) { act(static_cast<frmExtract&>(d)); });
    w.win.mnuExtract->trigger();
}

}  // namespace

TEST(frmExtract, ExtractsTheChosenEntriesWithTheChosenOptions) {
    enum Pick { Selected, All, Typed };
    const struct { Pick pick; bool folders, overwrite, skipOlder; QStringList files; const char* a; }
    cases[] = {
        {Selected, false, false, false, {"a.txt"}, "old"},  // kept: no overwrite
        {Selected, false, true, false, {"a.txt"}, "new"},
        {Selected, false, true, true, {"a.txt"}, "old"},    // the file on disk is newer
        {All, true, true, false, {"a.txt", "sub/b.txt", "c.bin"}, "new"},
        {All, false, true, false, {"a.txt", "b.txt", "c.bin"}, "new"},
        {Typed, false, true, false, {"c.bin"}, "old"},
    };
    for (const auto& c : cases) {
        ArchiveWindow w;
        const QString path =
            test::zipOf(w.home.path(), "x.zip", {{"a.txt", "new"}, {"sub/b.txt", "b"},
                                                 {"c.bin", "c"}});
        w.home.write("a.txt", "old");  // beside the archive, newer than the entry
        QFile(w.home.file("a.txt"))
            .setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime);
        w.open(path);
        w.select({"a.txt"});
        extractWith(w, [&](frmExtract& d) {
            EXPECT_EQ(d.txtExtractTo->text(), w.home.path());  // starts beside the archive
            EXPECT_TRUE(d.optSelected->isChecked());
            (c.pick == All ? d.optAllFiles : c.pick == Typed ? d.optFiles : d.optSelected)
                ->setChecked(true);
            d.txtFiles->setText("*.bin");
            d.chkFolders->setChecked(c.folders);
            d.chkOverwrite->setChecked(c.overwrite);
            d.chkSkipOlder->setChecked(c.skipOlder);
            d.cmdExtract_Click();
            EXPECT_FALSE(d.isVisible());
        });
        for (const QString& f : c.files) EXPECT_TRUE(QFile::exists(w.home.file(f))) << f.toStdString();
        EXPECT_EQ(QFile::exists(w.home.file("c.bin")), c.files.contains("c.bin"));
        EXPECT_EQ(w.extracted("a.txt"), c.a);
    }
}

TEST(frmExtract, AMissingFolderIsNamedAndTheDialogStaysOpen) {
    ArchiveWindow w;
    w.open(w.sampleZip());
    extractWith(w, [&](frmExtract& d) {
        EXPECT_TRUE(d.optAllFiles->isChecked());  // nothing selected
        d.txtExtractTo->setText(w.home.file("nowhere"));
        d.cmdExtract_Click();
        EXPECT_TRUE(d.isVisible());
    });
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.messages()[0].text, w.home.file("nowhere") + " does not exist!");
    EXPECT_EQ(w.ui.messages()[0].title, "Extract folder does not exist");
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Critical);
    EXPECT_FALSE(QFile::exists(w.home.file("a.txt")));
}

TEST(frmExtract, FolderAndDriveListsFollowTheTypedFolder) {
    ArchiveWindow w;
    w.open(w.sampleZip());
    const QString sub = w.home.file("src/sub");
    extractWith(w, [&](frmExtract& d) {
        d.txtExtractTo->setText(w.home.file("missing"));
        d.cmdShowPath_Click();
        EXPECT_EQ(d.dirListing->path(), w.home.path());
        d.txtExtractTo->setText(sub);
        d.cmdShowPath_Click();
        EXPECT_EQ(d.dirListing->path(), sub);
        d.dirListing->setPath(w.home.path());  // picking a folder in the list fills the text
        EXPECT_EQ(d.txtExtractTo->text(), w.home.path());
        const QString drive = d.drvListing->drive();
        d.drvListing->addItem("/no/such/volume");
        d.drvListing->setCurrentIndex(d.drvListing->count() - 1);
        EXPECT_EQ(d.drvListing->drive(), drive);
        EXPECT_EQ(d.dirListing->path(), w.home.path());
    });
    ASSERT_EQ(w.ui.messages().size(), 2u);
    EXPECT_EQ(w.ui.messages()[0].text, "Could not find folder " + w.home.file("missing"));
    EXPECT_EQ(w.ui.messages()[0].title, "Quorbit Arkovo");
    EXPECT_EQ(w.ui.messages()[1].text, "The drive selected cannot be accessed");
}
