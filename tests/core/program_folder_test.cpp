// Program folder resolution and TrimPath.
#include "core/program_folder.h"

#include <gtest/gtest.h>

#include "temp_home.h"

using namespace vx;

TEST(ProgramFolder, EnvironmentVariableWins) {
    test::TempHome home;
    EXPECT_EQ(programFolder(), home.path());
    EXPECT_EQ(besideProgram("AutoOut.txt"), home.path() + "/AutoOut.txt");
}

TEST(ProgramFolder, TrimPathKeepsWhatFollowsTheLastSlash) {
    EXPECT_EQ(TrimPath("/apps/send/12042026-162907.zip"), "12042026-162907.zip");
    EXPECT_EQ(TrimPath("plain.txt"), "plain.txt");
    EXPECT_EQ(TrimPath("/data/"), "");
    EXPECT_EQ(TrimPath(""), "");
}
