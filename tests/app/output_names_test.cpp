// Output archive and log names from a fixed clock, whatever the locale.
#include "app/output_names.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace vx;

TEST(OutputNames, ArchiveAndLogNamesComeFromTheClockToTheSecond) {
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QString archive =
        outputArchivePath("/apps/send", QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7)));
    const QString root = outputArchivePath("/", QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5)));
    QLocale::setDefault(old);
    EXPECT_EQ(archive, "/apps/send/12042026-162907.zip");
    EXPECT_EQ(logFilePathFor(archive), "/apps/send/12042026-162907.txt");
    EXPECT_EQ(root, "/01022027-030405.zip");
}
