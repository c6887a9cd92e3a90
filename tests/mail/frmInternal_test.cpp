// The internal mailer window against a real SMTP relay on 127.0.0.1: the lines the relay
// received, the status log and the messages. Pauses run five or ten times faster than real time.
#include "mail/frmInternal.h"

#include <gtest/gtest.h>

#include <QHostInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

#include "mail_fixtures.h"
#include "qt_printers.h"

using namespace vx;

namespace {

const QDateTime kNow(QDate(2026, 12, 4), QTime(16, 29, 7));

struct Mailer : test::MailHome {
    frmInternal window;
    explicit Mailer(quint16 port, const char* emailYN = "1", double speed = 10)
        : MailHome({{"EmailYN", emailYN},
                    {"EmailServer", "127.0.0.1"},
                    {"RelayPort", QString::number(port)},
                    {"RelayFrom", "relay@x.org"}}),
          window(ui, store, source, fixedClock(kNow), steadySeconds(speed)) {
        window.show();
    }
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
    Mailer m(server.port(), "1", 5);  // the log's order needs every reply in before its pause ends
    m.window.Form_Load();
    EXPECT_EQ(m.ui.messageTexts(), QStringList{"E-mail notification sent successfully!"});
    EXPECT_EQ(m.window.windowTitle(), "Connect to Server 127.0.0.1");
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
