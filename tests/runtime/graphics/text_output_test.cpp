// The print statement: the text of every type code, the cut at the end of
// the buffer, drawing at the current position, and standard output.
#include "runtime/graphics/text_output.h"

#include "runtime/graphics/shapes.h"
#include "tests/runtime/graphics/test_window.h"
#include "tests/support/bitmap_dc.h"
#include "tests/support/platform_info.h"
#include "tests/support/stdout_capture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdint.h>
#include <string.h>

#include <string>

namespace {

class TextOutput : public GraphicsTest {
  protected:
    // A target that draws nothing, so that printBuffer shows the text alone.
    WindowRecord closed{};

    // The width of the text in the record's font.
    int text_width(const char* text, int length) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, record.font);
        SIZE size{};
        GetTextExtentPoint32A(dc, text, length, &size);
        SelectObject(dc, previous);
        DeleteDC(dc);
        return size.cx;
    }
};

TEST_F(TextOutput, EveryTypeCode) {
    struct Case {
        const char* expected;
        void (*print)(WindowRecord* target);
    } cases[] = {
        {"Score: 57", [](WindowRecord* t) { printItems(2, 9, t, 0, "Score: 57"); }},
        {"A", [](WindowRecord* t) { printItems(2, 9, t, 1, 0x141); }},
        {"5  1.50", [](WindowRecord* t) { printItems(3, 9, t, 2, 5, 3, (double)1.5f); }},
        {"-7 4464 ", [](WindowRecord* t) { printItems(3, 9, t, 2, -7, 13, 70000); }},
        {"-0.25 0.10", [](WindowRecord* t) { printItems(3, 9, t, 14, -0.25, 3, (double)0.1f); }},
        {"-0.00", [](WindowRecord* t) { printItems(2, 9, t, 14, -0.001); }},
        {" 2.67", [](WindowRecord* t) { printItems(2, 9, t, 14, 2.675); }},
        {"4294967295 ", [](WindowRecord* t) { printItems(2, 9, t, 19, 0xFFFFFFFFu); }},
        {"-12 ", [](WindowRecord* t) { printItems(2, 9, t, 17, (int64_t)-12); }},
        {"0 ", [](WindowRecord* t) { printItems(2, 9, t, 17, (int64_t)0); }},
        {"-9223372036854775808 ",
         [](WindowRecord* t) { printItems(2, 9, t, 17, (int64_t)INT64_MIN); }},
        {"1099511627776 ", [](WindowRecord* t) { printItems(2, 9, t, 18, (uint64_t)1 << 40); }},
        {"18446744073709551615 ",
         [](WindowRecord* t) { printItems(2, 9, t, 18, (uint64_t)UINT64_MAX); }},
        {"a1 b", [](WindowRecord* t) { printItems(4, 9, t, 0, "a", 7, 99, 0, "1 b"); }},
        {"ab", [](WindowRecord* t) { printItems(4, 9, t, 0, "a", 9, nullptr, 0, "b"); }},
        {"", [](WindowRecord* t) { printItems(2, 9, t, 0, (const char*)nullptr); }},
        {"", [](WindowRecord* t) { printItems(1, 9, t); }},
    };
    for (const Case& c : cases) {
        memset(printBuffer, 'x', 64);
        c.print(&closed);
        EXPECT_STREQ(printBuffer, c.expected);
    }
    // A target item that is not first names no target and prints nothing.
    WindowRecord other{};
    printItems(4, 9, &closed, 0, "a", 9, &other, 0, "b");
    EXPECT_STREQ(printBuffer, "ab");
    EXPECT_EQ(printTarget, &closed);
}

TEST_F(TextOutput, LongTextIsCutToTheBuffer) {
    std::string long_text(20000, 'w');
    printItems(5, 9, &closed, 0, long_text.c_str(), 0, long_text.c_str(), 17, (int64_t)-5, 2, 7);
    EXPECT_EQ(strlen(printBuffer), (size_t)PRINT_BUFFER_SIZE - 1);
    EXPECT_EQ(printBuffer[PRINT_BUFFER_SIZE - 2], 'w');

    // A number that only partly fits is cut too.
    std::string almost(PRINT_BUFFER_SIZE - 4, 'z');
    printItems(3, 9, &closed, 0, almost.c_str(), 18, (uint64_t)123456);
    EXPECT_EQ(strlen(printBuffer), (size_t)PRINT_BUFFER_SIZE - 1);
    EXPECT_STREQ(printBuffer + PRINT_BUFFER_SIZE - 4, "123");
}

