// How long the event loop is held off during transfers: uploads and downloads one file through
// cFTP while a 10 ms timer runs, and prints, for each direction, the longest gap between two of
// its ticks (the start and the end of the transfer count as ticks), the number of ticks and the
// time taken. Driven by bench/ftp_responsiveness.sh against a throttled local server.
//
//   ftp_responsiveness HOST:PORT USER PASSWORD LOCAL_FILE REMOTE_NAME DOWNLOAD_PATH
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "ftp/cftp.h"

namespace {

struct Gaps {
    qint64 longestMs = 0;
    int ticks = 0;
    qint64 totalMs = 0;
};

// Runs `transfer` with the timer going; false when the transfer failed.
bool measure(const std::function<bool()>& transfer, Gaps& out) {
    QElapsedTimer clock;
    qint64 last = 0;
    const auto tick = [&] {
        const qint64 now = clock.elapsed();
        out.longestMs = qMax(out.longestMs, now - last);
        last = now;
    };
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++out.ticks;
        tick();
    });
    clock.start();
    timer.start(10);
    const bool ok = transfer();
    timer.stop();
    tick();
    out.totalMs = clock.elapsed();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 6) {
        std::fputs(
            "usage: VEXARO_FTP_PASSWORD=... ftp_responsiveness HOST:PORT USER LOCAL_FILE "
            "REMOTE_NAME DOWNLOAD_PATH\n",
            stderr);
        return 2;
    }
    vx::cFTP ftp;
    ftp.SetModePassive();
    ftp.SetTransferBinary();
    // The password comes from the environment: other users can read a process's arguments.
    if (!ftp.OpenConnection(a[1], a[2], qEnvironmentVariable("VEXARO_FTP_PASSWORD"))) {
        std::fprintf(stderr, "%s\n", qPrintable(ftp.GetLastErrorMessage()));
        return 1;
    }
    QString local = a[3], remote = a[4], back = a[5];
    const std::pair<const char*, std::function<bool()>> runs[] = {
        {"upload", [&] { return ftp.FTPUploadFile(local, remote); }},
        {"download", [&] { return ftp.FTPDownloadFile(back, remote); }}};
    std::printf("%-10s %16s %8s %10s\n", "direction", "longest gap (ms)", "ticks", "time (s)");
    for (const auto& [name, transfer] : runs) {
        Gaps g;
        if (!measure(transfer, g)) {
            std::fprintf(stderr, "%s failed: %s\n", name, qPrintable(ftp.GetLastErrorMessage()));
            return 1;
        }
        std::printf("%-10s %16lld %8d %10.2f\n", name, static_cast<long long>(g.longestMs), g.ticks,
                    g.totalMs / 1000.0);
    }
    ftp.CloseConnection();
    return 0;
}
