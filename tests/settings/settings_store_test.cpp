// Settings store: defaults when absent, saved values read back, switch values as numbers.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "settings/settings_keys.h"
#include "temp_home.h"

using namespace vx;

namespace {

QString readKey(const SettingsStore& s, const keys::Key& k) {
    return s.read(kSettingsSection, k.name, k.fallback);
}

}  // namespace

TEST(SettingsStore, EmptyStoreGivesTheDefaultsAndCreatesNothing) {
    test::TempHome home;
    const SettingsStore store(home.file("TULPAREG.conf"));
    EXPECT_EQ(readKey(store, keys::EncryptYN), "1");
    EXPECT_EQ(readKey(store, keys::SaveLog), "0");
    EXPECT_EQ(readKey(store, keys::ActPasv), "");
    EXPECT_EQ(readKey(store, keys::EmailYN), "1");
    // An absent "Mailer" passes both of its tests.
    EXPECT_EQ(readKey(store, keys::MailerFirst), "default");
    EXPECT_EQ(readKey(store, keys::MailerSecond), "internal");
    EXPECT_TRUE(isOn(readKey(store, keys::EncryptYN)));
    EXPECT_FALSE(isOn(readKey(store, keys::SaveLog)));
    EXPECT_FALSE(QFile::exists(store.filePath()));
}

TEST(SettingsStore, SavedValuesAreReadBackByAnotherStoreOnTheSameFile) {
    test::TempHome home;
    SettingsStore writer(home.file("sub/TULPAREG.conf"));
    ASSERT_TRUE(writer.save(kSettingsSection, "EmailYN", "0"));
    ASSERT_TRUE(writer.save(kSettingsSection, "ToEmail", "friend@example.org"));
    const SettingsStore reader(home.file("sub/TULPAREG.conf"));
    EXPECT_EQ(reader.read(kSettingsSection, "EmailYN", "1"), "0");
    EXPECT_EQ(reader.read(kSettingsSection, "ToEmail", ""), "friend@example.org");
    EXPECT_EQ(reader.read("Other", "EmailYN", "x"), "x");
}

TEST(SettingsStore, SwitchValuesCompareAsNumbers) {
    EXPECT_TRUE(isOn("1"));
    EXPECT_TRUE(isOn("1.0"));
    EXPECT_TRUE(isOn(" 1 "));
    EXPECT_FALSE(isOn("2"));
    EXPECT_FALSE(isOn("0"));
    EXPECT_FALSE(isOn(""));
    EXPECT_FALSE(isOn("yes"));
    EXPECT_EQ(switchValue(""), 0.0);
    EXPECT_EQ(switchValue("abc"), 0.0);
    EXPECT_EQ(switchValue("0.5"), 0.5);
}
