// File server test of the settings window.
#include "upload/ftp_login_check.h"

#include "ftp/cftp.h"
#include "ftp/ftp_tls.h"
#include "upload/upload_rules.h"

namespace vx {

Result<QString> checkFtpLogin(const FtpLogin& login) {
    cFTP ftp;
    ftp::TlsOptions tls;
    // As the upload window: a mode that is not one of the four asks for the safe side.
    tls.mode = ftp::parseTlsMode(login.tls).value_or(ftp::TlsMode::Require);
    QString error;
    if (!tls.trust.addCaFile(login.caFile, &error)) return Status::error(error);
    tls.trust.setPins(login.pins);
    ftp.setTls(std::move(tls));
    if (login.passive)
        ftp.SetModePassive();
    else
        ftp.SetModeActive();
    if (!ftp.OpenConnection(login.server, login.user, login.password))
        return Status::error(ftp.GetLastErrorMessage());
    const QString folder = accessCodeFolder(login.accessCode);
    const bool entered = ftp.SetFTPDirectory(folder);
    const QString reply = ftp.GetLastErrorMessage();
    const bool refused = !entered || accessCodeRefused(ftp.GetFTPDirectory());
    ftp.CloseConnection();
    if (refused)
        return Status::error(
            QStringLiteral("Invalid Access Code!\n") +
            (entered ? QStringLiteral("The server stayed in ") + kAccountFolder : reply));
    return QStringLiteral("Logged in to ") + login.server + QStringLiteral(" as ") + login.user +
           QStringLiteral(", entered ") + folder + QStringLiteral(" and logged out.");
}

}  // namespace vx
