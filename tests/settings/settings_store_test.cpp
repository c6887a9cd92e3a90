// Settings store: values exactly as written by hand, names matched without regard to case, saves
// that change one line and keep the rest, switch values as numbers.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QFile>

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

TEST(SettingsStore, SavingChangesOneLineAndKeepsTheRest) {
    test::TempHome home;
    SettingsStore store(home.write(
        "TULPAREG.conf", "; mine\n[Settings]\nemailyn=1\nEncryptKey=ab,cd\n\n[Other]\nX=1\n"));
    ASSERT_TRUE(store.save(kSettingsSection, "EmailYN", "0"));
    ASSERT_TRUE(store.save(kSettingsSection, "ToEmail", "a;b\\c"));
    ASSERT_TRUE(store.save("Notes", "Line", " x "));
    EXPECT_EQ(test::readFile(store.filePath()),
              "; mine\n[Settings]\nEmailYN=0\nEncryptKey=ab,cd\nToEmail=a;b\\c\n\n[Other]\nX=1\n"
              "[Notes]\nLine= x \n");
    EXPECT_FALSE(store.save(kSettingsSection, "Body", "two\nlines"));  // a line cannot hold it

    SettingsStore fresh(home.file("sub/TULPAREG.conf"));  // the folder is made on first save
    ASSERT_TRUE(fresh.save(kSettingsSection, "User", "ann"));
    EXPECT_EQ(test::readFile(fresh.filePath()), "[Settings]\nUser=ann\n");
    SettingsStore blocked(store.filePath() + "/inner.conf");  // its folder is a file
    EXPECT_FALSE(blocked.save(kSettingsSection, "User", "ann"));
    EXPECT_EQ(store.read(kSettingsSection, "encryptkey", ""), "ab,cd");
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
        {"", "User", "a", "[Settings]\nUser=a\n"}};
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(iniWithValue(r.before, kSettingsSection, r.key, QString::fromUtf8(r.value)).value_or("-"),
                  QByteArray(r.after))
            << r.before;
}

TEST(SettingsStore, SwitchValuesCompareAsNumbers) {
    const std::pair<const char*, bool> cases[] = {{"1", true},   {"1.0", true}, {" 1 ", true},
                                                  {"2", false},  {"0", false},  {"", false},
                                                  {"yes", false}};
    for (const auto& [text, on] : cases) EXPECT_EQ(isOn(text), on) << text;
}
