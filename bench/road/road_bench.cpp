// vexaro-road-bench: the whole send road of the program, headless and unattended, or each of its
// stages on its own, for bench/road/road_bench.sh. Settings come from $VEXARO_SETTINGS and the
// program folder from $VEXARO_HOME, as for the program itself.
//   vexaro-road-bench road LIST      the road: pack the entries of LIST (one per line) into this
//                                    run's archive, encrypt, upload, notify; prints "road SECONDS"
//   vexaro-road-bench stages LIST    the same work stage by stage, each timed on its own:
//                                    prints "compress", "encrypt", "upload" and "notify" SECONDS
//                                    (encrypt takes no time when EncryptYN is off)
//   vexaro-road-bench save-settings SERVER   the e-mail window's Save with this mail server, as
//                                    a person presses it (tests/kill/kill_test.sh)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <cstdio>

#include "app/frmAdd.h"
#include "app/program.h"
#include "archive/arkovo.h"
#include "core/memory_reuse.h"
#include "core/program_folder.h"
#include "crypto/file_crypto.h"
#include "ftp/cftp.h"
#include "mail/access_code.h"
#include "mail/frmEmail.h"
#include "mail/frmInternal.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "ui/unattended_ui.h"

namespace {

QStringList readList(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

void report(const char* stage, const QElapsedTimer& t) {
    std::printf("%s %.3f\n", stage, t.nsecsElapsed() / 1e9);
    std::fflush(stdout);
}

int road(vx::Ui& ui, const QStringList& entries) {
    vx::Program program(ui, vx::systemClock());
    program.Startup(QString());
    program.addWindow().lstAdd->addItems(entries);
    QElapsedTimer t;
    t.start();
    program.addWindow().cmdOK_Click();  // returns once the road has ended the program
    report("road", t);
    return ui.programEnded() ? 0 : 1;
}

int stages(vx::Ui& ui, const QStringList& entries) {
    vx::SettingsStore settings;
    const QString zip = vx::besideProgram(QStringLiteral("stages.zip"));
    QElapsedTimer t;

    t.start();
    vx::Arkovo arkovo;
    arkovo.setArchiveName(zip);
    bool keepPaths = false, dos83 = false;
    arkovo.AddFiles(entries, vx::kActionAdd, keepPaths, false, dos83, 6);
    report("compress", t);

    t.start();
    const bool encrypt = vx::isOn(vx::keys::read(settings, vx::keys::EncryptYN));
    const QString uzp =
        encrypt ? vx::korva::FileCrypto(zip, zip, vx::keys::read(settings, vx::keys::EncryptKey), QString()) : zip;
    report("encrypt", t);

    t.start();
    vx::cFTP ftp;
    ftp.SetModePassive();
    ftp.SetTransferBinary();
    const bool open = ftp.OpenConnection(vx::keys::read(settings, vx::keys::FtpServer),
                                         vx::keys::read(settings, vx::keys::FtpUser),
                                         vx::keys::read(settings, vx::keys::FtpPassword));
    ftp.SetFTPDirectory(QStringLiteral("/home/tulpa/public_html/") + vx::accessCodeBesideProgram());
    QString local = uzp, remote = QFileInfo(uzp).fileName();
    const bool sent = open && ftp.FTPUploadFile(local, remote);
    ftp.CloseConnection();
    report("upload", t);
    if (!sent) std::fprintf(stderr, "upload failed: %s\n", qPrintable(ftp.GetLastErrorMessage()));

    t.start();
    vx::frmInternal mailer(ui, settings, {[uzp] { return uzp; }}, vx::systemClock());
    mailer.show();
    mailer.Form_Load();
    report("notify", t);
    if (mailer.failed()) std::fprintf(stderr, "the notification was not sent\n");
    QFile::remove(uzp);
    return sent && !mailer.failed() ? 0 : 1;
}

int saveSettings(vx::Ui& ui, const QString& server) {
    vx::SettingsStore settings;
    vx::frmEmail window(ui, settings, {[] { return QString(); }});
    window.txtServerDomain->setText(server);
    window.Command1_Click();
    return vx::keys::read(settings, vx::keys::EmailServer) == server ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    vx::keepFreedMemoryForReuse();  // as the program itself does
    QApplication app(argc, argv);
    vx::setProgramFolder(vx::findProgramFolder());
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 || (args[1] != "road" && args[1] != "stages" && args[1] != "save-settings")) {
        std::fprintf(stderr, "usage: vexaro-road-bench road|stages LIST | save-settings SERVER\n");
        return 64;
    }
    vx::UnattendedUi ui(true);
    if (args[1] == "save-settings") return saveSettings(ui, args[2]);
    const QStringList entries = readList(args[2]);
    return args[1] == "road" ? road(ui, entries) : stages(ui, entries);
}
