#include "RandomGen.h"

#include <gtest/gtest.h>

#include <set>

TEST(RandomBelow, AdvancesTheStateAndTakesTheUpperHalfOfTheProduct) {
    RandomState = 0;
    // State 1 after one step: floor(1 * 10 / 2^32) = 0.
    EXPECT_EQ(RandomBelow(10), 0u);
    EXPECT_EQ(RandomState, 1u);
    // State 134775814: floor(134775814 * 9999 / 2^32) = 313.
    EXPECT_EQ(RandomBelow(9999), 313u);
    EXPECT_EQ(RandomState, 134775814u);
    RandomState = 0xFFFFFFFFu;
    // The state wraps modulo 2^32: 0xFFFFFFFF * 134775813 + 1 = 0xF7F77BFC mod 2^32.
    RandomBelow(1);
    EXPECT_EQ(RandomState, 0xF7F77BFCu);
}

TEST(RandomBelow, StaysInRangeAndRepeatsFromTheSameSeed) {
    RandomState = 86399999;
    std::set<std::uint32_t> Seen;
    std::uint32_t First[50];
    for (auto& Value : First) {
        Value = RandomBelow(5);
        ASSERT_LT(Value, 5u);
        Seen.insert(Value);
    }
    EXPECT_EQ(Seen.size(), 5u);
    RandomState = 86399999;
    for (auto Value : First)
        EXPECT_EQ(RandomBelow(5), Value);
    RandomState = 42;
    for (int K = 0; K < 1000; ++K)
        ASSERT_EQ(RandomBelow(1), 0u);
}
