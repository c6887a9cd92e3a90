// The internal mailer window: sends the notification through the built-in relay with AUTH LOGIN
// as soon as it loads, showing the dialogue in its status log; "Send" sends again.
#pragma once

#include <QWidget>

#include "core/clock.h"
#include "mail/notification_text.h"
#include "mail/relay_message.h"
#include "mail/relay_session.h"
#include "ui/ui.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vx {

class SettingsStore;

class frmInternal : public QWidget {
    Q_OBJECT
public:
    // The load step does not run here: show the window, then call Form_Load. clock gives the
    // date written into the message; pace times the pauses.
    frmInternal(Ui& ui, SettingsStore& settings, NotificationSource source, Clock clock,
                SecondsClock pace = steadySeconds(), QWidget* parent = nullptr);

    QLineEdit* Text1;  // relay host
    QLineEdit* Text2;  // port, read by its leading digits
    QLineEdit* Text3;  // user name
    QLineEdit* Text4;  // password, masked
    QLineEdit* txtFrom;
    QLineEdit* txtTo;
    QLineEdit* txtSub;
    QPlainTextEdit* txtBody;
    QLineEdit* txtKeyCode;  // hidden: the access code the link was built with
    QPlainTextEdit* txtStat;
    QPushButton* cmdSend;
    RelaySession WS;  // the socket, Connected and ServerReply

    // Ends the program with a message when "EmailYN" is 0; otherwise fills Text1 from
    // "EmailServer", composes, tries the relay once (title or warning) and runs the send.
    // Pauses; events run inside.
    void Form_Load();
    // Fills txtKeyCode, txtTo, txtSub and txtBody (Cc and Bcc are not used here).
    void GetEmailInfo();
    // Connects afresh, checks the fields, runs the dialogue, reports success (whatever the relay
    // answered, except a refused log-in, which closes the window) and then sends "QUIT".
    // With "RelayTls" on, the standard session: success only after the relay accepted the
    // message; any refusal is shown with the server's code and text and the window stays open.
    void cmdSend_Click();
    // True once a send of this window failed without a later success (no connection, a refused
    // step of the standard session, an unknown "RelayTls").
    bool failed() const { return m_failed; }
    // Appends text + CR LF to the status log.
    void LogText(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    bool connectRelay(const QString& failureTitle, RelayTls mode);
    // "RelayTls" read now; a message and nothing for an unknown value.
    std::optional<RelayTls> tlsMode();
    void notificationFailed();
    // Sets up the socket's certificate trust from "TlsCaFile" and "RelayTlsPin" for the next
    // handshakes; fails when the CA file cannot be used.
    Status prepareTrust();
    // After a handshake that met a certificate that does not verify: asks whether to trust it
    // (Yes stores its fingerprint in "RelayTlsPin"). False otherwise, keeping in m_refusal the
    // text that names the certificate and how to pin it.
    bool trustMetCertificate();
    bool fieldsAccepted();

    Ui& m_ui;
    SettingsStore& m_settings;
    NotificationSource m_source;
    Clock m_clock;
    QString m_cc, m_bcc;    // the template's copy recipients, used by the standard session
    QString m_refusal;      // why the last certificate met was not trusted
    QStringList m_refused;  // fingerprints the user said No to
    bool m_failed = false;
};

// The port field as a number: the digits at its start after blanks; 0 when there are none.
qint64 leadingNumber(const QString& text);

}  // namespace vx
