// Output archive names from a fixed clock. (Names in an ordinary folder, the log's name and
// their independence of the locale are checked with the start-up.)
#include "app/output_names.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(OutputNames, AnArchiveInTheRootFolderHasNoDoubledSlash) {
    EXPECT_EQ(outputArchivePath("/", QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5))),
              "/01022027-030405.zip");
}
