// Rounding of scaled coordinates: halves go to the even neighbour, and the
// floating-point unit's rounding mode changes nothing.
#include "runtime/core/rounding.h"

#include <gtest/gtest.h>

#include <fenv.h>

namespace {

TEST(RoundHalfEven, SameInEveryRoundingMode) {
    const struct {
        double value;
        int32_t rounded;
    } CASES[] = {
        {0.0, 0},     {0.5, 0},
        {1.5, 2},     {2.5, 2},
        {3.5, 4},     {-0.5, 0},
        {-1.5, -2},   {-2.5, -2},
        {1.4999, 1},  {2.5001, 3},
        {-2.6, -3},   {633.5, 634},
        {634.5, 634}, {1e6 + 0.5, 1000000},
        {-0.25, 0},   {7.0, 7},
    };
    const int MODES[] = {FE_TONEAREST, FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO};
    int saved = fegetround();
    for (int mode : MODES) {
        ASSERT_EQ(fesetround(mode), 0);
        for (const auto& c : CASES)
            EXPECT_EQ(roundHalfEven(c.value), c.rounded) << c.value << " in mode " << mode;
    }
    fesetround(saved);
}

} // namespace
