// The message box's layout: boxes measured under Wine (tools/probes/
// msgbox_probe.cpp) reproduced to the pixel from the metrics of Wine's dialog
// font, the same rules with the layer's System font, and the wrapping of the
// message's lines.
#include "platform/user/msgbox_layout.h"

#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/bitmap_dc.h"
#include "tests/support/expect_rect.h"

namespace {

using Lines = std::vector<std::string>;

// Advances of characters 32 to 126 in the box's font under Wine ("MS Shell
// Dlg", 8 points) at 96 and at 144 dots per inch, as the probe prints them.
const int32_t WINE_WIDTHS_96[95] = {3, 3, 4, 6, 6, 10, 7, 2, 4, 4, 4, 6, 3, 4,  3, 3, 6, 6,  6,
                                    6, 6, 6, 6, 6, 6,  6, 3, 3, 6, 6, 6, 6, 11, 7, 7, 8, 8,  7,
                                    7, 9, 8, 3, 6, 7,  6, 9, 8, 9, 7, 9, 8, 7,  7, 8, 7, 10, 7,
                                    7, 7, 3, 3, 3, 5,  6, 4, 6, 6, 6, 6, 6, 3,  6, 6, 2, 2,  6,
                                    2, 9, 6, 6, 6, 6,  4, 6, 3, 6, 6, 8, 6, 6,  6, 4, 3, 4,  6};
const int32_t WINE_WIDTHS_144[95] = {
    5,  5,  6,  9,  9,  15, 11, 3,  6,  6,  7,  10, 5,  6,  5,  5,  9,  9, 9, 9,  9, 9,  9,  9,
    9,  9,  5,  5,  10, 10, 10, 9,  17, 11, 11, 12, 12, 11, 10, 13, 12, 5, 9, 11, 9, 14, 12, 13,
    11, 13, 12, 11, 10, 12, 11, 16, 11, 11, 10, 5,  5,  5,  8,  9,  6,  9, 9, 9,  9, 9,  5,  9,
    9,  4,  4,  9,  4,  14, 9,  9,  9,  9,  6,  9,  5,  9,  9,  12, 9,  9, 9, 6,  4, 6,  10};

MsgboxFont table_font(const int32_t* widths, int32_t height) {
    MsgboxFont font = {};
    font.text_width = [widths](const char* text, int32_t count) {
        int32_t width = 0;
        for (int32_t i = 0; i < count; i++) {
            unsigned char c = (unsigned char)text[i];
            EXPECT_TRUE(c >= 32 && c < 127) << "line end or control character measured";
            width += c >= 32 && c < 127 ? widths[c - 32] : 0;
        }
        return width;
    };
    font.height = height;
    font.base =
        (font.text_width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52) / 26 + 1) / 2;
    return font;
}

const MsgboxFont WINE_FONT_96 = table_font(WINE_WIDTHS_96, 12);
const MsgboxFont WINE_FONT_144 = table_font(WINE_WIDTHS_144, 19);
const MsgboxMetrics WINE_METRICS_96 = {19, 3, 3, 18, 32, 1280};
const MsgboxMetrics WINE_METRICS_144 = {28, 3, 3, 27, 48, 1280};

const char RULES_TEXT[] =
    "Steer the snake with the arrow keys and eat the food that appears on the field. "
    "Each piece of food makes the snake longer and adds to the score. The game ends when "
    "the snake runs into a wall or into itself. Press P to pause and resume.";
const char ABOUT_TEXT[] = "Zandrel 1.0\r\nA small arcade game\r\nWritten in plain Win32";
const char CRASH_TEXT[] = "Crash!!!\r\nScore: 57";

constexpr UINT OK = 0, OKCANCEL = 1, ABORTRETRYIGNORE = 2, YESNOCANCEL = 3, YESNO = 4,
               RETRYCANCEL = 5;
constexpr UINT HAND = 0x10, QUESTION = 0x20, EXCLAMATION = 0x30, ASTERISK = 0x40;
constexpr UINT DEFBUTTON2 = 0x100, DEFBUTTON3 = 0x200;

struct MeasuredBox {
    const char* name;
    const char* text;
    UINT type;
    SIZE window;
    RECT icon; // empty when the box has none
    RECT text_rect;
    int32_t button_count;
    RECT buttons[MSGBOX_MAX_BUTTONS];
    int32_t default_button;
};

