// The settings window's file server test against a real FTP server: it logs in, enters the
// access-code folder and logs out, touching nothing, and hands on the server's own reply.
#include "upload/ftp_login_check.h"

#include <gtest/gtest.h>

#include <QDir>

#include "ftp_test_server.h"
#include "qt_printers.h"

using namespace vx;

TEST(FtpLoginCheck, LogsInEntersTheFolderAndReportsTheServersReply) {
    test::FtpTestServer server;
    ASSERT_NE(server.port(), 0);
    QDir().mkpath(server.local("/home/tulpa/public_html/K7QX"));
    struct Case {
        const char* name;
        QString address, password, code;
        bool passive;
        const char* result;  // pattern, '*' for any run of characters
    };
    // clang-format off
    const Case cases[] = {
        {"passive", server.address(), "secret", "K7QX", true,
         "Logged in to 127.0.0.1:* as tulpa, entered /home/tulpa/public_html/K7QX and logged out."},
        {"active", server.address(), "secret", "K7QX", false, "Logged in to *"},
        {"wrong password", server.address(), "wrong", "K7QX", true, "530 *"},
        {"unknown code", server.address(), "secret", "NOPE", true, "Invalid Access Code!\n550 *"},
        {"no server", "127.0.0.1:1", "secret", "K7QX", true, "InternetConnect error code: *"}};
    // clang-format on
    for (const Case& c : cases) {
        const Result<QString> r =
            checkFtpLogin({c.address, "tulpa", c.password, c.passive, c.code});
        const QString shown = r ? r.value() : r.message();
        EXPECT_TRUE(test::like(shown, c.result)) << c.name << ": " << shown.toStdString();
    }
    const QStringList verbs = server.verbs();
    for (const char* verb : {"STOR", "LIST", "MLSD", "DELE", "MKD", "RNFR"})
        EXPECT_FALSE(verbs.contains(verb)) << verb;
    // Every session that logged in logged out; the refused log-in is dropped by the client.
    EXPECT_EQ(verbs.count("QUIT"), 3) << verbs.join(" ").toStdString();
}
