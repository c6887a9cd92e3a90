// The plain sender against a real SMTP server on 127.0.0.1: the lines the server received and
// the messages the user saw. Waits run twenty times faster than real time.
#include "mail/smtp_sender.h"

#include <gtest/gtest.h>

#include "mail_fixtures.h"
#include "qt_printers.h"

using namespace vx;

TEST(SmtpSender, DialogueAgainstServers) {
    const QString timeout = "Error:\r\nSMTP service timed out while waiting for response!";
    const QStringList head{
        "HELO 127.0.0.1", "MAIL FROM: <me@x.org>", "RCPT TO: <you@x.org>",
        "data",           "From: me@x.org",        "X-Mailer: Quillon SMTP Mailer",
        "To: you@x.org",  "Subject: Files",        ""};
    struct {
        QStringList knobs;
        const char* subject;
        const char* body;
        QStringList bodyLines;  // as received; empty: nothing received at all
        QStringList messages;
    } cases[] = {
        {{}, "Files", "Hello\r\nBye", {"Hello", "Bye"}, {}},
        {{}, "Files", "", {""}, {}},
        {{},
         "Files",
         "a\n.\rRCPT TO: <evil@x.org>\r\n.x",
         {"a", "..", "RCPT TO: <evil@x.org>", "..x"},
         {}},
        {{"refuse-rcpt"},
         "Files",
         "Hello",
         {"Hello"},
         {"Error:\r\nImproper response code received: 550 5.1.1 Recipient refused\r\n"
          "Expected code: 250"}},
        {{"silent"}, "Files", "Hello", {"Hello"}, QStringList(7, timeout)},
        {{},
         "Files\r\nBcc: x@y",
         "Hello",
         {},
         {"The subject contains a line break. It must be a single line; nothing was sent."}}};
    for (const auto& c : cases) {
        test::SmtpTestServer server(c.knobs);
        ASSERT_NE(server.port(), 0);
        test::ScriptedUi ui;
        SmtpSender sender(ui, steadySeconds(20));
        sender.SendEmail(server.address(), "me@x.org", "you@x.org", c.subject, c.body);
        EXPECT_EQ(ui.messageTexts(), c.messages);
        for (const auto& shown : ui.messages())
            EXPECT_TRUE(shown.title == kSmtpErrorTitle && shown.icon == Icon::Exclamation);
        EXPECT_EQ(sender.w.state(), QAbstractSocket::UnconnectedState);
        const QStringList all = head + c.bodyLines + QStringList{".", "quit"};
        EXPECT_EQ(server.transcript(), c.bodyLines.isEmpty() ? QStringList() : all) << c.body;
    }
}
