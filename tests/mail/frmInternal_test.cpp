// The internal mailer window against a real SMTP relay on 127.0.0.1: the lines the relay
// received, the status log and the messages. Pauses run five or ten times faster than real time.
// With "RelayTls" on it meets the strict server with a certificate of the tests' own authority:
// what the server received and accepted, for STARTTLS and implicit TLS, refusals and trust.
#include "mail/frmInternal.h"

#include <gtest/gtest.h>

#include <QHostInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <optional>

#include "mail/relay_message.h"
#include "mail_fixtures.h"
#include "net/tls_trust.h"
#include "qt_printers.h"
#include "test_ca.h"

using namespace vx;

namespace {

const QDateTime kNow(QDate(2026, 12, 4), QTime(16, 29, 7));
const QString kNotSent = "The e-mail notification was not sent.\r\n";

struct Mailer : test::MailHome {
    frmInternal window;
    Mailer(std::initializer_list<std::pair<const char*, QString>> keys, double speed)
        : MailHome(keys), window(ui, store, source, fixedClock(kNow), steadySeconds(speed)) {
        window.show();
    }
    // The plain dialogue to 127.0.0.1 and RelayPort.
    explicit Mailer(quint16 port, const char* emailYN = "1")
        : Mailer({{"EmailYN", emailYN}, {"EmailServer", "127.0.0.1"},
                  {"RelayPort", QString::number(port)}, {"RelayFrom", "relay@x.org"}}, 10) {}
    // RelayTls on, the server given as "host:port" and no RelayPort.
    Mailer(const char* mode, const QString& server, const QString& caFile, double speed = 1)
        : Mailer({{"RelayTls", mode}, {"EmailServer", server}, {"TlsCaFile", caFile},
                  {"RelayFrom", "relay@x.org"}}, speed) {}
    QString log() const { return window.txtStat->toPlainText(); }
};

// The relay's table, "|" between lines; the log-in is relay-user / change-me.
QStringList relayLines(const QString& body) {
    const QString date = QLocale::system().toString(kNow.date(), QLocale::ShortFormat);
    return QString(
               "HELO 127.0.0.1|AUTH LOGIN|cmVsYXktdXNlcg==|Y2hhbmdlLW1l|MAIL FROM: relay@x.org|"
               "RCPT TO: <you@x.org>|DATA|From:relay@x.org|To:you@x.org|SUBJECT: Files||%1|"
               "Date at Send %2|Sender Ip :127.0.0.1|Sender Ip :%3|.|QUIT")
        .arg(body, date, QHostInfo::localHostName())
        .split('|');
}

}  // namespace

TEST(frmInternal, LoadStepSendsTheNotification) {
    test::SmtpTestServer server;
    // The server as "host:port", no RelayPort; the log's order needs every reply in before its
    // pause ends.
    Mailer m({{"EmailYN", "1"}, {"EmailServer", server.address()}, {"RelayFrom", "relay@x.org"}},
             5);
    m.window.Form_Load();
    EXPECT_EQ(m.ui.messageTexts(), QStringList{"E-mail notification sent successfully!"});
    EXPECT_EQ(m.window.windowTitle(), "Connect to Server " + server.address());
    // The template's body and the worked example, as logged and sent.
    const QString body = "Hi\n\n" + test::workedExample("\n") + "\n\n";
    // Logged lines and replies are followed by a blank line, the subject is not; each connection
    // logs the greeting; the rows after the body are not logged. The replies to DATA and to "."
    // may arrive in one block.
    const QString log =
        QString(
            "%1|%1|HELO 127.0.0.1|250 localhost|AUTH LOGIN|334 VXNlcm5hbWU6|cmVsYXktdXNlcg==|"
            "334 UGFzc3dvcmQ6|Y2hhbmdlLW1l|235 2.7.0 Authentication successful|MAIL FROM: "
            "relay@x.org|250 2.1.0 OK|RCPT TO: <you@x.org>|250 2.1.5 OK|DATA|From:relay@x.org|"
            "To:you@x.org|SUBJECT: Files\n")
            .arg("220 localhost ESMTP test server ready")
            .replace('|', "\n\n") +
        body + "\n\n354 End data with <CR><LF>.<CR><LF>\n250 2.0.0 Message accepted\n\nquit\n";
    EXPECT_EQ(m.log().replace("<CR><LF>.<CR><LF>\n\n", "<CR><LF>.<CR><LF>\n"), log);
    EXPECT_EQ(server.transcript(), relayLines(QString(body).replace('\n', '|')));
}

