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

TEST(CommandLine, OneEncryptedFileIsOpenedForRestoring) {
    // clang-format off
    const std::pair<QStringList, const char*> cases[] = {
        {{"vexaro", "/home/u/a.uzp"}, "/home/u/a.uzp"}, {{"vexaro", "B.UZP"}, "B.UZP"},
        {{"vexaro", "/x/-autoload.uzp"}, "/x/-autoload.uzp"}, {{"vexaro", ".uzp"}, nullptr},
        {{"vexaro"}, nullptr}, {{"vexaro", "-autoload"}, nullptr}, {{"vexaro", "-a.uzp"}, nullptr},
        {{"vexaro", "a.zip"}, nullptr}, {{"vexaro", "a.uzp", "b.uzp"}, nullptr},
        {{"vexaro", "-autoload", "a.uzp"}, nullptr}};
    // clang-format on
    for (const auto& [args, file] : cases) {
        const auto found = restoreFileArgument(args);
        EXPECT_EQ(found.has_value(), file != nullptr) << args.join(' ').toStdString();
        if (file && found) EXPECT_EQ(*found, file);
    }
}
