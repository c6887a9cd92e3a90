// The download time text: its start rounded to whole seconds, its "###,##0.00" form.
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
