// The settings store on a real Secret Service (gnome-keyring in a D-Bus session of its own,
// started by keyring_session.sh): the secrets go into the keyring, the file keeps no copy, a
// value written into the file by hand still counts and can be moved over.
#include <gtest/gtest.h>

#include "qt_printers.h"
#include "settings/secret_keyring.h"
#include "settings/settings_store.h"
#include "temp_home.h"

using namespace vx;

TEST(Keyring, SecretsLiveInTheKeyringOfTheirSettingsFile) {
    ASSERT_TRUE(secretServiceAvailable());
    test::TempHome home;
    const QString file = home.write("TULPAREG.conf", "[Settings]\nFtpUser=ann\n");
    SettingsStore store(file, desktopKeyring(file));
    ASSERT_TRUE(store.hasKeyring());
    const std::pair<const char*, const char*> secrets[] = {
        {"FtpPassword", "s;e,c\\r=t"}, {"RelayPassword", " spaced "}, {"EncryptKey", "Tr0ub4dor&3x"}};
    for (const auto& [key, value] : secrets) ASSERT_TRUE(store.save(kSettingsSection, key, value));
    EXPECT_EQ(test::readFile(file), "[Settings]\nFtpUser=ann\n");  // no copy in the file

    const SettingsStore again(file, desktopKeyring(file));  // read back from the daemon
    for (const auto& [key, value] : secrets)
        EXPECT_EQ(again.read(kSettingsSection, key, "absent"), value) << key;
    const QString other = home.file("other.conf");
    EXPECT_EQ(SettingsStore(other, desktopKeyring(other)).read(kSettingsSection, "FtpPassword", "d"),
              "d");

    test::writeFile(file, "[Settings]\nFtpUser=ann\nftppassword=by hand\n");
    EXPECT_EQ(again.read(kSettingsSection, "FtpPassword", ""), "by hand");
    EXPECT_EQ(again.secretsInFile(), QStringList{"FtpPassword"});
    SettingsStore mover(file, desktopKeyring(file));
    ASSERT_TRUE(mover.moveSecretsToKeyring());
    EXPECT_EQ(test::readFile(file), "[Settings]\nFtpUser=ann\n");
    EXPECT_EQ(SettingsStore(file, desktopKeyring(file)).read(kSettingsSection, "FtpPassword", ""),
              "by hand");
}
