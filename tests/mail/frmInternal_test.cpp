// The internal mailer window against a real SMTP relay on 127.0.0.1: the lines the relay
// received, the status log and the messages. Pauses run ten times faster than real time.
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
    explicit Mailer(quint16 port, const char* emailYN = "1")
        : MailHome({{"EmailYN", emailYN},
                    {"EmailServer", "127.0.0.1"},
                    {"EncryptYN", "0"},
                    {"RelayPort", QString::number(port)},
                    {"RelayFrom", "relay@x.org"}}),
          window(ui, store, source, fixedClock(kNow), steadySeconds(10)) {
        window.show();
    }
    QString log() const { return window.txtStat->toPlainText(); }
};

QStringList relayLines(const QStringList& body) {
    return QStringList{"HELO 127.0.0.1",
                       "AUTH LOGIN",
                       "cmVsYXktdXNlcg==",
                       "Y2hhbmdlLW1l",
                       "MAIL FROM: relay@x.org",
                       "RCPT TO: <you@x.org>",
                       "DATA",
                       "From:relay@x.org",
                       "To:you@x.org",
                       "SUBJECT: Files",
                       ""} +
           body +
           QStringList{
               "Date at Send " + QLocale::system().toString(kNow.date(), QLocale::ShortFormat),
               "Sender Ip :127.0.0.1", "Sender Ip :" + QHostInfo::localHostName(), ".", "QUIT"};
}

}  // namespace

TEST(frmInternal, LoadStepSendsTheNotification) {
    test::SmtpTestServer server;
    Mailer m(server.port());
    m.window.Form_Load();
    EXPECT_EQ(m.ui.messageTexts(), QStringList{"E-mail notification sent successfully!"});
    EXPECT_EQ(m.window.windowTitle(), "Connect to Server 127.0.0.1");
    const QString body = m.window.txtBody->toPlainText();
    EXPECT_TRUE(body.startsWith("Hi\n\nSomeone") && body.contains("K7QX/12042026-162907.zip\n"));
    // Every logged line and reply is followed by a blank line, except the subject; each connection
    // logs the greeting; the rows after the body are not logged.
    const QString greeting = "220 localhost ESMTP test server ready\n\n";
    const QString head = greeting + greeting +
                         "HELO 127.0.0.1\n\n250 localhost\n\nAUTH LOGIN\n\n334 VXNlcm5hbWU6\n\n"
                         "cmVsYXktdXNlcg==\n\n334 UGFzc3dvcmQ6\n\nY2hhbmdlLW1l\n\n"
                         "235 2.7.0 Authentication successful\n\nMAIL FROM: relay@x.org\n\n"
                         "250 2.1.0 OK\n\nRCPT TO: <you@x.org>\n\n250 2.1.5 OK\n\nDATA\n\n"
                         "From:relay@x.org\n\nTo:you@x.org\n\nSUBJECT: Files\n" +
                         body + "\n\n";
    ASSERT_TRUE(m.log().startsWith(head)) << m.log().toStdString();
    // The replies to DATA and to "." may arrive in one block.
    EXPECT_EQ(m.log().mid(head.size()).replace("\n\n", "\n"),
              "354 End data with <CR><LF>.<CR><LF>\n250 2.0.0 Message accepted\nquit\n");
    EXPECT_EQ(server.transcript(), relayLines(body.split('\n')));
}

TEST(frmInternal, SendOutcomes) {
    struct {
        QStringList knobs;
        const char* subject;
        const char* body;
        const char* message;
        const char* title;
        QStringList lines;  // received by the relay
    } cases[] = {{{"password=other"},
                  "Files",
                  "Hi",
                  "Invalid UserName and Password",
                  "Vexaro",
                  relayLines({}).mid(0, 4)},
                 {{"refuse-rcpt"},
                  "Files",
                  "a\n.\nb",
                  "E-mail notification sent successfully!",
                  "Vexaro",
                  relayLines({"a", "..", "b"})},
                 {{}, "Files", "", "Enter Some Content to Body", "Vexaro", {}},
                 {{},
                  "Files\r\nBcc: x@y",
                  "Hi",
                  "The subject contains a line break. It must be a single line; nothing was sent.",
                  "Anonymous Mailer",
                  {}}};
    for (const auto& c : cases) {
        test::SmtpTestServer server(c.knobs);
        Mailer m(server.port());
        m.window.Text1->setText("127.0.0.1");
        m.window.txtTo->setText("you@x.org");
        m.window.txtSub->setText(c.subject);
        m.window.txtBody->setPlainText(c.body);
        m.window.cmdSend_Click();
        ASSERT_EQ(m.ui.messageTexts(), QStringList{c.message});
        EXPECT_EQ(m.ui.messages()[0].title, c.title);
        EXPECT_EQ(server.transcript(), c.lines);
        EXPECT_EQ(m.window.isVisible(), c.knobs != QStringList{"password=other"});
        EXPECT_EQ(m.log().contains("MAIL FROM: "), c.knobs == QStringList{"refuse-rcpt"});
    }
}

TEST(frmInternal, NoRelayOrSwitchedOff) {
    Mailer off(1, "0");
    off.window.Form_Load();
    EXPECT_EQ(
        off.ui.messageTexts(),
        QStringList{"You have selected not to automatically generate an e-mail at this time."});
    EXPECT_TRUE(off.ui.ended());

    quint16 closedPort = test::SmtpTestServer().port();
    Mailer m(closedPort);
    m.window.Form_Load();
    EXPECT_EQ(m.ui.messageTexts(), QStringList(2, "Connection problem try again."));
    EXPECT_EQ(m.ui.messages()[0].title, "Mailer");
    EXPECT_EQ(m.ui.messages()[1].title, "Anonymous Mailer");
    EXPECT_EQ(m.ui.messages()[1].icon, Icon::Critical);
    EXPECT_EQ(m.log(), "");
    EXPECT_EQ(leadingNumber(" 25abc") + leadingNumber("x1") + leadingNumber(""), 25);
}
