// Program folder resolution and TrimPath.
#include "core/program_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "temp_home.h"

using namespace vx;

TEST(ProgramFolder, FoundOnceFromTheEnvironmentAndKept) {
    test::TempHome home;
    EXPECT_EQ(programFolder(), home.path());
    EXPECT_EQ(besideProgram("AutoOut.txt"), home.path() + "/AutoOut.txt");
    qputenv("VEXARO_HOME", "/elsewhere");  // a later change of the environment changes nothing
    EXPECT_EQ(programFolder(), home.path());
    EXPECT_EQ(findProgramFolder(), "/elsewhere");
}

TEST(ProgramFolder, TrimPathKeepsWhatFollowsTheLastSlash) {
    // clang-format off
    const char* cases[][2] = {{"/apps/send/12042026-162907.zip", "12042026-162907.zip"},
                              {"plain.txt", "plain.txt"}, {"/data/", ""}, {"", ""}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(TrimPath(c[0]), c[1]) << c[0];
}

TEST(ProgramFolder, AnInstalledBinFolderIsKnownByTheMenuEntryBesideIt) {
    QTemporaryDir prefix;
    const QString bin = prefix.path() + "/bin";
    QDir().mkpath(bin);
    EXPECT_FALSE(isInstalledBinFolder(bin));  // a build tree or a portable copy
    QDir().mkpath(prefix.path() + "/share/applications");
    test::writeFile(prefix.path() + "/share/applications/org.vexaro.Vexaro.desktop", "");
    EXPECT_TRUE(isInstalledBinFolder(bin));
    EXPECT_FALSE(isInstalledBinFolder(prefix.path()));
}
