// Vexaro: packs the chosen files into a zip archive and sends it. Starts in the archive window,
// whose load step opens the file selection window. Started on one ".uzp" file (a double click
// on it), it opens the encryption window on that file instead and ends when it is closed.
#include <QApplication>

#include "app/command_line.h"
#include "app/frmAdd.h"
#include "app/program.h"
#include "archive/frmArchive.h"
#include "core/memory_reuse.h"
#include "core/program_folder.h"
#include "ui/qt_ui.h"

int main(int argc, char** argv) {
    vx::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexaro"));
    QApplication::setQuitOnLastWindowClosed(false);
    vx::setProgramFolder(vx::findProgramFolder());  // once, for the whole run
    vx::QtUi ui;
    vx::Program program(ui, vx::systemClock());
    if (const auto file = vx::restoreFileArgument(QApplication::arguments())) {
        QApplication::setQuitOnLastWindowClosed(true);
        program.OpenForRestore(*file);
        return QApplication::exec();
    }
    vx::frmArchive& start = program.archiveWindow();
    const QString commandLine = vx::commandLineText(QApplication::arguments());
    start.setLoadStep([&] { program.Startup(commandLine); });
    start.Form_Load();
    start.show();
    // The user's work starts in the file selection window: keep it in front.
    program.addWindow().raise();
    program.addWindow().activateWindow();
    return QApplication::exec();
}
