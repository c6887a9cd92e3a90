// Salt shape and the mouse entropy pool.
#include "crypto/salt.h"

#include <gtest/gtest.h>

#include <set>

using namespace vx::korva;

TEST(Salt, EveryCallGivesANewSaltThatStartsWithItsLength) {
    std::set<QByteArray> seen;
    std::set<qsizetype> lengths;
    // Pool bytes that push the length below 32 and above 255 in turn must be folded back.
    for (int poolByte : {-1, 0x1F, 0xE0, 0xFF, 0x01}) {
        resetEntropyPool();
        if (poolByte >= 0) AddMouseEntropy(float(poolByte), 0.0f);
        for (int i = 0; i < 100; ++i) {
            const QByteArray s = CreateSalt();
            ASSERT_TRUE(s.size() >= 32 && s.size() <= 255) << s.size();
            ASSERT_EQ(static_cast<uint8_t>(s[0]), s.size());
            seen.insert(s);
            lengths.insert(s.size());
        }
    }
    EXPECT_EQ(seen.size(), 500u);
    EXPECT_GT(lengths.size(), 100u);
    resetEntropyPool();
}

TEST(Salt, MousePositionsFillThePool) {
    resetEntropyPool();
    // The last position starts at the origin; a move adds the low byte of x xor y, each
    // rounded with halves to even; -1: nothing added.
    // clang-format off
    const struct { float x, y; int byte; } moves[] = {
        {0, 0, -1}, {12, 5, 12 ^ 5}, {12, 5, -1}, {12, 6, 12 ^ 6}, {2.5f, 0, 2}, {3.5f, 0, 4},
        {300, 1, 45}, {-1, 0, 255}};
    // clang-format on
    QByteArray expected;
    for (const auto& m : moves) {
        AddMouseEntropy(m.x, m.y);
        if (m.byte >= 0) expected.append(static_cast<char>(m.byte));
        EXPECT_EQ(entropyPool(), expected) << m.x << "," << m.y;
    }
    for (int i = 1; i <= 300; ++i) AddMouseEntropy(float(i), 0.0f);
    ASSERT_EQ(entropyPool().size(), 251);  // the newest 251: moves 50 to 300
    EXPECT_EQ(static_cast<uint8_t>(entropyPool()[0]), 50);
    EXPECT_EQ(static_cast<uint8_t>(entropyPool()[250]), 300 & 255);
    resetEntropyPool();
}
