// The upload job of the upload window: sends this run's file, notifies, cleans up and ends.
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "core/exit_codes.h"
#include "core/program_folder.h"
#include "log/text_file.h"
#include "settings/settings_keys.h"
#include "upload/frmUpload.h"
#include "upload/upload_rules.h"

namespace vx {

void frmUpload::RunUploadJob() {
    if (isOn(keys::read(m_settings, keys::EncryptYN))) {
        m_links.showEncrypt();
        if (m_ui.programEnded()) return;
    }
    // Read again: the design takes the file name from the setting as it stands now.
    const bool encrypted = isOn(keys::read(m_settings, keys::EncryptYN));
    const QString sPath = uploadPath(m_links.archivePath(), encrypted);
    ShowBusyCursor();
    pb->show();
    if (!TrimPath(sPath).isEmpty() && sendFile(sPath, encrypted)) {
        afterGoodUpload();
        if (m_ui.programEnded()) return;  // a notification window ended the program itself
    } else {
        m_ui.recordFailure(ExitCode::UploadFailed);
    }
    ShowNormalCursor();
    mFTP.CloseConnection();
    if (m_links.deleteAfterTransfer()) QFile::remove(sPath);
    m_ui.endProgram();
}

// Uploads the file under its bare name; a missing file or a failed transfer is reported here,
// a failed log-in was reported when it happened.
// The transfer would report a missing file too, but only as a failure to open it; this names
// the likely reason. The error text is shown only once every try has failed.
bool frmUpload::sendFile(const QString& sPath, bool encrypted) {
    if (!mFTP.isConnected()) return false;  // the failed log-in has been reported
    if (!QFileInfo(sPath).isFile()) {
        m_ui.messageBox(missingFileText(sPath, encrypted), Buttons::Ok, Icon::Critical);
        return false;
    }
    WholeUpload upload(mFTP, {txtServer->text(), txtUser->text(), txtPassword->text()}, uploadRetry,
                       m_links.report);
    if (upload.run(sPath, TrimPath(sPath))) return true;
    m_ui.messageBox(upload.errorText());
    return false;
}

void frmUpload::afterGoodUpload() {
    if (isOn(keys::read(m_settings, keys::SaveLog)))
        SaveText(m_links.logText(), besideProgram(m_links.logFileName()));
    m_ui.messageBox(QStringLiteral("Upload complete!"));
    if (keys::read(m_settings, keys::MailerFirst) == QLatin1String("default")) {
        m_links.showEmail();
        if (m_ui.programEnded()) return;
    }
    if (keys::read(m_settings, keys::MailerSecond) == QLatin1String("internal")) {
        lblNote->setText(QStringLiteral("Sending e-mail using internal mailer..."));
        m_links.showInternal();
        if (m_ui.programEnded()) return;
    }
    m_links.unloadMailWindows();
}

void frmUpload::SaveText(const QString& text, const QString& path) {
    if (!writeTextFile(text, path).isOk())
        m_ui.messageBox(QStringLiteral("There has been a error!"), Buttons::Ok, Icon::None,
                        QStringLiteral("Error"));
}

}  // namespace vx
