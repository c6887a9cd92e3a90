// Settings store: values exactly as written by hand, names matched without regard to case, saves
// that change one line and keep the rest, secrets in a keyring. (Switch values as numbers are
// checked through what the settings window saves and the link of the notification.)
#include "settings/settings_store.h"
#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <QFile>

#include "memory_keyring.h"
#include "qt_printers.h"
#include "temp_home.h"

using namespace vx;

TEST(SettingsStore, HandWrittenValuesComeBackExactlyAsWritten) {
    test::TempHome home;
    const SettingsStore store(home.write("TULPAREG.conf",
                                         "; edited by hand\r\n[settings]\r\nEncryptKey=ab,cd\r\n"
                                         "Mailer=x;y\nRelayPassword=ab\\cd\nencryptyn=0\n"
                                         "  User =  \"quoted\" \nToEmail=\n[Other]\nEmailYN=7\n"));
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"EncryptKey", "ab,cd"}, {"mailer", "x;y"}, {"RelayPassword", "ab\\cd"}, {"EncryptYN", "0"},
        {"USER", "  \"quoted\" "}, {"ToEmail", ""}, {"EmailYN", "absent"}};
    // clang-format on
    for (const auto& [key, value] : cases)
        EXPECT_EQ(store.read(kSettingsSection, key, "absent"), value) << key;
    EXPECT_EQ(SettingsStore(home.file("none.conf")).read(kSettingsSection, "User", "d"), "d");
    EXPECT_FALSE(QFile::exists(home.file("none.conf")));
}

// A value that a line cannot hold is refused: checked with the settings window's values.
TEST(SettingsStore, SavesMakeTheFolder) {
    test::TempHome home;
    SettingsStore fresh(home.file("sub/TULPAREG.conf"));  // the folder is made on first save
    ASSERT_TRUE(fresh.save(kSettingsSection, "User", "ann"));
    EXPECT_EQ(test::readFile(fresh.filePath()), "[Settings]\nUser=ann\n");
    SettingsStore blocked(fresh.filePath() + "/inner.conf");  // its folder is a file
    EXPECT_FALSE(blocked.save(kSettingsSection, "User", "ann"));
}

TEST(SettingsStore, SavingKeepsEveryOtherLineByteForByte) {
    // clang-format off
    const struct { const char* before; const char* key; const char* value; const char* after; } rows[] = {
        {"; x\r\n[Settings]\r\nUser=a\r\n[Other]\nX=1\n", "User", "b", "; x\r\n[Settings]\r\nUser=b\r\n[Other]\nX=1\n"},
        {"[Settings]\r\nUser=a\r\n\r\n[B]\r\n", "ToEmail", "t", "[Settings]\r\nUser=a\r\nToEmail=t\r\n\r\n[B]\r\n"},
        {"[Settings]\nUser=a", "ToEmail", "t", "[Settings]\nUser=a\nToEmail=t\n"},
        {"[Settings]\r\nUser=a\r", "ToEmail", "t", "[Settings]\r\nUser=a\rToEmail=t\r\n"},
        {"[B]\r\nX=1", "User", "u", "[B]\r\nX=1\r\n[Settings]\r\nUser=u\r\n"},
        {"[Settings]\nUser=Gr\xfc\xdf" "e\n", "ToEmail", "\xc3\xa9", "[Settings]\nUser=Gr\xfc\xdf" "e\nToEmail=\xe9\n"},
        {"[Settings]\nUser=Gr\xfc\xdf" "e\n", "ToEmail", "\xc4\x81", "[Settings]\nUser=Gr\xc3\xbc\xc3\x9f" "e\nToEmail=\xc4\x81\n"},
        // Without its one line that is not UTF-8, the rest would read as UTF-8 ("é" for "Ã©").
        {"[Settings]\nUser=\xff\nNote=\xc3\xa9\n", "User", "b", "[Settings]\nUser=b\nNote=\xc3\x83\xc2\xa9\n"},
        {"; m\n[Settings]\nemailyn=1\nK=a,b\n\n[O]\nX=1\n", "EmailYN", "0", "; m\n[Settings]\nEmailYN=0\nK=a,b\n\n[O]\nX=1\n"},
        {"[Settings]\nK=1\n\n[O]\n", "ToEmail", "a;b\\c", "[Settings]\nK=1\nToEmail=a;b\\c\n\n[O]\n"},
        {"", "User", "a", "[Settings]\nUser=a\n"}};
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(iniWithValue(r.before, kSettingsSection, r.key, QString::fromUtf8(r.value)).value_or("-"),
                  QByteArray(r.after))
            << r.before;
}

