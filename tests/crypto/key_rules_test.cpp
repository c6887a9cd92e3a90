// Key validity and quality, with the worked examples.
#include "crypto/key_rules.h"

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::korva;

TEST(KeyRules, ValidityAndQuality) {
    const struct {
        const char* key;  // Latin-1, which the code page shares above 159
        int quality;      // 0: not valid
    } cases[] = {
        {"", 0},
        {"abcd", 0},  // under 5 characters
        {"aaaaa", 0},
        {"ababab", 0},
        {"abcabc", 0},
        {"abcdabcdabcd", 0},  // repeated blocks
        {"ababa", 15},
        {"abcab", 15},  // a lone last block is no repetition
        {"abcdabcdabc", 33},
        {"Aaaaa", 18},  // case-sensitive: 15 x 1.2
        {"abcdef", 18},
        {"abcDEF", 22},  // 21.6 rounds to 22
        {"abCDe1", 31},  // 22, then 30.8
        {"1234!", 22},   // 22.5 rounds to even
        {"123456", 18},  // digits alone get no bonus
        {"abcde_", 18},
        {"abcde`", 18},  // codes 91..96 add nothing
        {"abcde{", 27},
        {"abcde@", 27},
        {"abcde:", 27},
        {"abcde\xe9", 27},
        {"abcde1", 25},  // 18 x 1.4 = 25.2
        {"abcdefghijklmnopqrstuvwxyz0123456789", 100},
        {"abcdefghijklmnopqrstuvwxyzabcdefghijkl", 100},  // 114 capped
        {"\xe9\xe8\xe9\xe8\xe9", 22},
        {"\xe9\xe8\xe9\xe8\xe9\xe8", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsKeyValid(QString::fromLatin1(c.key)), c.quality > 0) << c.key;
        EXPECT_EQ(KeyQuality(QString::fromLatin1(c.key)), c.quality) << c.key;
    }
}