// Boxes as Wine lays them out at 96 dots per inch.
const MeasuredBox WINE_BOXES_96[] = {
    {"crash",
     CRASH_TEXT,
     OK | EXCLAMATION,
     {121, 105},
     {12, 8, 44, 40},
     {56, 12, 103, 36},
     1,
     {{36, 48, 84, 72}},
     0},
    {"rules", RULES_TEXT, OK, {289, 133}, {}, {12, 8, 271, 68}, 1, {{120, 76, 168, 100}}, 0},
    {"rules with icon",
     RULES_TEXT,
     OK | ASTERISK,
     {333, 133},
     {12, 22, 44, 54},
     {56, 8, 315, 68},
     1,
     {{142, 76, 190, 100}},
     0},
    {"about",
     ABOUT_TEXT,
     OK | ASTERISK,
     {177, 109},
     {12, 10, 44, 42},
     {56, 8, 159, 44},
     1,
     {{64, 52, 112, 76}},
     0},
    {"tiny", "Hi", OK, {98, 85}, {}, {12, 8, 80, 20}, 1, {{25, 28, 73, 52}}, 0},
    {"tiny with icon",
     "Hi",
     OK | HAND,
     {98, 105},
     {12, 8, 44, 40},
     {56, 18, 80, 30},
     1,
     {{25, 48, 73, 72}},
     0},
    {"ok cancel",
     "Question?",
     OKCANCEL | QUESTION,
     {220, 105},
     {12, 8, 44, 40},
     {56, 18, 202, 30},
     2,
     {{31, 48, 99, 72}, {121, 48, 189, 72}},
     0},
    {"abort retry ignore",
     "Question?",
     ABORTRETRYIGNORE | QUESTION | DEFBUTTON2,
     {284, 105},
     {12, 8, 44, 40},
     {56, 18, 266, 30},
     3,
     {{29, 48, 91, 72}, {111, 48, 173, 72}, {193, 48, 255, 72}},
     1},
    {"yes no cancel",
     "Question?",
     YESNOCANCEL | QUESTION | DEFBUTTON3,
     {310, 105},
     {12, 8, 44, 40},
     {56, 18, 292, 30},
     3,
     {{31, 48, 99, 72}, {121, 48, 189, 72}, {211, 48, 279, 72}},
     2},
    {"yes no",
     "Question?",
     YESNO | DEFBUTTON2,
     {162, 85},
     {},
     {12, 8, 144, 20},
     2,
     {{25, 28, 73, 52}, {89, 28, 137, 52}},
     1},
    {"retry cancel",
     "Question?",
     RETRYCANCEL,
     {220, 85},
     {},
     {12, 8, 202, 20},
     2,
     {{31, 28, 99, 52}, {121, 28, 189, 52}},
     0},
    {"trailing line end", "Line\r\n", OK, {98, 85}, {}, {12, 8, 80, 20}, 1, {{25, 28, 73, 52}}, 0},
    {"empty lines", "\n\nx", OK, {98, 109}, {}, {12, 8, 80, 44}, 1, {{25, 52, 73, 76}}, 0},
    {"lone CR", "a\rb", OK, {98, 97}, {}, {12, 8, 80, 32}, 1, {{25, 40, 73, 64}}, 0},
    {"LF CR", "a\n\rb", OK, {98, 97}, {}, {12, 8, 80, 32}, 1, {{25, 40, 73, 64}}, 0},
    {"empty", "", OK, {98, 73}, {}, {12, 8, 80, 8}, 1, {{25, 16, 73, 40}}, 0},
    {"text taller than icon",
     "1\r\n2\r\n3\r\n4\r\n5",
     OK | HAND,
     {98, 133},
     {12, 22, 44, 54},
     {56, 8, 80, 68},
     1,
     {{25, 76, 73, 100}},
     0},
};