TEST(SettingsStore, TheFileIsTheUsersAloneAndKeepsItsMode) {
    test::TempHome home;
    using P = QFileDevice;
    // Owner, group and others.
    const auto mode = [](const QString& path) { return int(QFile::permissions(path) & 0x7077); };
    SettingsStore fresh(home.file("fresh.conf"));  // made by the first save, then rewritten
    ASSERT_TRUE(fresh.save(kSettingsSection, "RelayPassword", "pw"));
    ASSERT_TRUE(fresh.save(kSettingsSection, "FtpPassword", "pw"));
    EXPECT_EQ(mode(fresh.filePath()), P::ReadOwner | P::WriteOwner);
    const QString mine = home.write("mine.conf", "[Settings]\n");  // a mode given by hand stays
    const int given = P::ReadOwner | P::WriteOwner | P::ReadGroup;
    QFile::setPermissions(mine, P::Permissions(given));
    ASSERT_TRUE(SettingsStore(mine).save(kSettingsSection, "FtpPassword", "pw"));
    EXPECT_EQ(mode(mine), given);
}

using test::MemoryKeyring;

TEST(SettingsStore, WithAKeyringTheSecretsLiveThereAndHandWrittenOnesStillCount) {
    test::TempHome home;
    auto ring = std::make_shared<MemoryKeyring>();
    const QString file = home.write("TULPAREG.conf", "[Settings]\nrelaypassword=by hand\n");
    SettingsStore store(file, ring);
    ASSERT_TRUE(store.save(kSettingsSection, "FtpPassword", "s3cret;x"));
    ASSERT_TRUE(store.save(kSettingsSection, "encryptkey", " k,1 "));
    ASSERT_TRUE(store.save(kSettingsSection, "RelayPassword", "typed"));  // where it already is
    ASSERT_TRUE(store.save(kSettingsSection, "FtpUser", "ann"));
    EXPECT_EQ(test::readFile(file), "[Settings]\nRelayPassword=typed\nFtpUser=ann\n");
    EXPECT_EQ(ring->entries,
              (std::map<QString, QString>{{"FtpPassword", "s3cret;x"}, {"EncryptKey", " k,1 "}}));
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"FtpPassword", "s3cret;x"}, {"EncryptKey", " k,1 "}, {"RelayPassword", "typed"},
        {"FtpUser", "ann"}, {"Mailer", "absent"}};
    // clang-format on
    for (const auto& [key, value] : cases)
        EXPECT_EQ(store.read(kSettingsSection, key, "absent"), value) << key;
    EXPECT_EQ(store.read("Other", "FtpPassword", "absent"), "absent");  // only [Settings]
    EXPECT_EQ(store.secretsInFile(), QStringList{"RelayPassword"});

    ring->refuse = true;  // a refusing keyring leaves the file as it was
    EXPECT_FALSE(store.moveSecretsToKeyring());
    EXPECT_FALSE(store.save(kSettingsSection, "EncryptKey", "new"));
    EXPECT_EQ(test::readFile(file), "[Settings]\nRelayPassword=typed\nFtpUser=ann\n");
    ring->refuse = false;
    ASSERT_TRUE(store.moveSecretsToKeyring());
    EXPECT_EQ(test::readFile(file), "[Settings]\nFtpUser=ann\n");
    EXPECT_EQ(ring->entries["RelayPassword"], "typed");
    EXPECT_TRUE(store.secretsInFile().isEmpty());

    EXPECT_FALSE(SettingsStore(file).moveSecretsToKeyring());  // nowhere to move them
}
