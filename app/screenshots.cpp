// vexaro-shots ARCHIVE FOLDER [PLAIN [FTP-SERVER]]: the screenshots in docs/. Opens ARCHIVE in the
// real archive window, selects its first two rows, and saves the window and its extract dialog as
// frmArchive.png and frmExtract.png in FOLDER. With PLAIN, the encryption window then encrypts
// that file in place (it becomes PLAIN's name with ".uzp") and is saved as frmEncrypt.png when its
// bar reaches 40 %. Given also the host:port of a local FTP server (user tulpa / secret,
// access-code folder K7QX), the upload window sends the ".uzp" file there and is saved as
// frmUpload.png half way through the transfer. Run it under a display (scripts/screenshots.sh
// uses xvfb-run).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>

#include "app/program.h"
#include "archive/arkovo.h"
#include "archive/frmArchive.h"
#include "archive/frmExtract.h"
#include "crypto/frmEncrypt.h"
#include "settings/settings_store.h"
#include "ui/qt_ui.h"
#include "upload/frmUpload.h"

namespace {

bool save(QWidget& window, const QString& path) {
    window.show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    return window.grab().save(path);
}

// Passes the module's progress on to the window and saves the window once, at 40 %.
class GrabMidRun : public vx::korva::ProgressSink {
public:
    GrabMidRun(vx::frmEncrypt& window, QString path) : m_window(window), m_path(std::move(path)) {}
    void drawProgress(int percent) override {
        m_window.drawProgress(percent);
        if (percent < 40 || saved) return;
        saved = m_window.grab().save(m_path);
    }
    bool saved = false;

private:
    vx::frmEncrypt& m_window;
    QString m_path;
};

// Runs the encryption window's automatic run on the file and grabs it in the middle.
bool saveEncryptRun(vx::Ui& ui, const QString& plain, const QString& path) {
    QTemporaryDir conf;
    vx::SettingsStore store(conf.filePath("TULPAREG.conf"));
    if (!store.save(vx::kSettingsSection, "EncryptKey", "Screenshot Key 42")) return false;
    vx::frmEncrypt window(ui, store, [&] { return plain; });
    GrabMidRun grab(window, path);
    vx::korva::ProgressSink* before = vx::korva::state().sink;
    vx::korva::state().sink = &grab;
    window.Form_Load();
    ui.showModal(window);
    vx::korva::state().sink = before;
    return grab.saved;
}

// Connects the upload window as its load step does and uploads the file as its job does,
// grabbing the window from the progress handler once half of the file has gone.
bool uploadShot(vx::Ui& ui, const QString& server, const QString& file, const QString& path) {
    QTemporaryDir conf;
    vx::SettingsStore settings(conf.filePath("TULPAREG.conf"));
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
    QString local = file;
    QString remote = QFileInfo(file).fileName();
    const bool sent = window.mFTP.FTPUploadFile(local, remote);
    window.mFTP.CloseConnection();
    return sent && saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: vexaro-shots ARCHIVE FOLDER [PLAIN [FTP-SERVER]]\n");
        return 2;
    }
    const QString archive = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QDir out(QString::fromLocal8Bit(argv[2]));
    vx::QtUi ui;
    vx::Program program(ui, vx::systemClock());
    vx::frmArchive& window = program.archiveWindow();
    program.arkovo().setArchiveName(archive);
    window.resize(860, 420);
    QAbstractItemModel* rows = window.lvwArchive->model();
    for (int i = 0; i < 2 && i < rows->rowCount(); ++i)
        window.lvwArchive->selectionModel()->select(
            rows->index(i, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    bool ok = save(window, out.filePath("frmArchive.png"));
    vx::frmExtract extract(ui, program.arkovo(), *window.lvwArchive,
                           QFileInfo(archive).absolutePath(), &window);
    ok = save(extract, out.filePath("frmExtract.png")) && ok;
    if (argc >= 4) {
        const QString plain = QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath();
        ok = saveEncryptRun(ui, plain, out.filePath("frmEncrypt.png")) && ok;
        if (argc == 5)
            ok = uploadShot(ui, QString::fromLocal8Bit(argv[4]), plain.chopped(3) + "uzp",
                            out.filePath("frmUpload.png")) &&
                 ok;
    }
    return ok ? 0 : 1;
}
