// Salt shape and the mouse entropy pool.
#include "crypto/salt.h"

#include <gtest/gtest.h>

#include <set>

#include "recording_sink.h"

namespace vx::korva {
namespace {

class SaltTest : public ::testing::Test {
protected:
    void SetUp() override { resetEntropyPool(); }
    void TearDown() override { resetEntropyPool(); }
    test::ModuleGuard guard;
};

void expectWellFormed(const QByteArray& salt) {
    ASSERT_GE(salt.size(), 32);
    ASSERT_LE(salt.size(), 255);
    EXPECT_EQ(static_cast<uint8_t>(salt[0]), salt.size());
}

TEST_F(SaltTest, FirstByteIsLengthWithEmptyPool) {
    std::set<QByteArray> seen;
    std::set<qsizetype> lengths;
    for (int i = 0; i < 300; ++i) {
        const QByteArray s = CreateSalt();
        expectWellFormed(s);
        seen.insert(s);
        lengths.insert(s.size());
    }
    EXPECT_EQ(seen.size(), 300u);   // every call gives a new salt
    EXPECT_GT(lengths.size(), 50u);  // lengths spread over the range
}

TEST_F(SaltTest, PoolBytesFoldIntoTheLengthAndKeepItInRange) {
    // pool byte values that push the xor below 32 and above 255 in turn
    for (int v : {0x1F, 0xE0, 0xFF, 0x01}) {
        resetEntropyPool();
        AddMouseEntropy(float(v), 0.0f);
        ASSERT_EQ(entropyPool().size(), 1);
        for (int i = 0; i < 100; ++i) expectWellFormed(CreateSalt());
    }
}

TEST_F(SaltTest, RepeatedPositionAddsNothing) {
    AddMouseEntropy(0.0f, 0.0f);  // the last position starts at the origin
    EXPECT_TRUE(entropyPool().isEmpty());
    AddMouseEntropy(12.0f, 5.0f);
    AddMouseEntropy(12.0f, 5.0f);
    ASSERT_EQ(entropyPool().size(), 1);
    EXPECT_EQ(static_cast<uint8_t>(entropyPool()[0]), 12 ^ 5);
    AddMouseEntropy(12.0f, 6.0f);  // one coordinate changed is a new position
    EXPECT_EQ(entropyPool().size(), 2);
}

TEST_F(SaltTest, CoordinatesRoundHalvesToEvenAndKeepTheLowByte) {
    AddMouseEntropy(2.5f, 0.0f);  // 2
    AddMouseEntropy(3.5f, 0.0f);  // 4
    AddMouseEntropy(300.0f, 1.0f);  // (300 xor 1) and 255 = 45
    AddMouseEntropy(-1.0f, 0.0f);   // two's complement low byte: 255
    ASSERT_EQ(entropyPool().size(), 4);
    EXPECT_EQ(static_cast<uint8_t>(entropyPool()[0]), 2);
    EXPECT_EQ(static_cast<uint8_t>(entropyPool()[1]), 4);
    EXPECT_EQ(static_cast<uint8_t>(entropyPool()[2]), 45);
    EXPECT_EQ(static_cast<uint8_t>(entropyPool()[3]), 255);
}

TEST_F(SaltTest, PoolKeepsTheNewest251) {
    for (int i = 1; i <= 300; ++i) AddMouseEntropy(float(i), 0.0f);
    ASSERT_EQ(entropyPool().size(), 251);
    EXPECT_EQ(static_cast<uint8_t>(entropyPool()[0]), 50);           // move 50 is the oldest kept
    EXPECT_EQ(static_cast<uint8_t>(entropyPool()[250]), 300 & 255);  // the newest
}

}  // namespace
}  // namespace vx::korva
