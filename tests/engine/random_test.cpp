#include "board/Random.h"

#include <gtest/gtest.h>

using namespace quintrel;

// Expected values worked out by hand from state = state * 214013 + 2531011 mod 2^32,
// value = (state >> 16) & 0x7FFF.
TEST(Random, FirstDrawsFromSeedOneFollowTheFormula) {
    rng::seed(1);
    // 1 * 214013 + 2531011 = 2745024 = 0x0029_E2C0: value 0x29 = 41
    EXPECT_EQ(rng::next(), 41);
    // 2745024 * 214013 + 2531011 mod 2^32 = 3357800067 = 0xC823_F683: 0x4823 = 18467
    EXPECT_EQ(rng::next(), 18467);
    // next state 415139642 = 0x18BE_873A: 0x18BE = 6334
    EXPECT_EQ(rng::next(), 6334);
}