// The same rules at 144 dots per inch, where the dialog unit, the line, the
// icon and the caption grow but the vertical paddings stay in pixels.
const MeasuredBox WINE_BOXES_144[] = {
    {"crash",
     CRASH_TEXT,
     OK | EXCLAMATION,
     {186, 144},
     {20, 8, 68, 56},
     {88, 13, 160, 51},
     1,
     {{55, 64, 131, 102}},
     0},
    {"rules", RULES_TEXT, OK, {480, 191}, {}, {20, 8, 454, 103}, 1, {{202, 111, 278, 149}}, 0},
    {"rules with icon",
     RULES_TEXT,
     OK | ASTERISK,
     {548, 191},
     {20, 31, 68, 79},
     {88, 8, 522, 103},
     1,
     {{236, 111, 312, 149}},
     0},
    {"about",
     ABOUT_TEXT,
     OK | ASTERISK,
     {278, 153},
     {20, 12, 68, 60},
     {88, 8, 252, 65},
     1,
     {{101, 73, 177, 111}},
     0},
    {"ok cancel",
     "Question?",
     OKCANCEL | QUESTION,
     {336, 144},
     {20, 8, 68, 56},
     {88, 22, 310, 41},
     2,
     {{47, 64, 151, 102}, {185, 64, 289, 102}},
     0},
};

void expect_measured(const MeasuredBox& box, const MsgboxFont& font, const MsgboxMetrics& metrics) {
    SCOPED_TRACE(box.name);
    MsgboxLayout layout;
    ASSERT_TRUE(msgbox_layout(box.text, "T", box.type, font, font, metrics, &layout));
    EXPECT_EQ(box.window.cx, layout.window.cx);
    EXPECT_EQ(box.window.cy, layout.window.cy);
    EXPECT_EQ(box.window.cx - 6, layout.client.cx);
    EXPECT_EQ(box.window.cy - 6 - metrics.caption_height, layout.client.cy);
    EXPECT_EQ(box.icon.right > box.icon.left, layout.icon != 0);
    if (layout.icon != 0)
        expect_rect(layout.icon_rect, box.icon, "icon");
    expect_rect(layout.text, box.text_rect, "text");
    ASSERT_EQ(box.button_count, layout.button_count);
    for (int32_t i = 0; i < box.button_count; i++)
        expect_rect(layout.buttons[i].rect, box.buttons[i], "button " + std::to_string(i));
    EXPECT_EQ(box.default_button, layout.default_button);
}

TEST(MsgboxLayoutWine, ReproducesBoxesAt96Dpi) {
    EXPECT_EQ(6, WINE_FONT_96.base);
    for (const MeasuredBox& box : WINE_BOXES_96)
        expect_measured(box, WINE_FONT_96, WINE_METRICS_96);
}

TEST(MsgboxLayoutWine, ReproducesBoxesAt144Dpi) {
    EXPECT_EQ(10, WINE_FONT_144.base);
    for (const MeasuredBox& box : WINE_BOXES_144)
        expect_measured(box, WINE_FONT_144, WINE_METRICS_144);
}

TEST(MsgboxLayoutWine, RulesWrapInFiveLinesOf176DialogUnits) {
    MsgboxLayout layout;
    ASSERT_TRUE(msgbox_layout(RULES_TEXT, "Rules", OK, WINE_FONT_96, WINE_FONT_96, WINE_METRICS_96,
                              &layout));
    // As DrawTextA breaks it under Wine; each line keeps the space it breaks at.
    const Lines expected = {
        "Steer the snake with the arrow keys and eat the food ",
        "that appears on the field. Each piece of food makes ",
        "the snake longer and adds to the score. The game ",
        "ends when the snake runs into a wall or into itself. ",
        "Press P to pause and resume.",
    };
    EXPECT_EQ(expected, layout.lines);
    std::string joined;
    for (const std::string& line : layout.lines)
        joined += line;
    EXPECT_EQ(RULES_TEXT, joined);
}

// Wine keeps a word wider than the line whole and widens the box to it (a
// box 1350 pixels wide on a 1280-pixel screen for this text); the layer
// breaks the word where it stops fitting, as Windows' message box does, so
// the box keeps its maximum width.
TEST(MsgboxLayoutWine, LongWordBreaksInsteadOfWideningTheBox) {
    std::string text = "Start " + std::string(132, 'W') + " end";
    MsgboxLayout layout;
    ASSERT_TRUE(
        msgbox_layout(text.c_str(), "W", OK, WINE_FONT_96, WINE_FONT_96, WINE_METRICS_96, &layout));
    Lines expected = {"Start "};
    for (int i = 0; i < 5; i++)
        expected.push_back(std::string(26, 'W'));
    expected.push_back("WW end");
    EXPECT_EQ(expected, layout.lines);
    expect_rect(layout.text, {12, 8, 12 + 260, 8 + 7 * 12}, "text");
    EXPECT_EQ(12 + 260 + 12 + 6, layout.window.cx);
}

