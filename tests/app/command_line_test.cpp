// The start-up command line: which texts ask for the prepared list, and how often.
#include "app/command_line.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(CommandLine, AutoloadWordsAreCountedExactly) {
    const struct {
        const char* line;
        int loads;
    } cases[] = {
        {"", 0},
        {"-autoload", 1},
        {"-autoload ", 1},           // one trailing blank is removed
        {"-autoload  ", 0},          // but only one
        {"-AutoLoad", 0},            // case-sensitive
        {"autoload", 0},             // needs the "-"
        {"-autoload -autoload", 2},  // loads twice
        {"/x -autoload -other", 1},
        {"x-autoload", 1},  // whatever stands before the first "-" is skipped
        {"--autoload", 1},
        {"-autoload-autoload", 2},
        {"- autoload", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(autoloadCount(c.line), c.loads) << c.line;
}

TEST(CommandLine, ArgumentsAreJoinedWithoutTheProgramName) {
    EXPECT_EQ(commandLineText({"/opt/vexaro", "-autoload", "-x"}), "-autoload -x");
    EXPECT_EQ(commandLineText({"/opt/vexaro"}), "");
}
