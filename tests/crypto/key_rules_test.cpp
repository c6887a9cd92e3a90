// Key validity and quality, with the worked examples.
#include "crypto/key_rules.h"

#include <gtest/gtest.h>

using namespace vx::korva;

TEST(KeyRules, ValidityAndQuality) {
    // Keys in Latin-1, which the code page shares above 159; quality 0: not valid. Repeated
    // blocks are refused, a lone last block is no repetition; the case-sensitive bonus is x 1.2,
    // digits beside letters x 1.4 and other characters (codes 91..96 are none) x 1.5, each
    // rounded with halves to even; 100 at most.
    // clang-format off
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"abcd", 0}, {"aaaaa", 0}, {"abcdabcdabcd", 0}, {"abcab", 15},
        {"abcdabcdabc", 33}, {"Aaaaa", 18}, {"abcdef", 18}, {"abcDEF", 22}, {"abCDe1", 31},
        {"1234!", 22}, {"123456", 18}, {"abcde`", 18}, {"abcde{", 27}, {"abcde@", 27},
        {"abcde:", 27}, {"abcde1", 25},
        {"abcdefghijklmnopqrstuvwxyzabcdefghijkl", 100}, {"\xe9\xe8\xe9\xe8\xe9", 22},
        {"\xe9\xe8\xe9\xe8\xe9\xe8", 0}};
    // clang-format on
    for (const auto& [key, quality] : cases) {
        EXPECT_EQ(IsKeyValid(QString::fromLatin1(key)), quality > 0) << key;
        EXPECT_EQ(KeyQuality(QString::fromLatin1(key)), quality) << key;
    }
}