// Wine lets a caption overflow; the layer widens the box to show it beside
// the close box, and centres the buttons in the wider box.
TEST(MsgboxLayoutCaption, LongCaptionWidensTheBox) {
    const char caption[] = "A caption that is a good deal longer than the text";
    MsgboxFont caption_font = WINE_FONT_96;
    caption_font.text_width = [](const char*, int32_t count) { return count * 8; };
    MsgboxLayout layout;
    ASSERT_TRUE(
        msgbox_layout("Hi", caption, OK, WINE_FONT_96, caption_font, WINE_METRICS_96, &layout));
    int32_t need = (int32_t)strlen(caption) * 8 + 6 + 18 + 6;
    EXPECT_EQ(need, layout.window.cx);
    EXPECT_EQ(85, layout.window.cy);
    EXPECT_EQ(layout.window.cx - 6 - 12, layout.text.right);
    EXPECT_EQ((need - 48) / 2, layout.buttons[0].rect.left);
}

TEST(MsgboxLayoutCaption, CaptionNeverWidensPastTheScreen) {
    MsgboxFont caption_font = WINE_FONT_96;
    caption_font.text_width = [](const char*, int32_t) { return 5000; };
    MsgboxLayout layout;
    ASSERT_TRUE(
        msgbox_layout("Hi", "Huge", OK, WINE_FONT_96, caption_font, WINE_METRICS_96, &layout));
    EXPECT_EQ(1280, layout.window.cx);
}

