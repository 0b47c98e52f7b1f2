#include "runtime/events/random.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

TEST(Random, FirstDrawsAfterSeedZero) {
    seedRandom(0);
    EXPECT_EQ(randomInRange(600, 0), 38);
    EXPECT_EQ(randomState, 2531011u);
    seedRandom(0);
    EXPECT_EQ(randomInRange(1, 630), 39);
    randomInRange(1, 630);
    EXPECT_EQ(randomState, 505908858u);
}

TEST(Random, SameSeedSameSequence) {
    std::vector<int32_t> first, second;
    seedRandom(12345);
    for (int i = 0; i < 50; ++i)
        first.push_back(randomInRange(i % 2 ? 600 : 1, i % 2 ? 0 : 630));
    seedRandom(12345);
    for (int i = 0; i < 50; ++i)
        second.push_back(randomInRange(i % 2 ? 600 : 1, i % 2 ? 0 : 630));
    EXPECT_EQ(first, second);
}

TEST(Random, ResultsStayInTheirRange) {
    seedRandom(7);
    bool saw_low = false, saw_high = false;
    for (int i = 0; i < 2000; ++i) {
        int32_t upto = randomInRange(5, 0);
        ASSERT_GE(upto, 0);
        ASSERT_LE(upto, 5);
        saw_low |= upto == 0;
        saw_high |= upto == 5;
        ASSERT_EQ(randomInRange(5, 5), 5);
        int32_t between = randomInRange(-3, 3);
        ASSERT_GE(between, -3);
        ASSERT_LE(between, 3);
    }
    EXPECT_TRUE(saw_low && saw_high);
}

// A range of 2^32 values used to divide by zero; it now yields the raw draw.
TEST(Random, WholeRangeDoesNotDivideByZero) {
    seedRandom(0);
    EXPECT_EQ(randomInRange(INT32_MIN, INT32_MAX), 38 + INT32_MIN);
    seedRandom(0);
    EXPECT_EQ(randomInRange(-1, 0), 38);
    seedRandom(0);
    EXPECT_EQ(randomInRange(10, 9), 48);
}

TEST(Random, UnseededDrawSeedsFromTheTickCount) {
    randomSeeded = 0;
    DWORD before = GetTickCount();
    randomInRange(100, 0);
    DWORD after = GetTickCount();
    EXPECT_EQ(randomSeeded, 1);
    bool matched = false;
    for (DWORD tick = before; tick != after + 1; ++tick) {
        uint32_t seed = (uint32_t)((int32_t)tick / 2);
        matched |= randomState == seed * 214013u + 2531011u;
    }
    EXPECT_TRUE(matched);
}

TEST(TickSeconds, TruncatedSignedSeconds) {
    DWORD before = GetTickCount();
    int32_t seconds = tickSeconds();
    DWORD after = GetTickCount();
    EXPECT_GE(seconds, (int32_t)before / 1000);
    EXPECT_LE(seconds, (int32_t)after / 1000);
}

} // namespace

#ifndef _WIN32
#include "platform/host/headless/headless.h"

namespace {

TEST(TickSeconds, NegativeOnceTheCountPassesTwoTo31) {
    uint64_t saved = headless_clock_us();
    headless_set_tick_count(0x80000000u + 1500);
    EXPECT_EQ(tickSeconds(), (int32_t)GetTickCount() / 1000);
    EXPECT_LT(tickSeconds(), 0);
    headless_set_clock_us(saved);
}

} // namespace
#endif
