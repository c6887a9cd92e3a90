// The upload window's TLS: the settings that configure the connection, the question about a
// certificate that does not verify, and the note of a session that went on unencrypted.
#include <QLineEdit>

#include "net/tls_trust.h"
#include "settings/settings_keys.h"
#include "upload/frmUpload.h"

namespace vx {

void frmUpload::configureTls() {
    ftp::TlsOptions tls;
    // A value that is not one of the four asks for the safe side rather than for plain text.
    tls.mode = ftp::parseTlsMode(keys::read(m_settings, keys::FtpTls)).value_or(ftp::TlsMode::Require);
    QString error;
    if (!tls.trust.addCaFile(keys::read(m_settings, keys::TlsCaFile), &error) && m_links.report)
        m_links.report(error);
    tls.trust.setPins(keys::read(m_settings, keys::FtpTlsPin));
    mFTP.setTls(std::move(tls));
}

bool frmUpload::openConnection() {
    configureTls();
    bool opened = mFTP.OpenConnection(txtServer->text(), txtUser->text(), txtPassword->text());
    bool declined = false;
    if (!opened && mFTP.unverifiedCertificate()) {
        const net::UnverifiedCertificate met = *mFTP.unverifiedCertificate();
        std::function<bool(const QString&)> ask;
        if (m_ui.canAsk()) {
            ask = [this](const QString& question) {
                ShowNormalCursor();
                const bool yes = m_ui.messageBox(question, Buttons::YesNo, Icon::Question) == Answer::Yes;
                ShowBusyCursor();
                return yes;
            };
        }
        declined = m_ui.canAsk();  // a person said No: that ends like a refused connection
        if (net::decideTrust(met, QString::fromLatin1(keys::FtpTlsPin.name), ask, nullptr)) {
            declined = false;
            m_settings.save(kSettingsSection, QString::fromLatin1(keys::FtpTlsPin.name),
                            net::withPin(keys::read(m_settings, keys::FtpTlsPin), met.fingerprint()));
            configureTls();
            opened = mFTP.OpenConnection(txtServer->text(), txtUser->text(), txtPassword->text());
        }
    }
    // A failure of TLS is said at once, in its own words (the server's refusal, the certificate
    // with its fingerprint): the job's later message would only say that no connection is open.
    if (!opened && !declined && mFTP.failedOnTls()) {
        ShowNormalCursor();
        m_ui.messageBox(mFTP.GetLastErrorMessage(), Buttons::Ok, Icon::Critical);
        ShowBusyCursor();
    }
    if (opened && !mFTP.tlsRefusal().isEmpty() && m_links.report) {
        m_links.report(QStringLiteral("The FTP session with %1 is not encrypted: the server answered "
                                      "AUTH TLS with \"%2\".")
                           .arg(txtServer->text(), mFTP.tlsRefusal()));
    }
    return opened;
}

}  // namespace vx
