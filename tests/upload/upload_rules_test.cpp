// The download time text (its start rounded to whole seconds, its "###,##0.00" form) and what
// the progress bar shows.
#include "upload/upload_rules.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

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
