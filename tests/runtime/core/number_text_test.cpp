#include "tests/runtime/core/heap_fixture.h"

#include "runtime/core/text.h"

#include <cfenv>
#include <limits>
#include <math.h>
#include <string.h>
#include <string>

namespace {

using NumberTextTest = PrivateHeapTest;

struct NumberCase {
    double value;
    const char* text;
};

const NumberCase NUMBER_TABLE[] = {
    {12, " 12"},
    {0, " 0"},
    {-0.0, " 0"},
    {-7, " -7"},
    {2.5, " 2.50"},
    {-0.25, " -0.25"},
    {0.001, " 0.00"},
    {123.5, " 123.50"},
    {0.125, " 0.12"}, // an exact tie: to even
    {0.375, " 0.38"}, // an exact tie: to even
    {2.675, " 2.67"}, // stored just below 2.675
    {1.005, " 1.00"}, // stored just below 1.005
    {1.015, " 1.01"}, // stored just below 1.015
    {0.995, " 0.99"}, // stored just below 0.995
    {9.995, " 9.99"}, // stored just below 9.995
    {99.999, " 100.00"},
    {-0.001, " -0.00"},
    {2147483647, " 2147483647"},
    {-2147483648.0, " -2147483648"},
    {1e-300, " 0.00"},
    {5e-324, " 0.00"},
};

TEST_F(NumberTextTest, Table) {
    for (const NumberCase& c : NUMBER_TABLE) {
        char* text = numberToText(c.value);
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, c.text) << "value " << c.value;
    }
}

TEST_F(NumberTextTest, SameTextInEveryRoundingMode) {
    const int modes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};
    for (int mode : modes) {
        ASSERT_EQ(fesetround(mode), 0);
        for (const NumberCase& c : NUMBER_TABLE) {
            char* text = numberToText(c.value);
            EXPECT_STREQ(text, c.text) << "value " << c.value << " mode " << mode;
            heapFree(text);
        }
        EXPECT_EQ(fegetround(), mode);
    }
    fesetround(FE_TONEAREST);
}

TEST_F(NumberTextTest, TextLivesInA512ByteBlockZeroBeyondIt) {
    char* text = numberToText(42);
    EXPECT_TRUE(all_zero(text + 4, 512 + 3 - 4));
}

TEST_F(NumberTextTest, FollowsDecimalPlaces) {
    decimalPlaces = 0;
    EXPECT_STREQ(numberToText(2.5), " 2");
    EXPECT_STREQ(numberToText(3.5), " 4");
    decimalPlaces = 5;
    EXPECT_STREQ(numberToText(0.1), " 0.10000");
    decimalPlaces = -1; // as C's "%.*f": a negative precision means 6
    EXPECT_STREQ(numberToText(0.1), " 0.100000");
    decimalPlaces = 2;
}

TEST_F(NumberTextTest, WholeNumbersBeyond32BitsAreWrittenInFull) {
    EXPECT_STREQ(numberToText(4294967296.0), " 4294967296");
    EXPECT_STREQ(numberToText(-1e15), " -1000000000000000");
    EXPECT_STREQ(numberToText(9007199254740993.0), " 9007199254740992");
    EXPECT_STREQ(numberToText(1e22), " 10000000000000000000000");
    char* largest = numberToText(-std::numeric_limits<double>::max());
    EXPECT_EQ(strlen(largest), 1 + 1 + 309u);
    EXPECT_EQ(std::string(largest, 10), " -17976931");
}

TEST_F(NumberTextTest, NonFiniteValues) {
    EXPECT_STREQ(numberToText(INFINITY), " inf");
    EXPECT_STREQ(numberToText(-INFINITY), " -inf");
    EXPECT_STREQ(numberToText(NAN), " nan");
}

TEST_F(NumberTextTest, LongTextIsCutToTheBlock) {
    decimalPlaces = 600;
    char* text = numberToText(0.5);
    decimalPlaces = 2;
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(strlen(text), 511u);
    EXPECT_EQ(std::string(text, 6), " 0.500");
    EXPECT_TRUE(all_zero(text + 511, 4));
}

TEST(FormatFixed, ExactDigitsOfTheStoredValue) {
    char out[64];
    formatFixed(0.1, 20, out, sizeof out);
    EXPECT_STREQ(out, "0.10000000000000000555");
    formatFixed(2.675, 17, out, sizeof out);
    EXPECT_STREQ(out, "2.67499999999999982");
    formatFixed(1e21, 1, out, sizeof out);
    EXPECT_STREQ(out, "1000000000000000000000.0");
    EXPECT_EQ(formatFixed(123.456, 2, out, 4), 3u);
    EXPECT_STREQ(out, "123");
}

} // namespace
