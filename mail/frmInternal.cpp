// Internal mailer window.
#include "mail/frmInternal.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHostInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "core/exit_codes.h"
#include "mail/relay_standard.h"
#include "net/server_address.h"
#include "net/tls_trust.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "ui/named.h"
#include "ui/window_look.h"

namespace vx {
namespace {

const QString kMailerTitle = QStringLiteral("Anonymous Mailer");
const QString kNotSent = QStringLiteral("The e-mail notification was not sent.\r\n");

QLineEdit* lineEdit(const char* name, const QString& text = QString()) {
    return named(new QLineEdit(text), name);
}

}  // namespace

qint64 leadingNumber(const QString& text) {
    const QString t = text.trimmed();
    qsizetype n = 0;
    while (n < t.size() && n < 18 && t[n].isDigit() && t[n].unicode() < 128) ++n;
    return t.left(n).toLongLong();
}

frmInternal::frmInternal(Ui& ui, SettingsStore& settings, NotificationSource source, Clock clock,
                         SecondsClock pace, QWidget* parent)
    : QWidget(parent, Qt::Window),
      WS([this](const QString& text) { LogText(text); }, std::move(pace)),
      m_ui(ui),
      m_settings(settings),
      m_source(std::move(source)),
      m_clock(std::move(clock)) {
    setObjectName(QStringLiteral("frmInternal"));
    setWindowTitle(QStringLiteral("Internal Mailer"));
    buildControls();
    connect(cmdSend, &QPushButton::clicked, this, &frmInternal::cmdSend_Click);
    connect(&WS, &RelaySession::connectedTo, this, [this](const QString& host) {
        setWindowTitle(QStringLiteral("Conneted To: ") + host + QStringLiteral("\r\n"));
    });
}

void frmInternal::buildControls() {
    auto* defaults = new QGroupBox(QStringLiteral("Default Values"));
    auto* top = new QFormLayout(defaults);
    top->addRow(QStringLiteral("SMTP SERVER :"), Text1 = lineEdit("Text1"));
    // Without "RelayPort" the port is the usual one of the TLS mode (25 for the plain dialogue).
    const auto mode = relayTlsMode(keys::read(m_settings, keys::RelayTlsMode));
    const QString port = QString::number(relayDefaultPort(mode.value_or(RelayTls::Off)));
    top->addRow(
        QStringLiteral("Port :"),
        Text2 = lineEdit(
            "Text2", m_settings.read(kSettingsSection, QLatin1String(keys::RelayPort.name), port)));
    top->addRow(QStringLiteral("User Name :"),
                Text3 = lineEdit("Text3", keys::read(m_settings, keys::RelayUser)));
    top->addRow(QStringLiteral("Password  :"),
                Text4 = lineEdit("Text4", keys::read(m_settings, keys::RelayPassword)));
    maskWithAsterisks(*Text4);

    auto* main = new QGroupBox(QStringLiteral("Main"));
    auto* form = new QFormLayout(main);
    form->addRow(QStringLiteral("From:"),
                 txtFrom = lineEdit("txtFrom", keys::read(m_settings, keys::RelayFrom)));
    form->addRow(QStringLiteral("To:"), txtTo = lineEdit("txtTo"));
    form->addRow(QStringLiteral("Subject:"), txtSub = lineEdit("txtSub"));
    form->addRow(QStringLiteral("Body:"), txtBody = new QPlainTextEdit);
    txtBody->setObjectName(QStringLiteral("txtBody"));
    txtKeyCode = lineEdit("txtKeyCode");
    txtKeyCode->setParent(main);
    txtKeyCode->hide();

    txtStat = new QPlainTextEdit;
    txtStat->setObjectName(QStringLiteral("txtStat"));
    txtStat->setReadOnly(true);
    txtStat->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmdSend = new QPushButton(QStringLiteral("Send"));
    cmdSend->setObjectName(QStringLiteral("cmdSend"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(defaults);
    layout->addWidget(main, 2);
    layout->addWidget(txtStat, 1);
    layout->addWidget(cmdSend, 0, Qt::AlignRight);
    resize(560, 640);
}

void frmInternal::Form_Load() {
    if (switchValue(keys::read(m_settings, keys::EmailYN)) == 0) {
        m_ui.messageBox(QStringLiteral(
            "You have selected not to automatically generate an e-mail at this time."));
        m_ui.endProgram();
        return;
    }
    Text1->setText(keys::read(m_settings, keys::EmailServer));
    GetEmailInfo();
    const std::optional<RelayTls> mode = tlsMode();
    if (!mode) {
        notificationFailed();
        m_ui.recordFailure(ExitCode::NotificationFailed);
        return;
    }
    connectRelay(QStringLiteral("Mailer"), *mode);
    cmdSend_Click();
    // The upload job's own run: it goes on to its end, and its exit status tells of the failure.
    if (m_failed) m_ui.recordFailure(ExitCode::NotificationFailed);
}

void frmInternal::GetEmailInfo() {
    const EmailInfo info = composeEmailInfo(BodyForm::Smtp, m_source, m_settings);
    txtKeyCode->setText(info.keyCode);
    txtTo->setText(info.to);
    txtSub->setText(info.subject);
    txtBody->setPlainText(info.body);
    m_cc = info.cc;
    m_bcc = info.bcc;
}

std::optional<RelayTls> frmInternal::tlsMode() {
    const QString text = keys::read(m_settings, keys::RelayTlsMode);
    const auto mode = relayTlsMode(text);
    if (!mode)
        m_ui.messageBox(
            QStringLiteral("The setting RelayTls holds \"%1\"; it must be off, starttls "
                           "or tls. Nothing was sent.")
                .arg(text),
            Buttons::Ok, Icon::Critical);
    return mode;
}

bool frmInternal::connectRelay(const QString& failureTitle, RelayTls mode) {
    // "host" or "host:port"; the port box gives the port when the text names none. A text that
    // is no server address makes no connection.
    const qint64 boxPort = leadingNumber(Text2->text());
    const auto address = net::parseServerAddress(
        Text1->text(), boxPort > 0 && boxPort <= 65535 ? quint16(boxPort) : quint16(0));
    const bool valid = address && address->port != 0;
    bool connected = false;
    if (mode == RelayTls::Off) {
        connected = WS.connectTo(valid ? address->host : Text1->text(), valid ? address->port : 0);
    } else if (valid) {
        const auto open = [&] {
            const Status trust = prepareTrust();
            if (!trust) return trust;
            return WS.open(address->host, address->port, mode == RelayTls::Tls, kRelayReplyLimit);
        };
        Status opened = open();
        if (!opened && trustMetCertificate()) opened = open();
        if (!opened) WS.log(opened.message() + kCrLf);
        connected = opened.isOk();
    }
    if (connected) {
        setWindowTitle(QStringLiteral("Connect to Server ") + Text1->text());
        return true;
    }
    if (!m_refusal.isEmpty())  // a certificate that was not trusted: say which one
        m_ui.messageBox(kNotSent + m_refusal, Buttons::Ok, Icon::Critical);
    else
        m_ui.messageBox(QStringLiteral("Connection problem try again."), Buttons::Ok,
                        Icon::Critical, failureTitle);
    show();
    return false;
}

Status frmInternal::prepareTrust() {
    net::TlsTrust trust;
    QString error;
    if (!trust.addCaFile(keys::read(m_settings, keys::TlsCaFile), &error))
        return Status::error(error);
    trust.setPins(keys::read(m_settings, keys::RelayTlsPin));
    WS.prepareTls = [trust](QSslSocket& socket) { trust.apply(socket); };
    m_refusal.clear();
    return Status::ok();
}

bool frmInternal::trustMetCertificate() {
    const auto& met = WS.unverified();
    if (!met) return false;
    // A certificate refused once is not asked about again by this window; an unattended run
    // never asks and refuses.
    std::function<bool(const QString&)> ask;
    if (m_ui.canAsk()) {
        ask = [this, &met](const QString& question) {
            if (m_refused.contains(met->fingerprint())) return false;
            if (m_ui.messageBox(question, Buttons::YesNo, Icon::Question) == Answer::Yes)
                return true;
            m_refused += met->fingerprint();
            return false;
        };
    }
    if (!net::decideTrust(*met, QString::fromLatin1(keys::RelayTlsPin.name), ask, &m_refusal))
        return false;
    m_settings.save(kSettingsSection, QString::fromLatin1(keys::RelayTlsPin.name),
                    net::withPin(keys::read(m_settings, keys::RelayTlsPin), met->fingerprint()));
    return true;
}

bool frmInternal::fieldsAccepted() {
    QString problem;
    if (txtFrom->text().isEmpty())
        problem = QStringLiteral("Enter the senders email address");
    else if (txtTo->text().isEmpty())
        problem = QStringLiteral("Enter Receivers Email Address");
    else if (txtBody->toPlainText().isEmpty()) {
        m_ui.messageBox(QStringLiteral("Enter Some Content to Body"));
        return false;
    } else
        problem = lineBreakRefusal(txtFrom->text(), txtTo->text(), txtSub->text());
    if (!problem.isEmpty()) m_ui.messageBox(problem, Buttons::Ok, Icon::Critical, kMailerTitle);
    return problem.isEmpty();
}

void frmInternal::cmdSend_Click() {
    const std::optional<RelayTls> mode = tlsMode();
    if (!mode) return notificationFailed();
    if (!connectRelay(kMailerTitle, *mode)) return notificationFailed();
    if (!fieldsAccepted()) return notificationFailed();
    RelayMessage message;
    message.user = Text3->text();
    message.password = Text4->text();
    message.sender = txtFrom->text();
    message.recipient = txtTo->text();
    message.subject = txtSub->text();
    message.body = txtBody->toPlainText();
    message.date = QLocale::system().toString(m_clock().date(), QLocale::ShortFormat);
    message.localHost = QHostInfo::localHostName();
    message.cc = m_cc;
    message.bcc = m_bcc;
    if (*mode != RelayTls::Off) {
        Status sent = relaySend(WS, *mode, message, m_clock());
        // A certificate met after STARTTLS that the user now trusts: once more from the start.
        if (!sent && trustMetCertificate() && connectRelay(kMailerTitle, *mode))
            sent = relaySend(WS, *mode, message, m_clock());
        if (!sent) {
            m_ui.messageBox(m_refusal.isEmpty() ? sent.message() : kNotSent + m_refusal,
                            Buttons::Ok, Icon::Critical);
            return notificationFailed();
        }
        m_failed = false;
        m_ui.messageBox(QStringLiteral("E-mail notification sent successfully!"));
        relayQuit(WS);
        return;
    }
    if (WS.send(message) == RelaySession::Outcome::LoginRefused) {
        m_ui.messageBox(QStringLiteral("Invalid UserName and Password"));
        notificationFailed();
        close();
        return;
    }
    m_failed = false;
    m_ui.messageBox(QStringLiteral("E-mail notification sent successfully!"));
    WS.quit();
}

void frmInternal::notificationFailed() { m_failed = true; }

void frmInternal::LogText(const QString& text) {
    QString shown = text + QStringLiteral("\r\n");
    shown.remove(QLatin1Char('\r'));
    txtStat->moveCursor(QTextCursor::End);
    txtStat->insertPlainText(shown);
}

void frmInternal::closeEvent(QCloseEvent* event) {
    WS.close();
    QWidget::closeEvent(event);
}

}  // namespace vx
