// The notification window: its load step by the switch, the direct SMTP send against a real
// server on 127.0.0.1 (waits twenty times faster than real time), its access keys and saving.
#include "mail/frmEmail.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "mail_fixtures.h"
#include "qt_printers.h"

using namespace vx;

namespace {

struct Notifier : test::MailHome {
    frmEmail window{ui, store, source, steadySeconds(20)};
    explicit Notifier(const char* key = "EmailYN", const char* emailYN = "1")
        : MailHome({{key, emailYN}}) {}
    void fill(const QString& server, const QString& subject, const QString& message) {
        window.txtServerDomain->setText(server);
        window.txtFromEmail->setText("me@x.org");
        window.txtToEmail->setText("you@x.org");
        window.txtSubject->setText(subject);
        window.txtMessage->setPlainText(message);
    }
};

}  // namespace

TEST(frmEmail, LoadStepBySwitch) {
    const QString address = "mailto:you@x.org?subject=Files&body=Hi%0A" + QString(33, '-') +
                            "%0A%0A" + test::workedExample("%0A") + "&cc=c@x.org&bcc=b@x.org";
    const QString ask = QStringLiteral(
        "You have selected not to automatically generate an email to your recipient, would you "
        "like to generate one anyway?");
    // The switch's key ("Other" leaves it absent), the answer to the question, the messages.
    const struct {
        const char* key;
        std::optional<Answer> answer;
        QStringList messages;
    } cases[] = {{"EmailYN", {}, {}},
                 {"Other", {}, {}},
                 {"EmailYN", Answer::Yes, {ask}},
                 {"EmailYN", Answer::No, {ask, "File compressed and uploaded!"}}};
    for (const auto& c : cases) {
        Notifier n(c.key, c.answer ? "0" : "1");
        if (c.answer) n.ui.answerMessage(*c.answer);
        n.window.Form_Load();
        EXPECT_EQ(n.ui.messageTexts(), c.messages);
        const bool ended = c.answer == Answer::No;
        EXPECT_EQ(n.ui.opened(), ended ? QStringList() : QStringList{address});
        EXPECT_EQ(n.ui.ended(), ended);
    }
}

TEST(frmEmail, DirectSendAgainstServers) {
    const QString timeout = "Error:\r\nSMTP service timed out while waiting for response!";
    const QString head =
        "HELO 127.0.0.1|MAIL FROM: <me@x.org>|RCPT TO: <you@x.org>|data|From: "
        "me@x.org|X-Mailer: Quillon SMTP Mailer|To: you@x.org|Subject: Files||";
    // The server's knob, the subject and message sent, the body lines the server received ("|"
    // between them; nullptr: it received nothing), the messages shown.
    // clang-format off
    const struct {
        const char *knob, *subject, *message, *received;
        QStringList messages;
    } cases[] = {
        {"", "Files", "Hi\r\nall\n.\rRCPT TO: <evil@x.org>\r\n.x",
         "Hi|all|..|RCPT TO: <evil@x.org>|..x", {}},
        {"refuse-rcpt", "Files", "Hi", "Hi", {"Error:\r\nImproper response code received: "
                                              "550 5.1.1 Recipient refused\r\nExpected code: 250"}},
        {"silent", "Files", "Hi", "Hi", QStringList(7, timeout)},
        {"", "Files\nBcc: x@y", "Hi", nullptr,
         {"The subject contains a line break. It must be a single line; nothing was sent."}}};
    // clang-format on
    for (const auto& c : cases) {
        test::SmtpTestServer server(c.knob);
        Notifier n;
        n.fill(server.address(), c.subject, c.message);
        n.window.cmdSend_Click();
        EXPECT_EQ(n.ui.messageTexts(), c.messages);
        for (const auto& shown : n.ui.messages())
            EXPECT_TRUE(shown.title == "SMTP Service Error" && shown.icon == Icon::Exclamation);
        EXPECT_EQ(n.window.smtp.w.state(), QAbstractSocket::UnconnectedState);
        const QString all = head + c.received + "|.|quit";
        EXPECT_EQ(server.transcript(), c.received ? all.split('|') : QStringList()) << c.message;
    }
}

TEST(frmEmail, AccessKeysReachTheHiddenButtonsAndSave) {
    test::SmtpTestServer server;
    Notifier n;
    n.window.show();
    QApplication::setActiveWindow(&n.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&n.window));
    EXPECT_FALSE(
        n.window.rect().intersects(n.window.cmdSend->geometry() | n.window.cmdExit->geometry()));
    n.fill(server.address(), "Files", "Hi");
    // A button answers its access key with an animated click that lands a moment later.
    for (auto [key, button] :
         {std::pair{Qt::Key_S, n.window.cmdSend}, {Qt::Key_A, n.window.Command1}}) {
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keyClick(&n.window, key, Qt::AltModifier);
        ASSERT_TRUE(clicked.wait(5000));
    }
    EXPECT_EQ(server.transcript().value(0), "HELO 127.0.0.1");
    EXPECT_EQ(n.ui.messageTexts(), QStringList{"Settings Saved!"});
    EXPECT_FALSE(n.window.isVisible());
    QStringList saved;  // the box was never ticked
    for (const char* key : {"EmailServer", "User", "ToEmail", "EmailYN"})
        saved << n.store.read(kSettingsSection, key, "absent");
    EXPECT_EQ(saved, QStringList({server.address(), "me@x.org", "you@x.org", "0"}));
    n.window.cmdExit_Click();
    EXPECT_TRUE(n.ui.ended());
}

TEST(frmEmail, FromAndSubjectBoxesAreShownLabelledInTheMainFrame) {
    Notifier n;
    n.window.show();
    for (const auto& [box, label] :
         {std::pair{n.window.txtFrom, "From:"}, {n.window.txtSub, "Subject:"}}) {
        const auto* frame = qobject_cast<QGroupBox*>(box->parentWidget());
        const auto* form = frame ? qobject_cast<QFormLayout*>(frame->layout()) : nullptr;
        ASSERT_TRUE(box->isVisible() && form) << label;
        const auto* shown = qobject_cast<QLabel*>(form->labelForField(box));
        EXPECT_EQ(frame->title() + "/" + (shown ? shown->text() : QString("none")),
                  QString("Main/") + label);
    }
}