TEST(MsgboxLayoutButtons, LabelsIdsAndDefaultPerType) {
    struct Row {
        UINT type;
        std::vector<std::string> labels;
        std::vector<int32_t> ids;
        int32_t default_button;
    };
    const Row rows[] = {
        {OK, {"OK"}, {1}, 0},
        {OKCANCEL | DEFBUTTON2, {"OK", "Cancel"}, {1, 2}, 1},
        {ABORTRETRYIGNORE | DEFBUTTON3, {"&Abort", "&Retry", "&Ignore"}, {3, 4, 5}, 2},
        {YESNOCANCEL, {"&Yes", "&No", "Cancel"}, {6, 7, 2}, 0},
        {YESNO | DEFBUTTON2, {"&Yes", "&No"}, {6, 7}, 1},
        {RETRYCANCEL, {"&Retry", "Cancel"}, {4, 2}, 0},
        // A default past the last button falls back to the first, as on
        // Windows; Wine leaves such a box with no default button at all.
        {OK | DEFBUTTON3, {"OK"}, {1}, 0},
        {YESNO | DEFBUTTON3, {"&Yes", "&No"}, {6, 7}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        MsgboxLayout layout;
        ASSERT_TRUE(msgbox_layout("Q", "T", row.type, WINE_FONT_96, WINE_FONT_96, WINE_METRICS_96,
                                  &layout));
        ASSERT_EQ((int32_t)row.labels.size(), layout.button_count);
        for (int32_t i = 0; i < layout.button_count; i++) {
            EXPECT_EQ(row.labels[i], layout.buttons[i].label);
            EXPECT_EQ(row.ids[i], layout.buttons[i].id);
        }
        EXPECT_EQ(row.default_button, layout.default_button);
    }
}

TEST(MsgboxLayoutButtons, UnknownButtonSetIsRefused) {
    MsgboxLayout layout;
    layout.button_count = -1;
    EXPECT_FALSE(msgbox_layout("Q", "T", 6, WINE_FONT_96, WINE_FONT_96, WINE_METRICS_96, &layout));
    EXPECT_FALSE(
        msgbox_layout("Q", "T", 0xF, WINE_FONT_96, WINE_FONT_96, WINE_METRICS_96, &layout));
    EXPECT_EQ(-1, layout.button_count);
}

TEST(MsgboxLayoutButtons, OnlyTheFourIconsShowAnIcon) {
    const UINT icons[] = {0, HAND, QUESTION, EXCLAMATION, ASTERISK, 0x50, 0x80};
    const UINT shown[] = {0, HAND, QUESTION, EXCLAMATION, ASTERISK, 0, 0};
    for (int i = 0; i < 7; i++) {
        MsgboxLayout layout;
        ASSERT_TRUE(msgbox_layout("Q", "T", icons[i], WINE_FONT_96, WINE_FONT_96, WINE_METRICS_96,
                                  &layout));
        EXPECT_EQ(shown[i], layout.icon) << icons[i];
        EXPECT_EQ(shown[i] != 0 ? 56 : 12, layout.text.left) << icons[i];
    }
}

// Wrapping, measured in Wine's font: 'a', 'b', 'c' are 6 wide, ' ' 3, '-' 4
// and 'W' 10. Where Wine's DrawTextA with DT_WORDBREAK agrees, the cases are
// the probe's.
struct WrapCase {
    const char* text;
    int32_t width;
    Lines lines;
};

void expect_wraps(const WrapCase* cases, size_t count) {
    for (size_t i = 0; i < count; i++) {
        const WrapCase& c = cases[i];
        EXPECT_EQ(c.lines, msgbox_wrap_text(c.text, WINE_FONT_96, c.width))
            << "\"" << c.text << "\" in " << c.width;
    }
}

TEST(MsgboxWrap, SplitsAtEveryKindOfLineEnd) {
    const WrapCase cases[] = {
        {"aaa\r\nbbb", 200, {"aaa", "bbb"}},
        {"aaa\nbbb", 200, {"aaa", "bbb"}},
        {"a\rb", 200, {"a", "b"}},
        {"a\n\rb", 200, {"a", "b"}},
        {"a\r\r\nb", 200, {"a", "", "b"}},
        {"\r\naaa", 200, {"", "aaa"}},
        {"\n\nx", 200, {"", "", "x"}},
        {"aaa\r\n", 200, {"aaa"}},
        {"aaa\n\n", 200, {"aaa", ""}},
        {"", 200, {}},
        {" aaa", 200, {" aaa"}},
    };
    expect_wraps(cases, sizeof cases / sizeof cases[0]);
}

TEST(MsgboxWrap, BreaksAfterTheLastSpaceOrHyphenThatFits) {
    const WrapCase cases[] = {
        // "aaa bbb" fits 40 exactly up to the space after it, yet the break
        // is taken after the last space inside the fitting part.
        {"aaa bbb ccc", 40, {"aaa ", "bbb ccc"}},
        {"aaa bbb ccc", 30, {"aaa ", "bbb ", "ccc"}},
        {"aaa    bbb", 30, {"aaa    ", "bbb"}},
        {"aaa-bbb-ccc", 30, {"aaa-", "bbb-", "ccc"}},
        {"aaa bbb", 39, {"aaa bbb"}},
        {"aaa bbb", 20, {"aaa", "bbb"}},
        {"aaa\r\nbbb ccc", 30, {"aaa", "bbb ", "ccc"}},
    };
    expect_wraps(cases, sizeof cases / sizeof cases[0]);
}

TEST(MsgboxWrap, BreaksWordsWiderThanTheLine) {
    const WrapCase cases[] = {
        {"WWWWWWWWWW", 40, {"WWWW", "WWWW", "WW"}},
        {"xx WWWWWWWWWW yy", 40, {"xx ", "WWWW", "WWWW", "WW yy"}},
        {"WWWW  yy", 40, {"WWWW", "yy"}},
        {"ab", 1, {"a", "b"}},
    };
    expect_wraps(cases, sizeof cases / sizeof cases[0]);
}

// The layer's own font: the same rules, from the metrics a device context
// reports for the built-in System font.
class MsgboxLayoutSystemFont : public ::testing::Test {
  protected:
    BitmapDc canvas{8, 8};
    MsgboxFont font = msgbox_font_of_dc(canvas.dc());
    MsgboxMetrics metrics = msgbox_system_metrics();

    MsgboxLayout layout_of(const char* text, const char* caption, UINT type) {
        MsgboxLayout layout;
        EXPECT_TRUE(msgbox_layout(text, caption, type, font, font, metrics, &layout));
        return layout;
    }
    int32_t width(const std::string& s) { return font.text_width(s.data(), (int32_t)s.size()); }
};

TEST_F(MsgboxLayoutSystemFont, FontAndMetricsComeFromTheLayer) {
    EXPECT_EQ(16, font.height);
    EXPECT_EQ(width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
              font.text_width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52));
    EXPECT_GT(font.base, 4);
    EXPECT_EQ(19, metrics.caption_height);
    EXPECT_EQ(3, metrics.frame_width);
    EXPECT_EQ(32, metrics.icon_size);
    EXPECT_EQ(1024, metrics.screen_width);
}

