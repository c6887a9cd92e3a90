// The notification window: its load step by the switch, saving the settings, and the direct
// send reached by its access key against a real SMTP server on 127.0.0.1.
#include "mail/frmEmail.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "mail_fixtures.h"
#include "qt_printers.h"

using namespace vx;

TEST(frmEmail, LoadStepBySwitch) {
    const QString address = QStringLiteral(
        "mailto:you@x.org?subject=Files&body=Hi%0A---------------------------------%0A%0ASomeone"
        " using Vexaro has sent you a file too large for email.%0A%0AYou can download this file "
        "by clicking the following link below.%0A%0Ahttp://files.test/users/tulpa/K7QX/"
        "12042026-162907.uzp%0A%0AIf you would like to download Vexaro Free Edition, please visit"
        " the URL "
        "below:%0A%0Ahttp://files.test/downloads/apps/tulpa/setup.exe&cc=c@x.org&bcc=b@x.org");
    const QString ask = QStringLiteral(
        "You have selected not to automatically generate an email to your recipient, would you "
        "like to generate one anyway?");
    struct {
        const char* emailYN;  // "absent": no key
        std::optional<Answer> answer;
        QStringList messages;
        bool opened, ended;
    } cases[] = {{"1", {}, {}, true, false},
                 {"absent", {}, {}, true, false},
                 {"0", Answer::Yes, {ask}, true, false},
                 {"0", Answer::No, {ask, "File compressed and uploaded!"}, false, true}};
    for (const auto& c : cases) {
        test::MailHome h({{strcmp(c.emailYN, "absent") ? "EmailYN" : "Other", c.emailYN}});
        frmEmail window(h.ui, h.store, h.source);
        if (c.answer) h.ui.answerMessage(*c.answer);
        window.Form_Load();
        EXPECT_EQ(h.ui.messageTexts(), c.messages);
        EXPECT_EQ(h.ui.opened(), c.opened ? QStringList{address} : QStringList());
        EXPECT_EQ(h.ui.ended(), c.ended);
    }
}

TEST(frmEmail, SaveWritesTheFourKeys) {
    test::MailHome h({{"EmailYN", "1"}});
    frmEmail window(h.ui, h.store, h.source);
    window.show();
    window.txtServerDomain->setText("mail.x.org");
    window.txtToEmail->setText(" to@x.org, x;y\\z ");
    window.Command1_Click();
    EXPECT_EQ(h.ui.messageTexts(), QStringList{"Settings Saved!"});
    EXPECT_FALSE(window.isVisible());
    QStringList saved;
    for (const char* key : {"EmailServer", "User", "ToEmail", "EmailYN"})
        saved << h.store.read(kSettingsSection, key, "absent");
    EXPECT_EQ(saved, QStringList({"mail.x.org", "", " to@x.org, x;y\\z ", "0"}));  // box unticked
}

TEST(frmEmail, HiddenButtonsAnswerTheirAccessKeys) {
    test::SmtpTestServer server;
    test::MailHome h({});
    frmEmail window(h.ui, h.store, h.source, steadySeconds(20));
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_FALSE(window.rect().intersects(window.cmdSend->geometry() | window.cmdExit->geometry()));
    window.txtServerDomain->setText(server.address());
    window.txtFromEmail->setText("me@x.org");
    window.txtToEmail->setText("you@x.org");
    window.txtSubject->setText("Files");
    // A button answers its access key with an animated click that lands a moment later.
    for (auto [key, button] : {std::pair{Qt::Key_S, window.cmdSend}, {Qt::Key_X, window.cmdExit}}) {
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keyClick(&window, key, Qt::AltModifier);
        ASSERT_TRUE(clicked.wait(5000));
    }
    EXPECT_EQ(server.transcript().mid(7), QStringList({"Subject: Files", "", "", ".", "quit"}));
    EXPECT_TRUE(h.ui.messageTexts().isEmpty() && h.ui.ended() && !window.isVisible());
}