TEST(FormatInt64, StopsAtItsCapacity) {
    char out[16];
    memset(out, '#', sizeof out);
    EXPECT_EQ(formatInt64((uint64_t)-123456789, true, out, 6), 5u);
    EXPECT_STREQ(out, "-1234");
    EXPECT_EQ(out[6], '#') << "nothing written past the capacity";
    EXPECT_EQ(formatInt64(42, false, out, 0), 0u);
    EXPECT_EQ(out[0], '-') << "capacity 0 writes nothing";
}

TEST_F(TextOutput, LineIsDrawnAtTheCurrentPosition) {
    window.open();
    moveToPoint(&record, 10, 20);
    printItems(4, 9, &record, 0, "Paused...", 1, 13, 1, 10);
    EXPECT_EQ(printTarget, &record);
    EXPECT_EQ(record.curPos.x, 10 + text_width("Paused...", 9));
    EXPECT_EQ(record.curPos.y, 20);

    // The same text drawn by the platform in the same font, for comparison.
    BitmapDc reference(200, 60);
    reference.fill(0xFFFFFF);
    HGDIOBJ previous = SelectObject(reference.dc(), record.font);
    TextOutA(reference.dc(), 10, 20, "Paused...", 9);
    SelectObject(reference.dc(), previous);
    RECT drawn = reference.extent_of_changes(0xFFFFFF);
    ASSERT_LT(drawn.left, drawn.right);
    int mismatches = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            uint32_t p = reference.pixel(x, y);
            mismatches += window.bitmap_pixel(x, y) != RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF);
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(window.screen_differences({0, 0, 200, 60}), 0) << "on the screen at return";
}

TEST_F(TextOutput, ScoreIsBlackOnWhite) {
    window.open();
    setWindowColor(&record, colorRGB(0, 0, 255));
    moveToPoint(&record, 1, 1);
    printItems(4, 9, &record, 0, "Score: 57", 1, 13, 1, 10);
    int height = 0;
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, record.font);
        SIZE size;
        GetTextExtentPoint32A(dc, "Score: 57", 9, &size);
        height = size.cy;
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    RECT text{1, 1, record.curPos.x, 1 + height};
    int area = (text.right - text.left) * (text.bottom - text.top);
    int black = window.bitmap_count(text, RGB(0, 0, 0));
    int white = window.bitmap_count(text, RGB(255, 255, 255));
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
    // Wine draws its stand-in for the system font smoothed with greys;
    // nothing else may be there.
    int coloured = 0;
    for (int y = text.top; y < text.bottom; ++y)
        for (int x = text.left; x < text.right; ++x) {
            COLORREF p = window.bitmap_pixel(x, y);
            coloured += GetRValue(p) != GetGValue(p) || GetGValue(p) != GetBValue(p);
        }
    EXPECT_EQ(coloured, 0) << "only black, white and greys inside the text's box";
    if (!running_under_wine()) {
        EXPECT_EQ(black + white, area) << "the font is drawn without smoothing";
    }
    EXPECT_EQ(window.bitmap_pixel(0, 0), RGB(0, 0, 255)) << "nothing outside it";
    EXPECT_EQ(window.bitmap_pixel(text.right, 1), RGB(0, 0, 255));
    EXPECT_EQ(window.screen_differences({0, 0, text.right + 2, text.bottom + 2}), 0);
}

TEST_F(TextOutput, LineEndsAreTrimmedOnlyAtTheEnd) {
    window.open();
    // Only a line end: nothing drawn, no drawing target taken.
    printItems(3, 9, &record, 1, 13, 1, 10);
    printItems(0);
    printItems(2, 9, &record, 1, 10);
    EXPECT_EQ(window.paints, 0);
    EXPECT_EQ(record.curPos.x, 0);
    EXPECT_EQ(window.bitmap_count({0, 0, 100, 40}, RGB(255, 255, 255)), 4000);

    // A lone final carriage return is drawn as a glyph.
    printItems(3, 9, &record, 0, "A", 1, 13);
    EXPECT_EQ(record.curPos.x, text_width("A\r", 2));
    // A line feed alone is dropped; the carriage return before "B" stays.
    int before = record.curPos.x;
    printItems(2, 0, "\rB", 1, 10);
    EXPECT_EQ(record.curPos.x, before + text_width("\rB", 2)) << "the target is kept";
}

TEST_F(TextOutput, WithoutTargetTheLineGoesToStandardOutputWhole) {
    StdoutCapture capture;
    printItems(4, 0, "Score:", 2, 57, 1, 13, 1, 10);
    printItems(0);
    printItems(2, 17, (int64_t)-1, 0, "\n");
    EXPECT_EQ(capture.finish(), "Score:57 \r\n-1 \n");
    EXPECT_EQ(printTarget, nullptr);
}

} // namespace