TEST(frmInternal, SendOutcomes) {
    const QStringList refused{"HELO 127.0.0.1", "AUTH LOGIN", "cmVsYXktdXNlcg==", "cOk="};
    // The relay's knob, the password (its Windows-1252 bytes go into the Base64), subject and body
    // given, the message and its title, the lines the relay received.
    // clang-format off
    const struct {
        const char *knob, *password, *subject, *body, *message, *title;
        QStringList lines;
    } cases[] = {
        {"", "pé", "Files", "Hi", "Invalid UserName and Password", "Vexaro", refused},
        {"refuse-rcpt", "change-me", "Files", "a\n.\nb", "E-mail notification sent successfully!",
         "Vexaro", relayLines("a|..|b")},
        {"", "change-me", "Files", "", "Enter Some Content to Body", "Vexaro", {}},
        {"", "change-me", "Files\rBcc: x@y", "Hi", "The subject contains a line break. It must "
         "be a single line; nothing was sent.", "Anonymous Mailer", {}}};
    // clang-format on
    for (const auto& c : cases) {
        test::SmtpTestServer server(c.knob);
        Mailer m(server.port());
        m.window.Text1->setText("127.0.0.1");
        m.window.Text4->setText(QString::fromUtf8(c.password));
        m.window.txtTo->setText("you@x.org");
        m.window.txtSub->setText(c.subject);
        m.window.txtBody->setPlainText(c.body);
        m.window.cmdSend_Click();
        ASSERT_EQ(m.ui.messageTexts(), QStringList{c.message});
        EXPECT_EQ(m.ui.messages()[0].title, c.title);
        EXPECT_EQ(server.transcript(), c.lines);
        EXPECT_EQ(m.window.isVisible(), c.lines != refused);  // a refused log-in closes it
    }
}

TEST(frmInternal, NoRelayOrSwitchedOff) {
    Mailer off(1, "0");
    off.window.Form_Load();
    EXPECT_EQ(off.ui.messageTexts(), QStringList{"You have selected not to automatically generate "
                                                 "an e-mail at this time."});
    EXPECT_TRUE(off.ui.ended());
    Mailer m(test::SmtpTestServer().port());  // a port nobody listens on any more
    m.window.Form_Load();
    EXPECT_EQ(m.ui.messageTexts(), QStringList(2, "Connection problem try again."));
    EXPECT_EQ(m.ui.messages()[0].title + "/" + m.ui.messages()[1].title, "Mailer/Anonymous Mailer");
    EXPECT_EQ(m.log(), "");
}

