// The module's random generator: range, seeding, and RandomRange's span.
#include "Random.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RandomGenerator, SameSeedSameSequence) {
    SeedRandom(1234);
    std::vector<int> first;
    for (int i = 0; i < 50; ++i)
        first.push_back(NextRandom());
    SeedRandom(1234);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(NextRandom(), first[i]);
    SeedRandom(1235);
    int same = 0;
    for (int i = 0; i < 50; ++i)
        same += NextRandom() == first[i];
    EXPECT_LT(same, 5);
}

TEST(RandomGenerator, IntegersCoverZeroTo32767) {
    SeedRandom(99);
    int lo = 32767, hi = 0;
    long long sum = 0;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        const int r = NextRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        lo = std::min(lo, r);
        hi = std::max(hi, r);
        sum += r;
    }
    EXPECT_LT(lo, 10);
    EXPECT_GT(hi, 32757);
    EXPECT_NEAR(static_cast<double>(sum) / n, 16383.5, 150);
}

TEST(RandomGenerator, RandomRangeSpansAToAPlusB) {
    SeedRandom(7);
    for (int i = 0; i < 10000; ++i) {
        const double v = RandomRange(-0.25, 0.5);
        ASSERT_GE(v, -0.25);
        ASSERT_LE(v, 0.25);
        const double w = RandomRange(-180, 360);
        ASSERT_GE(w, -180.0);
        ASSERT_LE(w, 180.0);
    }
}
