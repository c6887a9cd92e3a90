// Output archive and log names from a fixed clock.
#include "app/output_names.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace vx;

TEST(OutputNames, ArchiveAndLogNamesComeFromTheClockToTheSecond) {
    const QDateTime at(QDate(2026, 12, 4), QTime(16, 29, 7));
    const QString archive = outputArchivePath("/apps/send", at);
    EXPECT_EQ(archive, "/apps/send/12042026-162907.zip");
    EXPECT_EQ(logFilePathFor(archive), "/apps/send/12042026-162907.txt");
    EXPECT_EQ(outputArchivePath("/", QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5))),
              "/01022027-030405.zip");
}

TEST(OutputNames, DoNotDependOnTheLocale) {
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QString archive =
        outputArchivePath("/a", QDateTime(QDate(2026, 12, 4), QTime(23, 59, 58)));
    QLocale::setDefault(old);
    EXPECT_EQ(archive, "/a/12042026-235958.zip");
}
