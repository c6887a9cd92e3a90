// vexaro-shots ARCHIVE FOLDER [FTP-SERVER]: the screenshots in docs/. Opens ARCHIVE in the real
// archive window, selects its first two rows, and saves the window and its extract dialog as
// frmArchive.png and frmExtract.png in FOLDER. Given the host:port of a local FTP server (user
// tulpa / secret, access-code folder K7QX), it also uploads ARCHIVE there in the upload window
// and saves frmUpload.png half way through the transfer. Run it under a display
// (scripts/screenshots.sh uses xvfb-run).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>
#include <cstdio>

#include "app/program.h"
#include "archive/arkovo.h"
#include "archive/frmArchive.h"
#include "archive/frmExtract.h"
#include "settings/settings_store.h"
#include "ui/qt_ui.h"
#include "upload/frmUpload.h"

namespace {

bool save(QWidget& window, const QString& path) {
    window.show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    return window.grab().save(path);
}

// Connects the upload window as its load step does and uploads the archive as its job does,
// grabbing the window from the progress handler once half of the file has gone.
bool uploadShot(vx::Ui& ui, const QString& server, const QString& archive, const QString& path) {
    vx::SettingsStore settings(QDir::temp().filePath(QStringLiteral("vexaro-shots.conf")));
    vx::frmUpload window(ui, settings, vx::UploadLinks{});
    window.txtServer->setText(server);
    window.txtUser->setText(QStringLiteral("tulpa"));
    window.txtPassword->setText(QStringLiteral("secret"));
    window.txtKeyCode->setText(QStringLiteral("K7QX"));
    window.mFTP.SetModePassive();
    window.mFTP.SetTransferBinary();
    window.show();
    window.ConnectToServer();
    window.pb->show();
    bool saved = false;
    QObject::connect(&window.mFTP, &vx::cFTP::FileTransferProgress, &window,
                     [&](qint32 current, qint32 total) {
                         if (saved || current < total / 2) return;
                         for (int i = 0; i < 20; ++i) QApplication::processEvents();
                         saved = window.grab().save(path);
                     });
    QString local = archive;
    QString remote = QFileInfo(archive).fileName();
    const bool sent = window.mFTP.FTPUploadFile(local, remote);
    window.mFTP.CloseConnection();
    return sent && saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: vexaro-shots ARCHIVE FOLDER [FTP-SERVER]\n");
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
    if (argc == 4)
        ok = uploadShot(ui, QString::fromLocal8Bit(argv[3]), archive,
                        out.filePath("frmUpload.png")) &&
             ok;
    return ok ? 0 : 1;
}
