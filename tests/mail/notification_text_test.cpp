// The link in the composed notification by archive name and switch (the worked example is checked
// whole in both forms by the two windows' tests); the access code file.
#include "mail/notification_text.h"

#include <gtest/gtest.h>

#include "mail/access_code.h"
#include "mail_fixtures.h"
#include "qt_printers.h"

using namespace vx;

TEST(NotificationText, LinkByArchiveNameAndSwitch) {
    // The archive, EncryptYN (nullptr: absent) and the file name in the link.
    const struct {
        const char *archive, *encrypt, *link;
    } cases[] = {{"/a/1.zip", "0", "1.zip"},     {"/a/1.zip", "1.0", "1.uzp"},
                 {"/a/a.b.zip", "2", "a.b.zip"}, {"/a/a.b.zip", "1", "a.b.uzp"},
                 {"/a/noext", "1", "noext.uzp"}, {"/a/x.zip", nullptr, "x.uzp"}};
    for (const auto& c : cases) {
        test::MailHome m({});
        if (c.encrypt) (void)m.store.save(kSettingsSection, "EncryptYN", c.encrypt);
        const QString body =
            composeEmailInfo(BodyForm::Smtp, c.archive, "K7QX", m.home.file("none.ini"), m.store)
                .body;
        // The template is absent: the paragraph alone, its parts between blank lines.
        const QStringList parts = body.split("\r\n\r\n");
        EXPECT_TRUE(parts.size() == 7 && parts[0].isEmpty() && parts[6].isEmpty())
            << body.toStdString();
        EXPECT_EQ(parts.value(3), QString("http://files.test/users/tulpa/K7QX/") + c.link);
    }
}

TEST(AccessCode, LastItemOfTheFile) {
    // The file's text (nullptr: there is no file) and the code read.
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"first,second,K7QX\r\n", "K7QX"}, {"old\r\n   new  \r\n", "new"}, {"\"K 7,Q\"", "K 7,Q"},
        {"  \"quoted\" rest", "quoted"},   {"\"a\" junk, b", "b"},         {"K7\n\n  \n", "K7"},
        {"a\rb", "b"},                     {"K7QX,", ""},                  {"", ""},
        {nullptr, ""}};
    // clang-format on
    for (const auto& [text, code] : cases) {
        test::TempHome home;
        if (text) home.write(kAccessCodeFile, text);
        EXPECT_EQ(accessCodeBesideProgram(), code) << (text ? text : "no file");
        EXPECT_EQ(readAccessCode(home.file(kAccessCodeFile)).isOk(), text != nullptr);
    }
}
