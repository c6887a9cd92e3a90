// The composed notification in its SMTP form and its edge cases (the mail-program form of the
// worked example is checked whole in the address frmEmail hands off); the access code file.
#include "mail/notification_text.h"

#include <gtest/gtest.h>

#include "qt_printers.h"
#include "settings/settings_store.h"
#include "temp_home.h"

using namespace vx;

TEST(NotificationText, BodyAndLinkByTemplateAndSwitch) {
    const QByteArray hi = "[Email Settings]\nTO=a@x.org\nSUBJECT=S\nBODY=Hi\n";
    const QByteArray cut = "[Email Settings]\nBODY=" + QByteArray(300, 'x') + "\n";
    struct {
        BodyForm form;
        const char* archive;
        const char* encrypt;  // nullptr: absent
        QByteArray ini;
        QString body;  // its start, up to the link, or whole when ending with the setup link
    } cases[] = {
        {BodyForm::Smtp, "/a/12042026-162907.zip", nullptr, hi,
         "Hi\r\n\r\nSomeone using Vexaro has sent you a file too large for email.\r\n\r\nYou can "
         "download this file by clicking the following link below.\r\n\r\nhttp://files.test/users/"
         "tulpa/K7QX/12042026-162907.uzp\r\n\r\nIf you would like to download Vexaro Free Edition, "
         "please visit the URL "
         "below:\r\n\r\nhttp://files.test/downloads/apps/tulpa/setup.exe\r\n\r\n"},
        {BodyForm::Smtp, "/a/1.zip", "0", "", "\r\n\r\nSomeone"},
        {BodyForm::MailProgram, "/a/1.zip", "1.0", "",
         "%0A---------------------------------%0A%0A"},
        {BodyForm::Smtp, "/a/a.b.zip", "2", cut, QString(254, 'x') + "\r\n\r\nSomeone"},
        {BodyForm::Smtp, "/a/a.b.zip", "1", cut, QString(254, 'x') + "\r\n\r\nSomeone"}};
    const char* links[] = {"12042026-162907.uzp", "1.zip", "1.uzp", "a.b.zip", "a.b.uzp"};
    for (size_t i = 0; i < std::size(cases); ++i) {
        test::TempHome home;
        SettingsStore store(home.file("TULPAREG.conf"));
        (void)store.save(kSettingsSection, "DownloadSiteBase", "http://files.test/");
        if (cases[i].encrypt) (void)store.save(kSettingsSection, "EncryptYN", cases[i].encrypt);
        const QString ini = home.write("settings.ini", cases[i].ini);
        const EmailInfo info =
            composeEmailInfo(cases[i].form, cases[i].archive, "K7QX", ini, store);
        EXPECT_TRUE(info.body.startsWith(cases[i].body)) << info.body.toStdString();
        EXPECT_TRUE(info.body.contains(QString("/users/tulpa/K7QX/") + links[i])) << links[i];
        EXPECT_EQ(info.to + info.subject, i == 0 ? "a@x.orgS" : "");
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
