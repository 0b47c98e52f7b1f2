// The classic non-client look: where the caption buttons are, which pixels
// the frame and caption colour, and whole pictures of captions, frames and
// the system icons compared with pictures kept in the repository. Set
// ZANDREL_UPDATE_GOLDENS=1 to rewrite them after a change meant to alter
// them, and look at the result.
#include "platform/user/nonclient_draw.h"
#include "tests/support/bitmap_dc.h"
#include "tests/support/image_compare.h"

#include <gtest/gtest.h>
#include <layer/user.h>
#include <windows.h>

#include <set>
#include <string>

namespace {

constexpr DWORD GAME_STYLE = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr uint32_t MAGENTA = 0xFF00FF;

// A system colour as the bitmap holds it: 0x00RRGGBB.
uint32_t sys(int index) {
    COLORREF c = GetSysColor(index);
    return (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
}

bool rects_equal(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

::testing::AssertionResult is_rect(const RECT& actual, RECT expected) {
    if (rects_equal(actual, expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "{" << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom
           << "} instead of {" << expected.left << "," << expected.top << "," << expected.right
           << "," << expected.bottom << "}";
}

bool is_empty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

// A whole window's non-client area as the window code paints it, over a
// white client area.
void draw_window(HDC dc, RECT window, DWORD style, const char* title, bool active, bool menu_bar) {
    FillRect(dc, &window, GetSysColorBrush(COLOR_WINDOW));
    draw_window_frame(dc, window, style, 0);
    RECT caption = caption_rect_for_window(window, style, 0);
    draw_caption(dc, caption, title, LoadIconA(nullptr, IDI_APPLICATION), active,
                 caption_buttons_for_style(style, 0));
    if (menu_bar) {
        RECT bar{caption.left, caption.bottom, caption.right,
                 caption.bottom + GetSystemMetrics(SM_CYMENU)};
        draw_menu_bar_background(dc, bar);
    }
}

::testing::AssertionResult matches(const BitmapDc& m, const std::string& name) {
    std::string path = "tests/platform/user/golden/" + name + ".png";
    return matches_golden(path.c_str(), m.bits(), m.width(), m.height(), m.width());
}

// The game's window: 640 by 368 with a fixed frame, caption and menu bar.
const RECT GAME_WINDOW{0, 0, 640, 368};
const RECT GAME_CAPTION{3, 3, 637, 22};

TEST(CaptionGeometry, BandSitsInsideTheFrame) {
    EXPECT_TRUE(is_rect(caption_rect_for_window(GAME_WINDOW, GAME_STYLE, 0), GAME_CAPTION));
    EXPECT_TRUE(
        is_rect(caption_rect_for_window(GAME_WINDOW, WS_OVERLAPPEDWINDOW, 0), {4, 4, 636, 23}));
    EXPECT_TRUE(is_empty(caption_rect_for_window(GAME_WINDOW, WS_POPUP | WS_BORDER, 0)));
    EXPECT_EQ(window_frame_width(GAME_STYLE, 0), 3);
    EXPECT_EQ(window_frame_width(WS_OVERLAPPEDWINDOW, 0), 4);
    EXPECT_EQ(window_frame_width(WS_POPUP | WS_BORDER, 0), 1);
    EXPECT_EQ(window_frame_width(WS_POPUP, WS_EX_DLGMODALFRAME), 3);
    EXPECT_EQ(window_frame_width(WS_POPUP, 0), 0);
}

TEST(CaptionGeometry, ButtonRectangles) {
    CaptionButtons b = caption_buttons_for_style(GAME_STYLE, 0);
    EXPECT_TRUE(is_rect(caption_button_rect(GAME_CAPTION, HTCLOSE, b), {619, 5, 635, 19}));
    EXPECT_TRUE(is_rect(caption_button_rect(GAME_CAPTION, HTMAXBUTTON, b), {601, 5, 617, 19}));
    EXPECT_TRUE(is_rect(caption_button_rect(GAME_CAPTION, HTMINBUTTON, b), {585, 5, 601, 19}));
    EXPECT_TRUE(is_empty(caption_button_rect(GAME_CAPTION, HTCAPTION, b)));
    // Buttons not shown have no rectangle and leave no gap.
    CaptionButtons close_only;
    close_only.close = true;
    EXPECT_TRUE(is_empty(caption_button_rect(GAME_CAPTION, HTMINBUTTON, close_only)));
    EXPECT_TRUE(is_empty(caption_button_rect(GAME_CAPTION, HTMAXBUTTON, close_only)));
    CaptionButtons no_close;
    no_close.minimize = no_close.maximize = true;
    EXPECT_TRUE(is_empty(caption_button_rect(GAME_CAPTION, HTCLOSE, no_close)));
    EXPECT_TRUE(
        is_rect(caption_button_rect(GAME_CAPTION, HTMAXBUTTON, no_close), {619, 5, 635, 19}));
    EXPECT_TRUE(
        is_rect(caption_button_rect(GAME_CAPTION, HTMINBUTTON, no_close), {603, 5, 619, 19}));
}

TEST(CaptionGeometry, ButtonsFollowTheStyle) {
    struct Case {
        DWORD style, ex_style;
        bool close, minimize, maximize, minimize_greyed, maximize_greyed;
    };
    static const Case CASES[] = {
        {WS_CAPTION, 0, false, false, false, false, false},
        {WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, false, false, false, false, false},
        {WS_CAPTION | WS_SYSMENU, 0, true, false, false, false, false},
        {GAME_STYLE, 0, true, true, true, false, true},
        {WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, 0, true, true, true, true, false},
        {WS_OVERLAPPEDWINDOW, 0, true, true, true, false, false},
        {WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, true, false, false, false, false},
    };
    for (const Case& c : CASES) {
        SCOPED_TRACE(::testing::Message() << "style " << std::hex << c.style);
        CaptionButtons b = caption_buttons_for_style(c.style, c.ex_style);
        EXPECT_EQ(b.close, c.close);
        EXPECT_EQ(b.minimize, c.minimize);
        EXPECT_EQ(b.maximize, c.maximize);
        if (b.minimize) {
            EXPECT_EQ(b.minimize_greyed, c.minimize_greyed);
            EXPECT_EQ(b.maximize_greyed, c.maximize_greyed);
        }
    }
}

TEST(CaptionGeometry, HitTesting) {
    CaptionButtons b = caption_buttons_for_style(GAME_STYLE, 0);
    struct Case {
        POINT point;
        bool has_icon;
        int expected;
    };
    static const Case CASES[] = {
        {{619, 5}, true, HTCLOSE},      {{634, 18}, true, HTCLOSE},
        {{618, 10}, true, HTCAPTION},   {{635, 10}, true, HTCAPTION},
        {{619, 19}, true, HTCAPTION},   {{617, 10}, true, HTCAPTION},
        {{616, 10}, true, HTMAXBUTTON}, {{601, 10}, true, HTMAXBUTTON},
        {{600, 10}, true, HTMINBUTTON}, {{585, 10}, true, HTMINBUTTON},
        {{3, 3}, true, HTSYSMENU},      {{20, 21}, true, HTSYSMENU},
        {{21, 10}, true, HTCAPTION},    {{3, 3}, false, HTCAPTION},
        {{2, 10}, true, HTNOWHERE},     {{300, 22}, true, HTNOWHERE},
    };
    for (const Case& c : CASES) {
        SCOPED_TRACE(::testing::Message() << "(" << c.point.x << "," << c.point.y << ")");
        EXPECT_EQ(caption_hit_test(GAME_CAPTION, c.point, c.has_icon, b), c.expected);
    }
}

TEST(FramePixels, DialogFrameIsARaisedEdgeAndOneFaceRing) {
    BitmapDc m(40, 30);
    m.fill(MAGENTA);
    draw_window_frame(m.dc(), {0, 0, 40, 30}, WS_CAPTION | WS_SYSMENU, 0);
    // Outer ring; the bottom-right colour owns the mixed corners.
    EXPECT_EQ(m.pixel(38, 0), sys(COLOR_3DLIGHT));
    EXPECT_EQ(m.pixel(39, 0), sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(m.pixel(0, 28), sys(COLOR_3DLIGHT));
    EXPECT_EQ(m.pixel(0, 29), sys(COLOR_3DDKSHADOW));
    // Inner ring, then the face ring.
    EXPECT_EQ(m.pixel(1, 27), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(m.pixel(1, 28), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(m.pixel(38, 1), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(m.pixel(2, 2), sys(COLOR_BTNFACE));
    EXPECT_EQ(m.pixel(37, 27), sys(COLOR_BTNFACE));
    EXPECT_EQ(m.count(MAGENTA, {3, 3, 37, 27}), 34 * 24);
    EXPECT_EQ(m.count(MAGENTA, {0, 0, 40, 30}), 34 * 24);
}

TEST(FramePixels, ThickFrameHasOneMoreFaceRing) {
    BitmapDc m(40, 30);
    m.fill(MAGENTA);
    draw_window_frame(m.dc(), {0, 0, 40, 30}, WS_OVERLAPPEDWINDOW, 0);
    EXPECT_EQ(m.pixel(0, 0), sys(COLOR_3DLIGHT));
    EXPECT_EQ(m.pixel(1, 1), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(m.pixel(2, 2), sys(COLOR_BTNFACE));
    EXPECT_EQ(m.pixel(3, 3), sys(COLOR_BTNFACE));
    EXPECT_EQ(m.pixel(36, 26), sys(COLOR_BTNFACE));
    EXPECT_EQ(m.count(MAGENTA, {0, 0, 40, 30}), 32 * 22);
    EXPECT_EQ(m.count(MAGENTA, {4, 4, 36, 26}), 32 * 22);
}

TEST(FramePixels, BorderAloneIsOneDarkRingAndNoFrameDrawsNothing) {
    BitmapDc m(20, 10);
    m.fill(MAGENTA);
    draw_window_frame(m.dc(), {0, 0, 20, 10}, WS_POPUP | WS_BORDER, 0);
    EXPECT_EQ(m.count(sys(COLOR_WINDOWFRAME), {0, 0, 20, 10}), 2 * 20 + 2 * 8);
    EXPECT_EQ(m.count(MAGENTA, {1, 1, 19, 9}), 18 * 8);
    m.fill(MAGENTA);
    draw_window_frame(m.dc(), {0, 0, 20, 10}, WS_POPUP, 0);
    EXPECT_EQ(m.count(MAGENTA, {0, 0, 20, 10}), 200);
}

TEST(CaptionPixels, BarRowsAndTheFaceRowBelow) {
    for (bool active : {true, false}) {
        SCOPED_TRACE(active ? "active" : "inactive");
        BitmapDc m(640, 30);
        m.fill(MAGENTA);
        CaptionButtons b = caption_buttons_for_style(GAME_STYLE, 0);
        draw_caption(m.dc(), GAME_CAPTION, "", nullptr, active, b);
        uint32_t bar = sys(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        EXPECT_TRUE(is_rect(m.extent_of_changes(MAGENTA), GAME_CAPTION));
        EXPECT_EQ(m.count(bar, {3, 3, 585, 21}), 582 * 18);
        EXPECT_EQ(m.count(sys(COLOR_BTNFACE), {3, 21, 637, 22}), 634);
        // The gap between the maximise and close boxes and the margins.
        EXPECT_EQ(m.count(bar, {617, 3, 619, 21}), 2 * 18);
        EXPECT_EQ(m.count(bar, {585, 3, 637, 5}), 52 * 2);
        EXPECT_EQ(m.count(bar, {585, 19, 637, 21}), 52 * 2);
    }
}

TEST(CaptionPixels, ButtonEdgesAndGlyphs) {
    BitmapDc m(640, 30);
    CaptionButtons b = caption_buttons_for_style(GAME_STYLE, 0);
    draw_caption(m.dc(), GAME_CAPTION, "", nullptr, true, b);
    // The close box: white and light outside and in at the top left,
    // black and grey at the bottom right.
    EXPECT_EQ(m.pixel(619, 5), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(m.pixel(620, 6), sys(COLOR_3DLIGHT));
    EXPECT_EQ(m.pixel(634, 5), sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(m.pixel(634, 18), sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(m.pixel(633, 17), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(m.pixel(621, 7), sys(COLOR_BTNFACE));
    // Its cross is black and symmetric about the box's middle.
    RECT inside{621, 7, 633, 17};
    int black = m.count(0x000000, inside);
    EXPECT_GT(black, 10);
    for (int y = inside.top; y < inside.bottom; ++y) {
        for (int x = inside.left; x < inside.right; ++x)
            EXPECT_EQ(m.pixel(x, y), m.pixel(619 + 634 - x, y)) << x << "," << y;
    }
    // The minimise box is live: a black bar. The maximise box is greyed: an
    // etched glyph with no black in it.
    EXPECT_GT(m.count(0x000000, {587, 7, 599, 17}), 0);
    EXPECT_EQ(m.count(0x000000, {603, 7, 615, 17}), 0);
    EXPECT_GT(m.count(sys(COLOR_GRAYTEXT), {603, 7, 615, 17}), 10);
    EXPECT_GT(m.count(sys(COLOR_BTNHIGHLIGHT), {603, 7, 615, 17}), 10);
}

TEST(CaptionPixels, PressedButtonIsSunkenWithItsGlyphMoved) {
    BitmapDc up(640, 30), down(640, 30);
    CaptionButtons b = caption_buttons_for_style(GAME_STYLE, 0);
    draw_caption(up.dc(), GAME_CAPTION, "", nullptr, true, b);
    b.pressed_close = true;
    draw_caption(down.dc(), GAME_CAPTION, "", nullptr, true, b);
    EXPECT_EQ(down.pixel(619, 5), sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(down.pixel(620, 6), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(down.pixel(634, 18), sys(COLOR_BTNHIGHLIGHT));
    int moved = 0;
    for (int y = 7; y < 16; ++y) {
        for (int x = 621; x < 632; ++x) {
            if (up.pixel(x, y) == 0x000000) {
                EXPECT_EQ(down.pixel(x + 1, y + 1), 0x000000u) << x << "," << y;
                ++moved;
            }
        }
    }
    EXPECT_GT(moved, 10);
    // The other buttons do not change.
    EXPECT_EQ(up.count(0x000000, {585, 5, 617, 19}), down.count(0x000000, {585, 5, 617, 19}));
}

TEST(CaptionPixels, TitleIsCutBeforeTheButtons) {
    BitmapDc m(200, 30);
    RECT band{0, 0, 200, 19};
    CaptionButtons b = caption_buttons_for_style(GAME_STYLE, 0);
    std::string title(60, 'W');
    draw_caption(m.dc(), band, title.c_str(), nullptr, true, b);
    RECT min_box = caption_button_rect(band, HTMINBUTTON, b);
    uint32_t text = sys(COLOR_CAPTIONTEXT);
    EXPECT_GT(m.count(text, {2, 0, min_box.left - 2, 18}), 100);
    EXPECT_EQ(m.count(text, {0, 0, 2, 18}), 0);
    EXPECT_EQ(m.count(sys(COLOR_ACTIVECAPTION), {min_box.left - 2, 0, min_box.left, 18}), 2 * 18);
    // Between the bar's top and bottom rows only, and centred.
    EXPECT_EQ(m.count(text, {0, 0, 200, 1}), 0);
    EXPECT_EQ(m.count(text, {0, 17, 200, 19}), 0);
}

TEST(CaptionPixels, TitleStartsAfterTheIconAndTakesTheInactiveColour) {
    BitmapDc m(200, 30);
    RECT band{0, 0, 200, 19};
    CaptionButtons none;
    draw_caption(m.dc(), band, "l", LoadIconA(nullptr, IDI_APPLICATION), false, none);
    RECT ink = {200, 0, 0, 0};
    uint32_t text = sys(COLOR_INACTIVECAPTIONTEXT);
    for (int x = 0; x < 200 && ink.left == 200; ++x) {
        if (m.count(text, {x, 0, x + 1, 18}) > 0)
            ink.left = x;
    }
    // The icon fills columns 2 to 17; the text's cell begins at column 20.
    EXPECT_GE(ink.left, 20);
    EXPECT_LT(ink.left, 26);
    EXPECT_EQ(m.count(sys(COLOR_CAPTIONTEXT), {20, 0, 200, 18}), 0);
}

TEST(CaptionPixels, LeavesTheContextAsItWas) {
    BitmapDc m(200, 30);
    SetTextColor(m.dc(), RGB(1, 2, 3));
    SetBkMode(m.dc(), OPAQUE);
    HGDIOBJ pen = GetCurrentObject(m.dc(), OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(m.dc(), OBJ_BRUSH);
    draw_caption(m.dc(), {0, 0, 200, 19}, "Zandrel", LoadIconA(nullptr, IDI_APPLICATION), true,
                 caption_buttons_for_style(GAME_STYLE, 0));
    draw_system_icon(m.dc(), 0, 0, 32513);
    EXPECT_EQ(GetTextColor(m.dc()), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(m.dc()), OPAQUE);
    EXPECT_EQ(GetCurrentObject(m.dc(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(m.dc(), OBJ_BRUSH), brush);
}

TEST(MenuBar, FillsExactlyItsRectangle) {
    BitmapDc m(50, 30);
    m.fill(MAGENTA);
    draw_menu_bar_background(m.dc(), {3, 22, 47, 41});
    EXPECT_TRUE(is_rect(m.extent_of_changes(MAGENTA), {3, 22, 47, 30}));
    EXPECT_EQ(m.count(sys(COLOR_MENU), {3, 22, 47, 30}), 44 * 8);
}

TEST(Icons, ProgramIconKeepsItsTransparentPixels) {
    uint32_t pixels[256];
    for (int i = 0; i < 256; ++i)
        pixels[i] = (i % 16 < 8) ? 0xFF10A0F0 : 0x00FFFFFF;
    pixels[0] = 0x80123456;
    layer_register_icon(7, pixels);
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(7));
    ASSERT_NE(icon, nullptr);
    BitmapDc m(20, 20);
    m.fill(MAGENTA);
    draw_small_icon(m.dc(), 2, 3, icon);
    EXPECT_EQ(m.pixel(2, 3), 0x123456u);
    EXPECT_EQ(m.pixel(3, 3), 0x10A0F0u);
    EXPECT_EQ(m.pixel(9, 18), 0x10A0F0u);
    EXPECT_EQ(m.count(MAGENTA, {10, 3, 18, 19}), 8 * 16);
    EXPECT_TRUE(is_rect(m.extent_of_changes(MAGENTA), {2, 3, 10, 19}));
}

TEST(Icons, SystemIconsStayInTheirSquareAndUseFewColours) {
    for (WORD id = 32512; id <= 32516; ++id) {
        SCOPED_TRACE(id);
        BitmapDc m(48, 48);
        m.fill(MAGENTA);
        EXPECT_TRUE(draw_system_icon(m.dc(), 8, 8, id));
        RECT extent = m.extent_of_changes(MAGENTA);
        EXPECT_GE(extent.left, 8);
        EXPECT_GE(extent.top, 8);
        EXPECT_LE(extent.right, 40);
        EXPECT_LE(extent.bottom, 40);
        EXPECT_GT((extent.right - extent.left) * (extent.bottom - extent.top), 24 * 24);
        // Crisp: a handful of solid colours, no blended edges.
        std::set<uint32_t> colours;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x)
                colours.insert(m.pixel(x, y));
        }
        EXPECT_LE(colours.size(), 7u);
    }
}

TEST(Icons, UnknownNumbersDrawNothing) {
    BitmapDc m(40, 40);
    m.fill(MAGENTA);
    EXPECT_FALSE(draw_system_icon(m.dc(), 0, 0, 101));
    EXPECT_FALSE(draw_system_icon(m.dc(), 0, 0, 32519));
    EXPECT_EQ(m.count(MAGENTA, {0, 0, 40, 40}), 1600);
}

TEST(Golden, GameWindowActive) {
    BitmapDc m(640, 368);
    draw_window(m.dc(), GAME_WINDOW, GAME_STYLE, "Zandrel", true, true);
    EXPECT_TRUE(matches(m, "caption_active"));
}

TEST(Golden, GameWindowInactive) {
    BitmapDc m(640, 368);
    draw_window(m.dc(), GAME_WINDOW, GAME_STYLE, "Zandrel", false, true);
    EXPECT_TRUE(matches(m, "caption_inactive"));
}

TEST(Golden, ThickFramedWindow) {
    BitmapDc m(240, 120);
    draw_window(m.dc(), {0, 0, 240, 120}, WS_OVERLAPPEDWINDOW, "Thick frame", true, false);
    EXPECT_TRUE(matches(m, "thick_frame"));
}

TEST(Golden, SystemIcons) {
    static const struct {
        WORD id;
        const char* name;
    } ICONS[] = {
        {32512, "icon_application"}, {32513, "icon_hand"},     {32514, "icon_question"},
        {32515, "icon_exclamation"}, {32516, "icon_asterisk"},
    };
    for (const auto& icon : ICONS) {
        SCOPED_TRACE(icon.name);
        BitmapDc m(32, 32);
        RECT all{0, 0, 32, 32};
        FillRect(m.dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
        draw_system_icon(m.dc(), 0, 0, icon.id);
        EXPECT_TRUE(matches(m, icon.name));
    }
}

} // namespace
