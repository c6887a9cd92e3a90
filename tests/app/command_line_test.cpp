// The start-up command line: which texts ask for the prepared list, and how often.
#include "app/command_line.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(CommandLine, AutoloadWordsAreCountedExactly) {
    // Whatever stands before the first "-" is skipped; one trailing blank is removed, but only one.
    // clang-format off
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"-autoload", 1}, {"-AutoLoad", 0}, {"autoload", 0}, {"- autoload", 0},
        {"-autoload ", 1}, {"-autoload  ", 0}, {"-autoload -autoload", 2},
        {"/x -autoload -other", 1}, {"--autoload", 1}};
    // clang-format on
    for (const auto& [line, loads] : cases) EXPECT_EQ(autoloadCount(line), loads) << line;
}