TEST(RelayTls, SessionsAndRefusals) {
    const test::TestCa& ca = test::TestCa::shared();
    ASSERT_TRUE(ca.ok());
    const QString ehlo =
        "EHLO " + ehloArgument(QHostInfo::localHostName(), QHostAddress(QHostAddress::LocalHost));
    const QStringList login{"AUTH LOGIN", "cmVsYXktdXNlcg==", "Y2hhbmdlLW1l"};
    const QStringList envelope{"MAIL FROM:<relay@x.org>", "RCPT TO:<you@x.org>",
                               "RCPT TO:<c@x.org>", "RCPT TO:<b@x.org>", "DATA"};
    // RelayTls, the server's knobs, the password and subject given (the body is "Hi", ".",
    // "there", with "Hé" for a subject outside ASCII), the message shown, the commands the
    // server received up to DATA. The log-in answered late, as real servers do after failed
    // tries: 3 s are 15 of the mailer's seconds, which runs five times faster there.
    // clang-format off
    const struct {
        const char *mode;
        QStringList knobs;
        const char *password, *subject, *message;
        QStringList commands;
    } cases[] = {
        {"starttls", {"starttls"}, "change-me", "Files", "E-mail notification sent successfully!",
         QStringList{ehlo, "STARTTLS", ehlo} + login + envelope},
        {"tls", {"tls"}, "change-me", "Grüße", "E-mail notification sent successfully!",
         QStringList{ehlo} + login + QStringList{envelope[0] + " BODY=8BITMIME"} + envelope.mid(1)},
        {"StartTLS", {"starttls", "plain-only"}, "change-me", "Files",
         "E-mail notification sent successfully!",
         QStringList{ehlo, "STARTTLS", ehlo, "AUTH PLAIN AHJlbGF5LXVzZXIAY2hhbmdlLW1l"} + envelope},
        {"starttls", {"starttls", "refuse-rcpt"}, "change-me", "Files",
         "The mail server refused the recipient you@x.org:\r\n550 5.1.1 Recipient refused",
         QStringList{ehlo, "STARTTLS", ehlo} + login + envelope.mid(0, 2)},
        {"starttls", {"starttls", "auth-delay=3"}, "wrong", "Files",
         "The mail server refused the log-in:\r\n535 5.7.8 Authentication credentials invalid",
         {ehlo, "STARTTLS", ehlo, "AUTH LOGIN", "cmVsYXktdXNlcg==", "d3Jvbmc="}},
        {"tls", {"tls", "no-auth"}, "change-me", "Files",
         "The mail server offers no log-in by AUTH LOGIN or AUTH PLAIN; nothing was sent.",
         {ehlo}},
        {"starttls", {}, "change-me", "Files", "The mail server does not offer STARTTLS, so the "
         "session cannot be encrypted; nothing was sent.", {ehlo}}};
    // clang-format on
    for (const auto& c : cases) {
        test::SmtpTestServer server(c.knobs + QStringList{"cert=" + ca.serverPem()});
        Mailer m(c.mode, server.address(), ca.caFile(), c.knobs.contains("auth-delay=3") ? 5 : 1);
        m.window.GetEmailInfo();
        m.window.Text1->setText(server.address());
        m.window.Text4->setText(c.password);
        m.window.txtSub->setText(QString::fromUtf8(c.subject));
        const bool ascii = isAscii(QString::fromUtf8(c.subject));
        const QString hi = ascii ? "Hi" : "Hé";
        m.window.txtBody->setPlainText(hi + "\n.\nthere");
        m.window.cmdSend_Click();
        const bool sent = QString(c.message).startsWith("E-mail");
        EXPECT_EQ(m.ui.messageTexts(), QStringList{(sent ? "" : kNotSent) + c.message});
        EXPECT_EQ(m.ui.messages()[0].title, "Vexaro");
        EXPECT_TRUE(m.window.isVisible());  // open for another try
        EXPECT_EQ(m.window.failed(), !sent);
        // Up to DATA, or all but the closing QUIT.
        QStringList commands = server.transcript();
        if (commands.contains("DATA"))
            commands = commands.mid(0, commands.indexOf("DATA") + 1);
        else if (!commands.isEmpty() && commands.last() == "QUIT")
            commands.removeLast();
        EXPECT_EQ(commands, c.commands) << c.message;
        const QList<QJsonObject> messages = server.messages();
        ASSERT_EQ(messages.size(), sent ? 1 : 0) << c.message;
        if (!sent) continue;
        const QJsonObject& got = messages[0];
        EXPECT_TRUE(got["encrypted"].toBool());
        EXPECT_EQ(got["to"].toVariant().toStringList(),
                  QStringList({"you@x.org", "c@x.org", "b@x.org"}));
        // The header (no Bcc), the body un-stuffed as it was typed, then the trailer rows.
        const QString data = got["data"].toString().replace("\r\n", "|");
        const QString subject = ascii ? "Files" : "=?UTF-8?B?R3LDvMOfZQ==?=";
        const QString type = ascii ? "us-ascii" : "utf-8|Content-Transfer-Encoding: 8bit";
        const QString expected = "From:relay@x.org|To:you@x.org|SUBJECT: " + subject +
                                 "|Cc: c@x.org|Date: *|Message-ID: <*@x.org>|MIME-Version: 1.0|"
                                 "Content-Type: text/plain; charset=" + type + "||" + hi +
                                 "|.|there|Date at Send *|Sender Ip :127.0.0.1|Sender Ip :*|";
        EXPECT_TRUE(test::like(data, expected)) << data.toStdString();
        EXPECT_TRUE(QRegularExpression("\\|Message-ID: <[0-9a-f]{32}@").match(data).hasMatch());
    }
}

