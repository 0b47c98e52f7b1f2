#include "tests/runtime/core/heap_fixture.h"

#include "runtime/core/text.h"

#include <string.h>

namespace {

using TextTest = PrivateHeapTest;

TEST_F(TextTest, ConcatJoinsInOrderIntoAFreshBlock) {
    char* number = numberToText(5);
    char* joined = concatStrings("Score:", number);
    EXPECT_STREQ(joined, "Score: 5");
    heapFree(number);
    EXPECT_STREQ(joined, "Score: 5");
    EXPECT_TRUE(all_zero(joined + 8, 4));

    char* three = concatStrings("a", "", "bc");
    EXPECT_STREQ(three, "abc");
    char* single = concatStrings("alone");
    EXPECT_STREQ(single, "alone");
    char* empty = concatStrings("", "");
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    EXPECT_NE(concatStrings(""), empty);
}

TEST_F(TextTest, CopiesAreIndependentOfTheirSource) {
    char source[] = "Crash!!!\r\nScore:";
    char* copy = duplicateString(source);
    EXPECT_NE(copy, source);
    EXPECT_STREQ(copy, source);
    source[0] = 'X';
    EXPECT_EQ(copy[0], 'C');
    copy[1] = 'Y';
    EXPECT_EQ(source[1], 'r');
}

TEST_F(TextTest, UpperCaseCopyFollowsCodePage1252) {
    const char* name = "ToolbarWindow32";
    char* upper = upperCaseCopy(name);
    EXPECT_STREQ(upper, "TOOLBARWINDOW32");
    EXPECT_STREQ(name, "ToolbarWindow32");
    EXPECT_STREQ(upperCaseCopy("msctls_statusbar32 [1.0]!"), "MSCTLS_STATUSBAR32 [1.0]!");
    // e acute, s caron, y diaeresis, sharp s, division sign
    EXPECT_STREQ(upperCaseCopy("\xE9\x9A\xFF\xDF\xF7"), "\xC9\x8A\x9F\xDF\xF7");
}

TEST(TextWithoutHeap, NoBlockMeansNullAndNoWrite) {
    ASSERT_EQ(PrivateHeap, nullptr);
    EXPECT_EQ(concatStrings("a", "b"), nullptr);
    EXPECT_EQ(duplicateString("a"), nullptr);
    EXPECT_EQ(upperCaseCopy("a"), nullptr);
    EXPECT_EQ(numberToText(1.5), nullptr);
}

} // namespace
