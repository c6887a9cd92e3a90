// The upload decisions that need no window: access-code folder and check, connection mode, the
// file sent, and the download time text.
#include "upload/upload_rules.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

using namespace vx;

TEST(UploadRules, AccessCodeCheckPassesAllButTheAccountFolder) {
    EXPECT_EQ(accessCodeFolder("K7QX"), "/home/tulpa/public_html/K7QX");
    EXPECT_EQ(accessCodeFolder(""), "/home/tulpa/public_html/");
    const struct {
        const char* folder;
        bool refused;
    } cases[] = {{"/home/tulpa", true},
                 {"  /home/tulpa ", true},
                 {"/home/tulpa/", false},
                 {"/home/Tulpa", false},
                 {"/home/tulpa/public_html/", false},
                 {"", false}};
    for (const auto& c : cases) EXPECT_EQ(accessCodeRefused(c.folder), c.refused) << c.folder;
}

TEST(UploadRules, ActPasvCountsAsZeroUnlessANumber) {
    const struct {
        const char* value;
        bool passive;
    } cases[] = {{"", true},   {"0", true},  {"x", true},  {"0.0", true},
                 {"1", false}, {"2", false}, {"-1", false}};
    for (const auto& c : cases) EXPECT_EQ(passiveFromSetting(c.value), c.passive) << c.value;
}

TEST(UploadRules, EncryptedUploadPathEndsInUzp) {
    const struct {
        const char* archive;
        bool encrypted;
        const char* sent;
    } cases[] = {{"/run/a.zip", true, "/run/a.uzp"},
                 {"/run/a.zip", false, "/run/a.zip"},
                 {"/run/a.ZIP", true, "/run/a.uzp"},
                 {"/run/abc", true, "/run/uzp"},
                 {"ab", true, "ab"},
                 {"", true, ""}};
    for (const auto& c : cases) EXPECT_EQ(uploadPath(c.archive, c.encrypted), c.sent) << c.archive;
}

TEST(UploadRules, MissingFileTextNamesTheFileAndTheReason) {
    EXPECT_TRUE(missingFileText("/run/a.uzp", true).contains("/run/a.uzp\n"));
    EXPECT_TRUE(missingFileText("/run/a.uzp", true).contains("EncryptKey"));
    EXPECT_FALSE(missingFileText("/run/a.zip", false).contains("EncryptKey"));
}

// The tests run under the C locale: "," groups thousands, "." starts the decimals.
TEST(UploadRules, DownloadTimeCountsFromTheRoundedStart) {
    const struct {
        QTime start, end;
        const char* text;
    } cases[] = {
        {QTime(10, 0, 0, 400), QTime(10, 0, 3, 250), "3.25"},   // start rounds down to 10:00:00
        {QTime(10, 0, 0, 600), QTime(10, 0, 0, 900), "-0.10"},  // ... and up to 10:00:01
        {QTime(9, 0, 0), QTime(9, 20, 34, 500), "1,234.50"},
        {QTime(9, 0, 0), QTime(9, 0, 0), "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(downloadTimeText(c.start, c.end),
                  QString("Download complete in %1 seconds.").arg(c.text));
}