TEST(RelayTls, LoadStepLogAndHostWithPort) {
    const test::TestCa& ca = test::TestCa::shared();
    test::SmtpTestServer server({"starttls", "cert=" + ca.serverPem()});
    Mailer m("starttls", server.address(), ca.caFile());  // "127.0.0.1:port", no RelayPort
    m.window.Form_Load();
    EXPECT_EQ(m.ui.messageTexts(), QStringList{"E-mail notification sent successfully!"});
    EXPECT_EQ(m.window.Text2->text(), "587");
    // Every row followed by the server's reply; the password masked; the message's own rows as
    // the plain dialogue logs them.
    const QString log = m.window.txtStat->toPlainText();
    EXPECT_FALSE(log.contains("Y2hhbmdlLW1l"));
    const QString expected =
        "220 *|220 *|EHLO *|250-*|250 HELP|STARTTLS|220 *|EHLO *|250-*|250 HELP|AUTH LOGIN|334 *|"
        "cmVsYXktdXNlcg==|334 *|(masked)|235 *|MAIL FROM:<relay@x.org>|250 *|RCPT TO:<you@x.org>|"
        "250 *|RCPT TO:<c@x.org>|250 *|RCPT TO:<b@x.org>|250 *|DATA|354 *|From:relay@x.org|"
        "To:you@x.org|SUBJECT: Files|Hi|*|250 2.0.0 Message accepted|quit|221 Bye";
    const QString rows =
        QString(log).replace("********", "(masked)").split('\n', Qt::SkipEmptyParts).join('|');
    EXPECT_TRUE(test::like(rows, expected)) << rows.toStdString();
}

TEST(RelayTls, UnknownCertificateAskedAndPinned) {
    const test::TestCa& ca = test::TestCa::shared();
    const QString fingerprint = net::sha256Fingerprint(ca.serverCertificate());
    // RelayTls, the answer to the question (none: an unattended run, never asked), whether the
    // message went out.
    const std::tuple<const char*, std::optional<Answer>, bool> cases[] = {
        {"tls", Answer::No, false},  {"starttls", Answer::No, false},
        {"tls", Answer::Yes, true},  {"starttls", Answer::Yes, true},
        {"tls", std::nullopt, false}, {"starttls", std::nullopt, false}};
    for (const auto& [mode, answer, sent] : cases) {
        test::SmtpTestServer server({mode, "cert=" + ca.serverPem()});
        Mailer m(mode, server.address(), "");  // the tests' authority is not trusted
        m.ui.setUnattended(!answer);
        m.ui.answerMessage(answer.value_or(Answer::Yes));
        m.window.Form_Load();
        const auto shown = m.ui.messages();
        // Asked once when someone is there, never unattended; the question and the refusal name
        // the server and the certificate.
        ASSERT_FALSE(shown.empty()) << mode;
        EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                                [](const auto& s) { return s.buttons == Buttons::YesNo; }),
                  answer ? 1 : 0) << mode;
        EXPECT_TRUE(shown[0].text.contains(fingerprint) && shown[0].text.contains("127.0.0.1"));
        EXPECT_EQ(m.store.read(kSettingsSection, "RelayTlsPin", ""), sent ? fingerprint : "");
        EXPECT_EQ(server.messages().size(), sent ? 1 : 0) << mode;
        // No: the refusal names the certificate and the setting that would pin it.
        const QString last = shown.back().text;
        EXPECT_TRUE(sent ? last == "E-mail notification sent successfully!"
                         : last.startsWith(kNotSent) && last.contains(fingerprint) &&
                               last.contains("RelayTlsPin") &&
                               last.contains(answer ? "not trusted when asked" : "nobody can be asked"))
            << last.toStdString();
        EXPECT_EQ(m.window.failed(), !sent);
    }
    // Once pinned, no question.
    test::SmtpTestServer server({"tls", "cert=" + ca.serverPem()});
    Mailer m("tls", server.address(), "");
    ASSERT_TRUE(m.store.save(kSettingsSection, "RelayTlsPin", fingerprint.toLower()));
    m.window.Form_Load();
    EXPECT_EQ(m.ui.messageTexts(), QStringList{"E-mail notification sent successfully!"});
}
