// The internal mailer with "RelayTls" on, against the strict SMTP server on 127.0.0.1 with a
// certificate of the tests' own authority: what the server received and accepted, the status
// log and the messages, for STARTTLS and implicit TLS, refusals and certificate trust.
#include <gtest/gtest.h>

#include <QHostInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>

#include "mail/frmInternal.h"
#include "mail/relay_message.h"
#include "mail_fixtures.h"
#include "net/tls_trust.h"
#include "qt_printers.h"
#include "test_ca.h"

using namespace vx;

namespace {

const QDateTime kNow(QDate(2026, 12, 4), QTime(16, 29, 7));
const QString kNotSent = "The e-mail notification was not sent.\r\n";

struct TlsMailer : test::MailHome {
    frmInternal window;
    TlsMailer(const char* mode, const QString& server, const QString& caFile)
        : MailHome({{"RelayTls", mode},
                    {"EmailServer", server},
                    {"TlsCaFile", caFile},
                    {"RelayFrom", "relay@x.org"}}),
          window(ui, store, source, fixedClock(kNow)) {
        window.show();
    }
};

}  // namespace

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
    // server received up to DATA.
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
        {"starttls", {"starttls"}, "wrong", "Files",
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
        TlsMailer m(c.mode, server.address(), ca.caFile());
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
        const QString type = ascii ? "us-ascii" : "utf-8\\|Content-Transfer-Encoding: 8bit";
        const QString subject = ascii ? "Files" : "=\\?UTF-8\\?B\\?R3LDvMOfZQ==\\?=";
        const QRegularExpression message(
            "^From:relay@x\\.org\\|To:you@x\\.org\\|SUBJECT: " + subject +
            "\\|Cc: c@x\\.org\\|Date: [^|]+\\|Message-ID: <[0-9a-f]{32}@x\\.org>\\|MIME-Version: "
            "1\\.0\\|Content-Type: text/plain; charset=" +
            type + "\\|\\|" + hi +
            "\\|\\.\\|there\\|Date at Send [^|]+\\|Sender Ip :127\\.0\\.0\\.1\\|Sender Ip "
            ":[^|]+\\|$");
        const QString data = got["data"].toString().replace("\r\n", "|");
        EXPECT_TRUE(message.match(data).hasMatch()) << data.toStdString();
    }
}

TEST(RelayTls, LoadStepLogAndHostWithPort) {
    const test::TestCa& ca = test::TestCa::shared();
    test::SmtpTestServer server({"starttls", "cert=" + ca.serverPem()});
    TlsMailer m("starttls", server.address(), ca.caFile());  // "127.0.0.1:port", no RelayPort
    m.window.Form_Load();
    EXPECT_EQ(m.ui.messageTexts(), QStringList{"E-mail notification sent successfully!"});
    EXPECT_EQ(m.window.Text2->text(), "587");
    // Every row followed by the server's reply; the password masked; the message's own rows as
    // the plain dialogue logs them.
    const QStringList log = m.window.txtStat->toPlainText().split('\n', Qt::SkipEmptyParts);
    // Row, and the code of the reply logged right after it.
    const std::pair<const char*, const char*> rows[] = {{"STARTTLS", "220"},
                                                        {"AUTH LOGIN", "334"},
                                                        {"cmVsYXktdXNlcg==", "334"},
                                                        {"********", "235"},
                                                        {"MAIL FROM:<relay@x.org>", "250"},
                                                        {"RCPT TO:<you@x.org>", "250"},
                                                        {"RCPT TO:<b@x.org>", "250"},
                                                        {"DATA", "354"}};
    for (const auto& [row, code] : rows) {
        const qsizetype at = log.indexOf(row);
        ASSERT_TRUE(at >= 0 && at + 1 < log.size()) << row << log.join('|').toStdString();
        EXPECT_TRUE(log[at + 1].startsWith(code)) << row << " " << log[at + 1].toStdString();
    }
    EXPECT_FALSE(m.window.txtStat->toPlainText().contains("Y2hhbmdlLW1l"));
    EXPECT_EQ(log.mid(log.indexOf("DATA") + 2, 2),
              QStringList({"From:relay@x.org", "To:you@x.org"}));
    EXPECT_EQ(log.mid(log.size() - 3),
              QStringList({"250 2.0.0 Message accepted", "quit", "221 Bye"}));
    // The plain dialogue takes "host:port" too.
    test::SmtpTestServer lenient;
    TlsMailer plain("off", lenient.address(), "");
    plain.window.Form_Load();
    EXPECT_EQ(plain.ui.messageTexts(), QStringList{"E-mail notification sent successfully!"});
}

TEST(RelayTls, UnknownCertificateAskedAndPinned) {
    const test::TestCa& ca = test::TestCa::shared();
    const QString fingerprint = net::sha256Fingerprint(ca.serverCertificate());
    // RelayTls, the answer to the question, whether the message went out.
    const std::tuple<const char*, Answer, bool> cases[] = {{"tls", Answer::No, false},
                                                           {"starttls", Answer::No, false},
                                                           {"tls", Answer::Yes, true},
                                                           {"starttls", Answer::Yes, true}};
    for (const auto& [mode, answer, sent] : cases) {
        test::SmtpTestServer server({mode, "cert=" + ca.serverPem()});
        TlsMailer m(mode, server.address(), "");  // the tests' authority is not trusted
        m.ui.answerMessage(answer);
        m.window.Form_Load();
        const auto shown = m.ui.messages();
        ASSERT_GE(shown.size(), 2u) << mode;
        EXPECT_TRUE(shown[0].buttons == Buttons::YesNo && shown[0].text.contains(fingerprint));
        EXPECT_EQ(m.store.read(kSettingsSection, "RelayTlsPin", ""), sent ? fingerprint : "");
        EXPECT_EQ(server.messages().size(), sent ? 1 : 0) << mode;
        // No: the refusal names the certificate and the setting that would pin it.
        const QString last = shown.back().text;
        EXPECT_TRUE(sent ? last == "E-mail notification sent successfully!"
                         : last.startsWith(kNotSent) && last.contains(fingerprint) &&
                               last.contains("RelayTlsPin"))
            << last.toStdString();
        EXPECT_EQ(m.window.failed(), !sent);
    }
    // Once pinned, no question.
    test::SmtpTestServer server({"tls", "cert=" + ca.serverPem()});
    TlsMailer m("tls", server.address(), "");
    ASSERT_TRUE(m.store.save(kSettingsSection, "RelayTlsPin", fingerprint.toLower()));
    m.window.Form_Load();
    EXPECT_EQ(m.ui.messageTexts(), QStringList{"E-mail notification sent successfully!"});
}
