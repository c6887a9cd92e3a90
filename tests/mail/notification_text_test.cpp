// The composed notification in its SMTP form and its edge cases (the mail-program form of the
// worked example is checked whole in the address frmEmail hands off); the access code file.
#include "mail/notification_text.h"

#include <gtest/gtest.h>

#include "mail_fixtures.h"
#include "qt_printers.h"

using namespace vx;

TEST(NotificationText, BodyAndLinkByTemplateAndSwitch) {
    const QByteArray hi = "[Email Settings]\nTO=a@x.org\nSUBJECT=S\nBODY=Hi\n";
    const QByteArray cut = "[Email Settings]\nBODY=" + QByteArray(300, 'x') + "\n";
    // The form, the archive, EncryptYN (nullptr: absent), the template, how the body starts (whole
    // in the first row) and the file name in the link.
    // clang-format off
    const struct {
        BodyForm form;
        const char *archive, *encrypt;
        QByteArray ini;
        QString body;
        const char* link;
    } cases[] = {
        {BodyForm::Smtp, "/a/12042026-162907.zip", nullptr, hi,
         "Hi\r\n\r\n" + test::workedExample("\r\n") + "\r\n\r\n", "12042026-162907.uzp"},
        {BodyForm::Smtp, "/a/1.zip", "0", "", "\r\n\r\nSomeone", "1.zip"},
        {BodyForm::MailProgram, "/a/1.zip", "1.0", "", "%0A---------------------------------%0A%0A",
         "1.uzp"},
        {BodyForm::Smtp, "/a/a.b.zip", "2", cut, QString(254, 'x') + "\r\n\r\nSomeone", "a.b.zip"},
        {BodyForm::Smtp, "/a/a.b.zip", "1", cut, QString(254, 'x') + "\r\n\r\nSomeone", "a.b.uzp"}};
    // clang-format on
    for (const auto& c : cases) {
        test::TempHome home;
        SettingsStore store(home.file("TULPAREG.conf"));
        (void)store.save(kSettingsSection, "DownloadSiteBase", "http://files.test/");
        if (c.encrypt) (void)store.save(kSettingsSection, "EncryptYN", c.encrypt);
        const QString ini = home.write("settings.ini", c.ini);
        const EmailInfo info = composeEmailInfo(c.form, c.archive, "K7QX", ini, store);
        EXPECT_TRUE(info.body.startsWith(c.body)) << info.body.toStdString();
        EXPECT_TRUE(info.body.contains(QString("/users/tulpa/K7QX/") + c.link)) << c.link;
        EXPECT_EQ(info.to + info.subject, c.ini == hi ? "a@x.orgS" : "");
    }
    EXPECT_EQ(ChangeFileExt("noext", "uzp"), "noext.uzp");
}

TEST(AccessCode, LastItemOfTheFile) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"first,second,K7QX\r\n", "K7QX"}, {"old\r\n   new  \r\n", "new"}, {"\"K 7,Q\"", "K 7,Q"},
        {"  \"quoted\" rest", "quoted"},   {"\"a\" junk, b", "b"},         {"K7\n\n  \n", "K7"},
        {"a\rb", "b"},                     {"K7QX,", ""},                  {"", ""}};
    // clang-format on
    for (const auto& [text, code] : cases) {
        test::TempHome home;
        home.write(kAccessCodeFile, text);
        EXPECT_EQ(accessCodeBesideProgram(), code) << text;
    }
    test::TempHome empty;
    EXPECT_EQ(accessCodeBesideProgram(), "");
    EXPECT_FALSE(readAccessCode(empty.file(kAccessCodeFile)).isOk());
}
