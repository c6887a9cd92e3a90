// The notification window: composes the notification when it loads and hands it to the user's
// mail program (or asks first, or ends the program), then offers to save the notification
// settings, to send a message straight over SMTP, and to exit. "&Send" and "E&xit" sit outside
// the visible area and are reached only by their access keys.
#pragma once

#include <QWidget>

#include "mail/notification_text.h"
#include "mail/smtp_sender.h"
#include "ui/ui.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vx {

class SettingsStore;

class frmEmail : public QWidget {
    Q_OBJECT
public:
    // The load step does not run here: call Form_Load once the window is created. clock paces
    // the SMTP reply waits.
    frmEmail(Ui& ui, SettingsStore& settings, NotificationSource source,
             SecondsClock clock = steadySeconds(), QWidget* parent = nullptr);

    QLineEdit* txtTo;
    QLineEdit* txtCC;
    QLineEdit* txtBCC;
    QLineEdit* txtSubject;
    QPlainTextEdit* txtBody;
    QLineEdit* txtKeyCode;  // hidden: the access code the link was built with
    QLineEdit* txtFrom;     // "From:", never read or filled
    QLineEdit* txtSub;      // a second "Subject:", never read or filled
    QCheckBox* chkEnable;
    QLineEdit* txtServerDomain;
    QLineEdit* txtFromEmail;
    QLineEdit* txtToEmail;
    QPlainTextEdit* txtMessage;
    QPushButton* Command1;
    QPushButton* cmdSend;
    QPushButton* cmdExit;
    SmtpSender smtp;  // the direct send: its socket smtp.w and its ServerReply

    // Sets chkEnable from "EmailYN", composes, then hands off at once, or asks first when the
    // switch is off; a "No" shows "File compressed and uploaded!" and ends the program.
    void Form_Load();
    // Fills the message fields from the template, the access code and this run's archive.
    void GetEmailInfo();
    // Hands the message fields to the mail program; a bad argument is shown, nothing opened.
    void GenerateEmail();
    // Saves "EmailServer", "User", "ToEmail" and "EmailYN", says so and closes. A store that
    // cannot be written is reported and the window stays open.
    void Command1_Click();
    void cmdSend_Click();
    void cmdExit_Click();

private:
    void buildControls();

    Ui& m_ui;
    SettingsStore& m_settings;
    NotificationSource m_source;
};

}  // namespace vx
