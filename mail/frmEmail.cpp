// Notification window.
#include "mail/frmEmail.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

#include "mail/mailto_address.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "ui/named.h"

namespace vx {
frmEmail::frmEmail(Ui& ui, SettingsStore& settings, NotificationSource source, SecondsClock clock,
                   QWidget* parent)
    : QWidget(parent, Qt::Window),
      smtp(ui, std::move(clock)),
      m_ui(ui),
      m_settings(settings),
      m_source(std::move(source)) {
    setObjectName(QStringLiteral("frmEmail"));
    setWindowTitle(QStringLiteral("Email Notification"));
    buildControls();
    connect(Command1, &QPushButton::clicked, this, &frmEmail::Command1_Click);
    connect(cmdSend, &QPushButton::clicked, this, &frmEmail::cmdSend_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmEmail::cmdExit_Click);
}

void frmEmail::buildControls() {
    auto* main = new QGroupBox(QStringLiteral("Main"), this);
    auto* mainForm = new QFormLayout(main);
    // txtFrom and txtSub are shown but never read or filled: the hand-off takes neither.
    mainForm->addRow(QStringLiteral("From:"), txtFrom = named(new QLineEdit, "txtFrom"));
    mainForm->addRow(QStringLiteral("To:"), txtTo = named(new QLineEdit, "txtTo"));
    mainForm->addRow(QStringLiteral("Cc:"), txtCC = named(new QLineEdit, "txtCC"));
    mainForm->addRow(QStringLiteral("Bcc:"), txtBCC = named(new QLineEdit, "txtBCC"));
    mainForm->addRow(QStringLiteral("Subject:"), txtSubject = named(new QLineEdit, "txtSubject"));
    mainForm->addRow(QStringLiteral("Subject:"), txtSub = named(new QLineEdit, "txtSub"));
    mainForm->addRow(QStringLiteral("Body:"), txtBody = named(new QPlainTextEdit, "txtBody"));
    txtKeyCode = named(new QLineEdit(main), "txtKeyCode");
    txtKeyCode->hide();

    auto* direct = new QGroupBox(QStringLiteral("Settings"), this);
    auto* directForm = new QFormLayout(direct);
    directForm->addRow(
        chkEnable =
            named(new QCheckBox(QStringLiteral("Enable e-mail notifications?")), "chkEnable"));
    directForm->addRow(QStringLiteral("Server Domain:"),
                       txtServerDomain = named(new QLineEdit, "txtServerDomain"));
    directForm->addRow(QStringLiteral("From Email:"),
                       txtFromEmail = named(new QLineEdit, "txtFromEmail"));
    directForm->addRow(QStringLiteral("To Email:"),
                       txtToEmail = named(new QLineEdit, "txtToEmail"));
    directForm->addRow(QStringLiteral("Message:"),
                       txtMessage = named(new QPlainTextEdit, "txtMessage"));
    Command1 = named(new QPushButton(QStringLiteral("S&ave")), "Command1");
    directForm->addRow(Command1);

    // Outside the window's area, out of any layout: only Alt+S and Alt+X reach them.
    cmdSend = named(new QPushButton(QStringLiteral("&Send"), this), "cmdSend");
    cmdExit = named(new QPushButton(QStringLiteral("E&xit"), this), "cmdExit");
    cmdSend->setGeometry(-200, -200, 80, 24);
    cmdExit->setGeometry(-200, -160, 80, 24);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(main, 3);
    layout->addWidget(direct, 2);
    resize(820, 420);
}

void frmEmail::Form_Load() {
    chkEnable->setChecked(switchValue(keys::read(m_settings, keys::EmailYN)) != 0);
    GetEmailInfo();
    if (chkEnable->isChecked()) {
        GenerateEmail();
        return;
    }
    const Answer a = m_ui.messageBox(
        QStringLiteral("You have selected not to automatically generate an email to your "
                       "recipient, would you like to generate one anyway?"),
        Buttons::YesNo);
    if (a == Answer::Yes) {
        GenerateEmail();
        return;
    }
    m_ui.messageBox(QStringLiteral("File compressed and uploaded!"));
    m_ui.endProgram();
}

void frmEmail::GetEmailInfo() {
    const EmailInfo info = composeEmailInfo(BodyForm::MailProgram, m_source, m_settings);
    txtKeyCode->setText(info.keyCode);
    txtTo->setText(info.to);
    txtCC->setText(info.cc);
    txtBCC->setText(info.bcc);
    txtSubject->setText(info.subject);
    txtBody->setPlainText(info.body);
}

void frmEmail::GenerateEmail() {
    const QString error = QuickMail(m_ui, QStringList{txtTo->text()}, QStringList{txtCC->text()},
                                    txtBCC->text(), txtSubject->text(), txtBody->toPlainText());
    if (!error.isEmpty()) m_ui.messageBox(error);
}

void frmEmail::Command1_Click() {
    const std::pair<const char*, QString> values[] = {
        {keys::EmailServer.name, txtServerDomain->text()},
        {"User", txtFromEmail->text()},
        {"ToEmail", txtToEmail->text()},
        {keys::EmailYN.name, chkEnable->isChecked() ? QStringLiteral("1") : QStringLiteral("0")}};
    for (const auto& [key, value] : values) {
        if (!m_settings.save(kSettingsSection, QString::fromLatin1(key), value)) {
            m_ui.messageBox(
                QStringLiteral("The settings could not be saved to %1.").arg(m_settings.filePath()),
                Buttons::Ok, Icon::Critical);
            return;
        }
    }
    m_ui.messageBox(QStringLiteral("Settings Saved!"));
    close();
}

void frmEmail::cmdSend_Click() {
    smtp.SendEmail(txtServerDomain->text(), txtFromEmail->text(), txtToEmail->text(),
                   txtSubject->text(), txtMessage->toPlainText());
}

void frmEmail::cmdExit_Click() {
    close();
    m_ui.endProgram();
}

}  // namespace vx
