// What the settings window saves: only what the user changed, exactly as typed, with every other
// line of the settings file and the earlier items of keycode.dat kept.
#include "app/settings_values.h"

#include <gtest/gtest.h>

#include <QFile>

#include "qt_printers.h"
#include "settings/settings_store.h"
#include "temp_home.h"

using namespace vx;

namespace {
const std::optional<QString> absent;
std::optional<QString> v(const char* text) { return QString(text); }
}  // namespace

TEST(SettingsValues, ControlsBecomeValuesOnlyWhenTheirMeaningChanged) {
    // clang-format off
    const std::tuple<std::optional<QString>, std::optional<QString>, std::optional<QString>> texts[] = {
        {absent, "", absent}, {absent, " x ", v(" x ")}, {v("a"), "", v("")}, {v("a,b"), "a,b", v("a,b")}};
    for (const auto& [loaded, typed, result] : texts) EXPECT_EQ(editedText(loaded, *typed), result);
    const std::tuple<std::optional<QString>, const char*, bool, std::optional<QString>> switches[] = {
        {absent, "1", true, absent}, {absent, "1", false, v("0")}, {v("1.0"), "0", true, v("1.0")},
        {v("yes"), "1", false, v("yes")}, {v("2"), "1", true, v("1")}, {absent, "0", true, v("1")},
        {v(" 1 "), "0", true, v(" 1 ")}, {v(""), "1", false, v("")}};
    for (const auto& [loaded, fallback, on, result] : switches)
        EXPECT_EQ(editedSwitch(loaded, fallback, on), result) << fallback << on;
    const std::tuple<std::optional<QString>, bool, std::optional<QString>> modes[] = {
        {absent, true, absent}, {absent, false, v("1")}, {v("abc"), true, v("abc")},
        {v("5"), true, v("0")}, {v("0"), false, v("1")}};
    for (const auto& [loaded, passive, result] : modes) EXPECT_EQ(editedMode(loaded, passive), result);
    const std::tuple<const char*, const char*, const char*> codes[] = {
        {"", "K7QX", "K7QX\r\n"}, {"old,K7QX\r\n", "NEW", "old,NEW\r\n"},
        {"\"a,b\", c ,X\n", "Y", "\"a,b\",c,Y\r\n"}, {"K7QX", " lead", "\" lead\"\r\n"}};
    // clang-format on
    for (const auto& [before, code, after] : codes) EXPECT_EQ(keycodeWithCode(before, code), after);
}

TEST(SettingsValues, NothingChangedWritesNothingAndWhatALineCannotHoldIsRefused) {
    test::TempHome home;
    const QString text =
        "; mine\n[Settings]\nftpuser=ann\nMailer=internal\nEncryptYN=1.0\n"
        "[Other]\nFtpServer=keep\n";
    SettingsStore store(home.write("TULPAREG.conf", text.toUtf8()));
    const QString keycode = home.write("keycode.dat", "Ann Smith,K7QX\r\n");
    // What is loaded is checked as the settings window shows it.
    const SettingsValues loaded = loadSettingsValues(store, keycode);
    ASSERT_TRUE(saveSettingsValues(store, keycode, loaded, loaded).isOk());
    EXPECT_EQ(test::readFile(store.filePath()), text.toUtf8());  // nothing changed, nothing written

    // What a change writes is checked through the settings window's Save; refusals here.
    SettingsValues edited = loaded;
    edited.accessCode = v("a\"b");
    const Status refused = saveSettingsValues(store, keycode, loaded, edited);
    EXPECT_EQ(refused.message(), "The access code cannot hold quotes or line breaks.");
    edited.values["FtpUser"] = v("two\nlines");
    EXPECT_EQ(saveSettingsValues(store, keycode, loaded, edited).message(),
              "Could not save FtpUser in " + store.filePath() + ".");
}

// Which files make a first start is checked with the settings window that it opens.
TEST(SettingsValues, AnEmptyAccessCodeMakesNoFile) {
    test::TempHome home;
    SettingsStore store(home.file("TULPAREG.conf"));
    const QString keycode = home.file("keycode.dat");
    SettingsValues none = loadSettingsValues(store, keycode), typed = none;
    typed.accessCode = v("");
    ASSERT_TRUE(saveSettingsValues(store, keycode, none, typed).isOk());
    EXPECT_FALSE(QFile::exists(keycode));
    EXPECT_TRUE(isFirstStart(store, keycode));
}
