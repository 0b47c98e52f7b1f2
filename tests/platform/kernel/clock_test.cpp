// The layer's clock: the tick count moves in 64 Hz system ticks.
#include "platform/host/headless/headless.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class TickCount : public ::testing::Test {
  protected:
    void TearDown() override { headless_set_clock_us(0); }
};

TEST_F(TickCount, AdvancesInSystemTicksOf15Or16Milliseconds) {
    headless_set_clock_us(0);
    EXPECT_EQ(GetTickCount(), 0u);
    headless_set_clock_us(15624);
    EXPECT_EQ(GetTickCount(), 0u);
    headless_set_clock_us(15625);
    EXPECT_EQ(GetTickCount(), 15u);
    headless_set_clock_us(2 * 15625);
    EXPECT_EQ(GetTickCount(), 31u);
    headless_set_clock_us(64 * 15625);
    EXPECT_EQ(GetTickCount(), 1000u);
    DWORD previous = GetTickCount();
    for (int tick = 0; tick < 64; ++tick) {
        headless_advance_clock_us(15625);
        DWORD step = GetTickCount() - previous;
        EXPECT_TRUE(step == 15 || step == 16) << step;
        previous = GetTickCount();
    }
}

TEST_F(TickCount, CanStartJustBelowTheWrapAndWraps) {
    headless_set_tick_count(0xFFFFFFF0u);
    DWORD start = GetTickCount();
    EXPECT_GE(start, 0xFFFFFFF0u);
    headless_advance_clock_us(15625);
    DWORD after = GetTickCount();
    EXPECT_LT(after, start);
    DWORD step = after - start; // wrapping subtraction, as the game measures periods
    EXPECT_TRUE(step == 15 || step == 16) << step;
}

TEST_F(TickCount, SetTickCountLandsOnTheFirstTickAtOrAfter) {
    for (DWORD target : {0u, 1u, 15u, 16u, 1000u, 123456u}) {
        headless_set_tick_count(target);
        EXPECT_GE(GetTickCount(), target);
        EXPECT_LT(GetTickCount() - target, 16u);
        headless_advance_clock_us(0);
        EXPECT_EQ(headless_clock_us() % 15625, 0u);
    }
}

} // namespace
