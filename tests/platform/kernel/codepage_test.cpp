#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(CharUpper, StringInPlace) {
    char text[] = "abc xyz 019 _-! \xE0\xF6\xF8\xFE \x9A\x9C\x9E\xFF \xDF\xB5\xF7";
    EXPECT_EQ(CharUpperA(text), text);
    EXPECT_STREQ(text, "ABC XYZ 019 _-! \xC0\xD6\xD8\xDE \x8A\x8C\x8E\x9F \xDF\xB5\xF7");
}

TEST(CharUpper, SingleCharacterInTheLowWord) {
    EXPECT_EQ((ULONG_PTR)CharUpperA((LPSTR)(ULONG_PTR)'q'), (ULONG_PTR)'Q');
    EXPECT_EQ((ULONG_PTR)CharUpperA((LPSTR)(ULONG_PTR)0xE9), (ULONG_PTR)0xC9);
    EXPECT_EQ((ULONG_PTR)CharUpperA((LPSTR)(ULONG_PTR)'5'), (ULONG_PTR)'5');
}

} // namespace

namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroAndRefusesOverflow) {
    EXPECT_EQ(MulDiv(7, 3, 2), 11);   // 10.5
    EXPECT_EQ(MulDiv(-7, 3, 2), -11); // -10.5
    EXPECT_EQ(MulDiv(5, 1, 3), 2);
    EXPECT_EQ(MulDiv(1 << 30, 8, 4), -1);
    EXPECT_EQ(MulDiv(1, 2, 0), -1);
    EXPECT_EQ(MulDiv(1 << 30, 1 << 30, 1 << 30), 1 << 30);
}

} // namespace
