// vexaro-shots ARCHIVE FOLDER: the screenshots in docs/. Opens ARCHIVE in the real archive window,
// selects its first two rows, and saves the window and its extract dialog as frmArchive.png and
// frmExtract.png in FOLDER. Run it under a display (scripts/screenshots.sh uses xvfb-run).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTreeWidget>
#include <cstdio>

#include "app/program.h"
#include "archive/arkovo.h"
#include "archive/frmArchive.h"
#include "archive/frmExtract.h"
#include "ui/qt_ui.h"

namespace {

bool save(QWidget& window, const QString& path) {
    window.show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    return window.grab().save(path);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vexaro-shots ARCHIVE FOLDER\n");
        return 2;
    }
    const QString archive = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QDir out(QString::fromLocal8Bit(argv[2]));
    vx::QtUi ui;
    vx::Program program(ui, vx::systemClock());
    vx::frmArchive& window = program.archiveWindow();
    program.arkovo().setArchiveName(archive);
    window.resize(860, 420);
    for (int i = 0; i < 2 && i < window.lvwArchive->topLevelItemCount(); ++i)
        window.lvwArchive->topLevelItem(i)->setSelected(true);
    bool ok = save(window, out.filePath("frmArchive.png"));
    vx::frmExtract extract(ui, program.arkovo(), *window.lvwArchive,
                           QFileInfo(archive).absolutePath(), &window);
    ok = save(extract, out.filePath("frmExtract.png")) && ok;
    return ok ? 0 : 1;
}
