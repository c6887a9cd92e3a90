// The download time text (its start rounded to whole seconds, its "###,##0.00" form), what
// the progress bar shows, and the name of the file sent.
#include "upload/upload_rules.h"

#include <gtest/gtest.h>

#include <optional>

#include <QDir>
#include <QTemporaryDir>

#include "crypto/file_crypto.h"
#include "qt_printers.h"
#include "temp_home.h"

using namespace vx;

// The tests run under the C locale: "," groups thousands, "." starts the decimals.
TEST(UploadRules, DownloadTimeCountsFromTheRoundedStart) {
    const struct {
        QTime start, end;
        const char* text;
    } cases[] = {
        {QTime(10, 0, 0, 400), QTime(10, 0, 3, 250), "3.25"},   // start rounds down to 10:00:00
        {QTime(10, 0, 0, 600), QTime(10, 0, 0, 900), "-0.10"},  // ... and up to 10:00:01
        {QTime(9, 0, 0), QTime(9, 20, 34, 500), "1,234.50"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(downloadTimeText(c.start, c.end),
                  QString("Download complete in %1 seconds.").arg(c.text));
}

// The job sends the file the encryption wrote: both name it by one rule.
TEST(UploadRules, TheJobSendsTheFileTheEncryptionWrote) {
    QTemporaryDir dir;
    for (const char* name : {"07122026-101500.zip", "send.tar.gz", "folder.v2/archive", "ab"}) {
        QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
        const QString archive = test::writeFile(dir.filePath(name), "PK\x03\x04 an archive");
        EXPECT_EQ(uploadPath(archive, false), archive);
        EXPECT_EQ(uploadPath(archive, true), korva::FileCrypto(archive, archive, "Correct Horse 9", {}));
    }
}

// A count above the total leaves the bar's value (no value to set); an empty transfer is full.
TEST(UploadRules, ProgressShownForATransferEvent) {
    const struct {
        qint32 current, total, maximum;
        std::optional<int> value;
    } cases[] = {{255, 1000, 1000, 255}, {500, 500, 500, 500}, {600, 500, 500, std::nullopt},
                 {0, 0, 1, 1}, {3, -1, 1, 1}};
    for (const auto& c : cases) {
        const ProgressShown shown = progressShown(c.current, c.total);
        EXPECT_EQ(std::pair(shown.maximum, shown.value), std::pair(c.maximum, c.value))
            << c.current << " of " << c.total;
    }
}
