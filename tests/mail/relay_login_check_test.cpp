// The settings window's relay test against the SMTP test server: it goes as far as a successful
// AUTH LOGIN, then says QUIT; a refusal or silence comes back with the relay's own reply.
#include "mail/relay_login_check.h"

#include <gtest/gtest.h>

#include "mail_fixtures.h"
#include "qt_printers.h"

using namespace vx;

TEST(RelayLoginCheck, StopsAfterTheLogInAndNamesTheStepThatFailed) {
    // The case, the server's knob, the port (nullptr: the server's), the password, the result
    // (%1: the server's port) and the transcript from the AUTH line on.
    struct Case {
        const char *name, *knob, *port, *password;
        QString result;
        QStringList transcript;
    };
    const QStringList login = {"AUTH LOGIN", "cmVsYXktdXNlcg=="};
    // clang-format off
    const Case cases[] = {
        {"good", "", nullptr, "change-me", "Logged in to the relay 127.0.0.1:%1 as relay-user and quit.",
         login + QStringList{"Y2hhbmdlLW1l", "QUIT"}},
        {"wrong password", "", nullptr, "nope",
         "At the password the relay answered:\n535 5.7.8 Authentication credentials invalid",
         login + QStringList{"bm9wZQ=="}},
        {"silent", "silent", nullptr, "change-me", "At the greeting the relay answered:\n"
         "The relay did not answer.", {}},
        {"no number", "", "25x", "change-me", "The port \"25x\" is not a number from 1 to 65535.", {}},
        {"nobody there", "", "1", "change-me", "No connection to 127.0.0.1:1: Connection refused", {}}};
    // clang-format on
    for (const Case& c : cases) {
        test::SmtpTestServer server(c.knob);
        ASSERT_NE(server.port(), 0);
        const QString port = c.port ? QString(c.port) : QString::number(server.port());
        const Result<QString> r =
            checkRelayLogin({"127.0.0.1", port, "relay-user", c.password}, 20, steadySeconds(20));
        const QString shown = r ? r.value() : r.message();
        EXPECT_EQ(shown, c.result.contains("%1") ? c.result.arg(port) : c.result) << c.name;
        const QStringList lines = server.transcript();
        const qsizetype auth = lines.indexOf("AUTH LOGIN");
        EXPECT_EQ(auth < 0 ? QStringList() : lines.mid(auth), c.transcript) << c.name;
        if (!c.transcript.isEmpty()) EXPECT_TRUE(lines.value(0).startsWith("HELO ")) << c.name;
    }
}
