// Key validity and quality, with the worked examples.
#include "crypto/key_rules.h"

#include <gtest/gtest.h>

namespace vx::korva {
namespace {

struct KeyCase {
    const char* key;
    bool valid;
    int quality;
};

class KeyRules : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyRules, ValidityAndQuality) {
    const KeyCase& c = GetParam();
    const QString key = QString::fromLatin1(c.key);
    EXPECT_EQ(IsKeyValid(key), c.valid) << c.key;
    EXPECT_EQ(KeyQuality(key), c.quality) << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, KeyRules,
    ::testing::Values(
        KeyCase{"", false, 0},
        KeyCase{"abcd", false, 0},          // under 5 characters
        KeyCase{"aaaaa", false, 0},         // five identical characters
        KeyCase{"ababab", false, 0},        // a two-character block three times
        KeyCase{"ababa", true, 15},         // two blocks and a lone fifth character
        KeyCase{"abcab", true, 15},
        KeyCase{"abcabc", false, 0},        // three-character block twice
        KeyCase{"abcdabcdabcd", false, 0},  // block of four, three times
        KeyCase{"abcdabcdabc", true, 33},   // shorter last block never repeats
        KeyCase{"Aaaaa", true, 18},         // case-sensitive comparison: 15 x 1.2 = 18
        KeyCase{"abcde", true, 15},         // 5 lower-case letters
        KeyCase{"abcdef", true, 18},        // 6 lower-case letters
        KeyCase{"abcDEF", true, 22},        // 21.6 rounds to 22
        KeyCase{"abCDe1", true, 31},        // 21.6 -> 22, then 30.8 -> 31
        KeyCase{"1234!", true, 22},         // 22.5 rounds to even
        KeyCase{"123456", true, 18},        // digits only get no digit bonus
        KeyCase{"abcde_", true, 18},        // codes 91..96 add nothing
        KeyCase{"abcde`", true, 18},
        KeyCase{"abcde{", true, 27},        // above 122 counts: 18 x 1.5
        KeyCase{"abcde@", true, 27},        // 58..64 counts
        KeyCase{"abcde:", true, 27},
        KeyCase{"abcde1", true, 25},        // 18 x 1.4 = 25.2 -> 25
        KeyCase{"abcdefghijklmnopqrstuvwxyz0123456789", true, 100},
        KeyCase{"abcdefghijklmnopqrstuvwxyzabcdefghijkl", true, 100}));  // 114 capped

TEST(KeyRulesLatin, BytesAboveAsciiCountAsOtherCharacters) {
    // e-acute is byte 0xE9 in the code page: above 122, so 18 x 1.5
    EXPECT_EQ(KeyQuality(QString::fromUtf8("abcde\u00e9")), 27);
    // two different characters of the code page are two different bytes: not a repetition
    EXPECT_TRUE(IsKeyValid(QString::fromUtf8("\u00e9\u00e8\u00e9\u00e8\u00e9")));
    EXPECT_FALSE(IsKeyValid(QString::fromUtf8("\u00e9\u00e8\u00e9\u00e8\u00e9\u00e8")));
}

}  // namespace
}  // namespace vx::korva