TEST_F(MsgboxLayoutSystemFont, CrashBoxFollowsTheRules) {
    MsgboxLayout box = layout_of(CRASH_TEXT, "Alert", OK | EXCLAMATION);
    int32_t margin = 2 * font.base;
    EXPECT_EQ((Lines{"Crash!!!", "Score: 57"}), box.lines);
    expect_rect(box.icon_rect, {margin, 8, margin + 32, 40}, "icon");
    // Two lines of 16 rows are as high as the icon: both start 8 rows down.
    int32_t text_left = 2 * margin + 32;
    int32_t row = 64 + 2 * (64 / 3); // one button four lines wide, a third of it either side
    int32_t text_width = std::max({width("Crash!!!"), width("Score: 57"), row - text_left});
    expect_rect(box.text, {text_left, 8, text_left + text_width, 40}, "text");
    EXPECT_EQ(text_left + text_width + margin + 6, box.window.cx);
    EXPECT_EQ(box.window.cx - 6, box.client.cx);
    EXPECT_EQ(48 + 32 + 8, box.client.cy);
    EXPECT_EQ(box.client.cy + 25, box.window.cy);
    ASSERT_EQ(1, box.button_count);
    expect_rect(box.buttons[0].rect,
                {(box.window.cx - 64) / 2, 48, (box.window.cx - 64) / 2 + 64, 80}, "OK");
}

TEST_F(MsgboxLayoutSystemFont, RulesWrapWithinTheMaximumWidth) {
    MsgboxLayout box = layout_of(RULES_TEXT, "Rules", OK);
    int32_t max_width = 44 * font.base;
    ASSERT_GT(box.lines.size(), 2u);
    std::string joined;
    int32_t widest = 0;
    for (size_t i = 0; i < box.lines.size(); i++) {
        const std::string& line = box.lines[i];
        EXPECT_LE(width(line), max_width) << line;
        widest = std::max(widest, width(line));
        joined += line;
        if (i + 1 < box.lines.size()) {
            // Each line ends at a word's end, and the next word would not fit.
            EXPECT_EQ(' ', line.back()) << line;
            std::string next = box.lines[i + 1];
            next = next.substr(0, next.find(' ') + 1);
            EXPECT_GT(width(line + next), max_width) << line << "|" << next;
        }
    }
    EXPECT_EQ(RULES_TEXT, joined);
    EXPECT_EQ(widest, box.text.right - box.text.left);
    EXPECT_EQ(16 * (int32_t)box.lines.size(), box.text.bottom - box.text.top);
    EXPECT_EQ(8, box.text.top);
    EXPECT_LT(box.window.cx, metrics.screen_width);
}

TEST_F(MsgboxLayoutSystemFont, ButtonsAreCentredAndSpacedByAThird) {
    MsgboxLayout box = layout_of("Save the game?", "Zandrel", YESNOCANCEL | QUESTION);
    ASSERT_EQ(3, box.button_count);
    int32_t button_width = 2 * std::max(width("Cancel"), 32);
    int32_t gap = button_width / 3;
    for (int32_t i = 0; i < 3; i++) {
        const RECT& r = box.buttons[i].rect;
        EXPECT_EQ(button_width, r.right - r.left);
        EXPECT_EQ(32, r.bottom - r.top);
        EXPECT_EQ(48, r.top);
        if (i > 0) {
            EXPECT_EQ(gap, r.left - box.buttons[i - 1].rect.right);
        }
    }
    EXPECT_EQ((box.window.cx - (3 * button_width + 2 * gap)) / 2, box.buttons[0].rect.left);
    // The row of buttons, with a gap at each end, sets the box's width.
    EXPECT_EQ(3 * button_width + 4 * gap + 2 * font.base + 6, box.window.cx);
}

TEST_F(MsgboxLayoutSystemFont, AboutBoxHasOneLinePerLineOfText) {
    MsgboxLayout box = layout_of(ABOUT_TEXT, "About Zandrel", OK | ASTERISK);
    EXPECT_EQ((Lines{"Zandrel 1.0", "A small arcade game", "Written in plain Win32"}), box.lines);
    EXPECT_EQ(48, box.text.bottom - box.text.top);
    EXPECT_EQ(16 + 48, box.buttons[0].rect.top);
    EXPECT_EQ(8, box.text.top);
    EXPECT_EQ((64 - 32) / 2, box.icon_rect.top);
}

} // namespace
