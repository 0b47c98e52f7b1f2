// The classic frame, caption and menu bar background. Sizes come from the
// system metrics and colours from the system colours, so that a change of
// either changes every window alike.
#include "platform/user/nonclient_draw.h"

#include <initializer_list>
#include <string.h>

namespace {

// The colours of a 3D edge: each of its two rings has a top-left colour
// (top row and left column) and a bottom-right colour (bottom row and right
// column). Where they meet at the top-right and bottom-left corners the
// bottom-right colour wins.
struct EdgeColors {
    int outer_top_left;
    int outer_bottom_right;
    int inner_top_left;
    int inner_bottom_right;
};

// A window frame's raised edge: light outside, white inside.
constexpr EdgeColors RAISED_EDGE = {COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT,
                                    COLOR_BTNSHADOW};
// A push button's edge has its brightest colour outermost.
constexpr EdgeColors BUTTON_EDGE = {COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
                                    COLOR_BTNSHADOW};
constexpr EdgeColors PRESSED_BUTTON_EDGE = {COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW,
                                            COLOR_3DLIGHT};

// The caption buttons' glyphs, '#' for a set pixel, placed at an offset
// inside the 16 by 14 button. A pressed button shows its glyph one pixel
// lower and further right.
struct Glyph {
    int x, y;
    int rows;
    const char* const* pixels;
};

const char* const CLOSE_PIXELS[] = {
    "##    ##", //
    " ##  ## ", //
    "  ####  ", //
    "   ##   ", //
    "  ####  ", //
    " ##  ## ", //
    "##    ##", //
};
const char* const MINIMIZE_PIXELS[] = {
    "######", //
    "######", //
};
const char* const MAXIMIZE_PIXELS[] = {
    "#########", //
    "#########", //
    "#       #", //
    "#       #", //
    "#       #", //
    "#       #", //
    "#       #", //
    "#       #", //
    "#########", //
};
const char* const RESTORE_PIXELS[] = {
    "  ######", //
    "  ######", //
    "  #    #", //
    "###### #", //
    "###### #", //
    "#    ###", //
    "#    #  ", //
    "#    #  ", //
    "######  ", //
};

constexpr Glyph CLOSE_GLYPH = {4, 3, 7, CLOSE_PIXELS};
constexpr Glyph MINIMIZE_GLYPH = {4, 9, 2, MINIMIZE_PIXELS};
constexpr Glyph MAXIMIZE_GLYPH = {3, 2, 9, MAXIMIZE_PIXELS};
constexpr Glyph RESTORE_GLYPH = {4, 2, 9, RESTORE_PIXELS};

// The caption bar leaves this many pixels between its edges and the buttons,
// the icon and the title.
constexpr int CAPTION_MARGIN = 2;

void fill(HDC dc, int left, int top, int right, int bottom, int color) {
    RECT r{left, top, right, bottom};
    if (right > left && bottom > top)
        FillRect(dc, &r, GetSysColorBrush(color));
}

RECT shrink(RECT r, int by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

bool is_empty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

// One ring of a rectangle, one pixel wide.
void draw_3d_rect(HDC dc, RECT r, int top_left, int bottom_right) {
    if (is_empty(r))
        return;
    fill(dc, r.left, r.top, r.right - 1, r.top + 1, top_left);
    fill(dc, r.left, r.top, r.left + 1, r.bottom - 1, top_left);
    fill(dc, r.right - 1, r.top, r.right, r.bottom, bottom_right);
    fill(dc, r.left, r.bottom - 1, r.right, r.bottom, bottom_right);
}

// Two rings; returns what lies inside them.
RECT draw_edge(HDC dc, RECT r, const EdgeColors& colors) {
    draw_3d_rect(dc, r, colors.outer_top_left, colors.outer_bottom_right);
    draw_3d_rect(dc, shrink(r, 1), colors.inner_top_left, colors.inner_bottom_right);
    return shrink(r, 2);
}

// `width` rings of one colour just inside r.
void fill_ring(HDC dc, RECT r, int width, int color) {
    for (int i = 0; i < width && !is_empty(r); ++i) {
        draw_3d_rect(dc, r, color, color);
        r = shrink(r, 1);
    }
}

bool has_thick_frame(DWORD style) {
    return (style & WS_THICKFRAME) != 0;
}

bool has_dialog_frame(DWORD style, DWORD ex_style) {
    return !has_thick_frame(style) && ((style & WS_DLGFRAME) || (ex_style & WS_EX_DLGMODALFRAME));
}

void draw_glyph_pixels(HDC dc, int x, int y, const Glyph& glyph, COLORREF color) {
    for (int row = 0; row < glyph.rows; ++row) {
        const char* pixels = glyph.pixels[row];
        for (int col = 0; pixels[col] != '\0'; ++col) {
            if (pixels[col] == '#')
                SetPixel(dc, x + glyph.x + col, y + glyph.y + row, color);
        }
    }
}

// A disabled glyph is etched: grey over a white copy one pixel down and right.
void draw_glyph(HDC dc, RECT button, const Glyph& glyph, bool greyed, bool pressed) {
    int x = button.left + (pressed ? 1 : 0);
    int y = button.top + (pressed ? 1 : 0);
    if (!greyed) {
        draw_glyph_pixels(dc, x, y, glyph, GetSysColor(COLOR_BTNTEXT));
        return;
    }
    draw_glyph_pixels(dc, x + 1, y + 1, glyph, GetSysColor(COLOR_BTNHIGHLIGHT));
    draw_glyph_pixels(dc, x, y, glyph, GetSysColor(COLOR_GRAYTEXT));
}

void draw_caption_button(HDC dc, RECT button, const Glyph& glyph, bool greyed, bool pressed) {
    if (is_empty(button))
        return;
    bool down = pressed && !greyed;
    RECT face = draw_edge(dc, button, down ? PRESSED_BUTTON_EDGE : BUTTON_EDGE);
    fill(dc, face.left, face.top, face.right, face.bottom, COLOR_BTNFACE);
    draw_glyph(dc, button, glyph, greyed, down);
}

// The caption bar: the band without its last row.
RECT caption_bar(RECT band) {
    return {band.left, band.top, band.right, band.bottom - 1};
}

RECT icon_rect(RECT band) {
    RECT bar = caption_bar(band);
    int size = GetSystemMetrics(SM_CXSMICON);
    int top = bar.top + (bar.bottom - bar.top - size) / 2;
    return {bar.left + CAPTION_MARGIN, top, bar.left + CAPTION_MARGIN + size, top + size};
}

// Where the title may go: after the icon, up to the leftmost button.
RECT title_rect(RECT band, bool has_icon, const CaptionButtons& buttons) {
    RECT bar = caption_bar(band);
    int left = has_icon ? icon_rect(band).right + CAPTION_MARGIN : bar.left + CAPTION_MARGIN;
    int right = bar.right - CAPTION_MARGIN;
    for (int which : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
        RECT button = caption_button_rect(band, which, buttons);
        if (!is_empty(button) && button.left - CAPTION_MARGIN < right)
            right = button.left - CAPTION_MARGIN;
    }
    return {left, bar.top, right < left ? left : right, bar.bottom};
}

void draw_title(HDC dc, RECT band, const char* title, bool has_icon, bool active,
                const CaptionButtons& buttons) {
    if (title == nullptr || title[0] == '\0')
        return;
    RECT box = title_rect(band, has_icon, buttons);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    int y = box.top + (box.bottom - box.top - metrics.tmHeight) / 2;
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    ExtTextOutA(dc, box.left, y, ETO_CLIPPED, &box, title, (UINT)strlen(title), nullptr);
}

void draw_buttons(HDC dc, RECT band, const CaptionButtons& b) {
    draw_caption_button(dc, caption_button_rect(band, HTCLOSE, b), CLOSE_GLYPH, b.close_greyed,
                        b.pressed_close);
    draw_caption_button(dc, caption_button_rect(band, HTMAXBUTTON, b),
                        b.maximized ? RESTORE_GLYPH : MAXIMIZE_GLYPH, b.maximize_greyed,
                        b.pressed_maximize);
    draw_caption_button(dc, caption_button_rect(band, HTMINBUTTON, b), MINIMIZE_GLYPH,
                        b.minimize_greyed, b.pressed_minimize);
}

bool contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

} // namespace

CaptionButtons caption_buttons_for_style(DWORD style, DWORD ex_style) {
    CaptionButtons buttons;
    if (!(style & WS_SYSMENU))
        return buttons;
    buttons.close = true;
    if (ex_style & WS_EX_TOOLWINDOW)
        return buttons;
    bool minimize = (style & WS_MINIMIZEBOX) != 0;
    bool maximize = (style & WS_MAXIMIZEBOX) != 0;
    buttons.minimize = buttons.maximize = minimize || maximize;
    buttons.minimize_greyed = !minimize;
    buttons.maximize_greyed = !maximize;
    buttons.maximized = (style & WS_MAXIMIZE) != 0;
    return buttons;
}

int window_frame_width(DWORD style, DWORD ex_style) {
    if (has_thick_frame(style))
        return GetSystemMetrics(SM_CXFRAME);
    if (has_dialog_frame(style, ex_style))
        return GetSystemMetrics(SM_CXDLGFRAME);
    if (style & WS_BORDER)
        return GetSystemMetrics(SM_CXBORDER);
    return 0;
}

RECT caption_rect_for_window(RECT window_rect, DWORD style, DWORD ex_style) {
    if ((style & WS_CAPTION) != WS_CAPTION)
        return {0, 0, 0, 0};
    int frame = window_frame_width(style, ex_style);
    int height = GetSystemMetrics((ex_style & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    RECT inside = shrink(window_rect, frame);
    return {inside.left, inside.top, inside.right, inside.top + height};
}

// Thick and dialog frames are a raised edge with face colour inside it, the
// thick frame one ring wider; a plain border is one dark ring.
void draw_window_frame(HDC dc, RECT window_rect, DWORD style, DWORD ex_style) {
    int width = window_frame_width(style, ex_style);
    if (width == 0)
        return;
    if (!has_thick_frame(style) && !has_dialog_frame(style, ex_style)) {
        fill_ring(dc, window_rect, width, COLOR_WINDOWFRAME);
        return;
    }
    RECT inside = draw_edge(dc, window_rect, RAISED_EDGE);
    fill_ring(dc, inside, width - 2, COLOR_BTNFACE);
}

// The band's last row belongs to the frame: it separates the caption from
// the menu bar or the client area in the face colour.
void draw_caption(HDC dc, RECT caption_rect, const char* title, HICON icon, bool active,
                  const CaptionButtons& buttons) {
    if (is_empty(caption_rect))
        return;
    int saved = SaveDC(dc);
    RECT bar = caption_bar(caption_rect);
    fill(dc, bar.left, bar.top, bar.right, bar.bottom,
         active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    fill(dc, bar.left, bar.bottom, bar.right, caption_rect.bottom, COLOR_BTNFACE);
    if (icon != nullptr) {
        RECT box = icon_rect(caption_rect);
        draw_small_icon(dc, box.left, box.top, icon);
    }
    draw_title(dc, caption_rect, title, icon != nullptr, active, buttons);
    draw_buttons(dc, caption_rect, buttons);
    RestoreDC(dc, saved);
}

// The buttons sit CAPTION_MARGIN pixels in from the bar's top and right; the
// minimise and maximise boxes touch each other and keep a gap of
// CAPTION_MARGIN from the close box.
RECT caption_button_rect(RECT caption_rect, int which, const CaptionButtons& buttons) {
    RECT bar = caption_bar(caption_rect);
    int width = GetSystemMetrics(SM_CXSIZE) - 2;
    int height = GetSystemMetrics(SM_CYSIZE) - 4;
    int top = bar.top + CAPTION_MARGIN;
    int right = bar.right - CAPTION_MARGIN;
    auto at = [&](int right_edge) {
        return RECT{right_edge - width, top, right_edge, top + height};
    };
    if (buttons.close) {
        if (which == HTCLOSE)
            return at(right);
        right -= width + CAPTION_MARGIN;
    }
    if (buttons.maximize) {
        if (which == HTMAXBUTTON)
            return at(right);
        right -= width;
    }
    if (buttons.minimize && which == HTMINBUTTON)
        return at(right);
    return {0, 0, 0, 0};
}

int caption_hit_test(RECT caption_rect, POINT point, bool has_icon, const CaptionButtons& buttons) {
    if (!contains(caption_rect, point))
        return HTNOWHERE;
    for (int which : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
        if (contains(caption_button_rect(caption_rect, which, buttons), point))
            return which;
    }
    // The system menu answers across the icon's slot, the caption's height.
    if (has_icon && point.x < caption_rect.left + GetSystemMetrics(SM_CXSIZE))
        return HTSYSMENU;
    return HTCAPTION;
}

void draw_menu_bar_background(HDC dc, RECT bar_rect) {
    fill(dc, bar_rect.left, bar_rect.top, bar_rect.right, bar_rect.bottom, COLOR_MENU);
}
