// Properties dialog for the current row, reached through the popup menu.
#include "archive/frmProperties.h"

#include <QLabel>
#include <QPushButton>

#include "archive_window_fixture.h"

using namespace vx;
using test::ArchiveWindow;

TEST(frmProperties, ShowsTheCurrentRowsEntry) {
    ArchiveWindow w;
    w.open(w.sampleZip());
    w.win.lvwArchive_ColumnClick(kColSize);  // rows no longer in archive order: the tag counts
    w.win.lvwArchive->setCurrentItem(w.row("b.txt"));
    QStringList labels;
    w.ui.onModal([&](QWidget& d) {
        auto& p = static_cast<frmProperties&>(d);
        labels = {p.windowTitle(),         p.lblFilename->text(), p.lblSize->text(),
                  p.lblCompressed->text(), p.lblCompRatio->text(), p.lblFilePath->text(),
                  p.lblHexCRC->text(),     p.lblDate->text()};
        p.cmdoK->click();
        EXPECT_FALSE(p.isVisible());
    });
    w.win.mnuPopupProperties->trigger();
    ASSERT_EQ(labels.size(), 8);
    EXPECT_EQ(labels.mid(0, 4), QStringList({"File Properties", "b.txt", "1", "1"}));
    EXPECT_EQ(labels[4], "0%");
    EXPECT_TRUE(labels[5].startsWith("sub"));
    EXPECT_EQ(labels[6], "71BEEFF9");  // CRC-32 of "b"
    EXPECT_EQ(labels[7], w.column(kColDateTime)[w.column(kColName).indexOf("b.txt")]);
}
