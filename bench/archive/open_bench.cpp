// Opens one archive in the archive window, off screen, as File > Open would, and prints the
// seconds until the list is filled, the longest time the event loop went without a turn
// meanwhile (how long the window was frozen), and the rows listed:
//   archive_open_bench ARCHIVE
// The peak memory is measured around it by the script (big_archive_bench.sh).
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QTreeView>
#include <cstdio>

#include "archive/arkovo.h"
#include "archive/frmArchive.h"
#include "ui/unattended_ui.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: archive_open_bench ARCHIVE\n");
        return 2;
    }
    vx::UnattendedUi ui(true);
    vx::Arkovo arkovo;
    vx::frmArchive window(ui, arkovo);
    window.show();  // a shown list lays out and paints its rows as they come
    QElapsedTimer clock, sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    clock.start();
    sinceTick.start();
    ticker.start(5);
    QTimer::singleShot(0, [&] { arkovo.setArchiveName(QString::fromLocal8Bit(argv[1])); });
    // The status line tells the row count once the list is full.
    while (!window.lblFiles->text().contains(QLatin1String("file(s)")))
        app.processEvents(QEventLoop::AllEvents, 50);
    longestGap = std::max(longestGap, sinceTick.elapsed());
    std::printf("%.2f %.2f %d\n", clock.elapsed() / 1000.0, longestGap / 1000.0,
                window.lvwArchive->model()->rowCount());
    return 0;
}
