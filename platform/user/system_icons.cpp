// The system icons, drawn rather than stored: message boxes show them at
// 32 by 32, captions show a program's icon or the small application
// picture at 16 by 16. Everything is drawn with whole pixels in fixed
// colours, so the icons come out crisp and the same at any colour scheme.
#include "platform/user/nonclient_draw.h"

#include <layer/user.h>

#include <stdint.h>

namespace {

constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF SHADOW = RGB(128, 128, 128);
constexpr COLORREF YELLOW = RGB(255, 255, 0);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF DARK_RED = RGB(128, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF NAVY = RGB(0, 0, 128);
constexpr COLORREF LIGHT_GREY = RGB(192, 192, 192);

constexpr int ICON_SIZE = 32;
constexpr int SMALL_ICON_SIZE = 16;

// The "!" of the warning triangle.
const char* const EXCLAMATION_MARK[] = {
    "####", //
    "####", //
    "####", //
    "####", //
    "####", //
    "####", //
    "####", //
    "####", //
    "####", //
    "####", //
    " ## ", //
    " ## ", //
    "    ", //
    "    ", //
    "####", //
    "####", //
    "####", //
};

// The "?" and the "i" of the speech balloons.
const char* const QUESTION_MARK[] = {
    "  #####  ", //
    " ####### ", //
    "###   ###", //
    "###   ###", //
    "      ###", //
    "     ### ", //
    "    ###  ", //
    "   ###   ", //
    "   ###   ", //
    "   ###   ", //
    "         ", //
    "         ", //
    "   ###   ", //
    "   ###   ", //
    "   ###   ", //
};
const char* const INFORMATION_MARK[] = {
    "  ###  ", //
    "  ###  ", //
    "  ###  ", //
    "       ", //
    "       ", //
    "#####  ", //
    "  ###  ", //
    "  ###  ", //
    "  ###  ", //
    "  ###  ", //
    "  ###  ", //
    "  ###  ", //
    "  ###  ", //
    " ##### ", //
    "#######", //
};

// The balloon's tail, below its left side: 'o' white inside, '#' outline.
// Its white top rows open the balloon's outline where the two join.
const char* const BALLOON_TAIL[] = {
    "  #oooooo", //
    "  #ooooo",  //
    "  #ooo#",   //
    " #ooo#",    //
    " #oo#",     //
    "#o#",       //
    "##",        //
};

template <int N> constexpr int row_count(const char* const (&)[N]) {
    return N;
}

void fill_rgb(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    RECT r{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void draw_ellipse(HDC dc, int left, int top, int right, int bottom, COLORREF outline,
                  COLORREF inside) {
    HPEN pen = CreatePen(PS_SOLID, 1, outline);
    HBRUSH brush = CreateSolidBrush(inside);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    Ellipse(dc, left, top, right, bottom);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

// A picture from rows of characters: `ink` where the row has '#', `paper`
// where it has 'o'; other characters leave the pixel alone.
void draw_pixels(HDC dc, int x, int y, const char* const* rows, int count, COLORREF ink,
                 COLORREF paper = WHITE) {
    for (int row = 0; row < count; ++row) {
        for (int col = 0; rows[row][col] != '\0'; ++col) {
            char c = rows[row][col];
            if (c == '#' || c == 'o')
                SetPixel(dc, x + col, y + row, c == '#' ? ink : paper);
        }
    }
}

// A triangle standing on its base, 29 rows high and 30 pixels wide at the
// base, with its apex two pixels wide so that it is symmetric about the
// middle of the 32-pixel icon. Its sides climb one pixel every two rows.
void draw_triangle(HDC dc, int x, int y, COLORREF outline, COLORREF inside) {
    constexpr int ROWS = 29;
    for (int i = 0; i < ROWS; ++i) {
        int half = 1 + i / 2;
        int left = x + 16 - half, right = x + 16 + half;
        if (i == 0 || i == ROWS - 1) {
            fill_rgb(dc, left, y + i, right, y + i + 1, outline);
            continue;
        }
        fill_rgb(dc, left, y + i, right, y + i + 1, inside);
        SetPixel(dc, left, y + i, outline);
        SetPixel(dc, right - 1, y + i, outline);
    }
}

void draw_exclamation(HDC dc, int x, int y) {
    draw_triangle(dc, x + 1, y + 2, SHADOW, SHADOW);
    draw_triangle(dc, x, y, BLACK, YELLOW);
    draw_pixels(dc, x + 14, y + 9, EXCLAMATION_MARK, row_count(EXCLAMATION_MARK), BLACK);
}

// A white cross of three-pixel strokes over a red disc.
void draw_hand(HDC dc, int x, int y) {
    draw_ellipse(dc, x + 3, y + 3, x + 32, y + 32, SHADOW, SHADOW);
    draw_ellipse(dc, x + 1, y + 1, x + 30, y + 30, DARK_RED, RED);
    for (int t = 0; t <= 12; ++t) {
        for (int k = -1; k <= 1; ++k) {
            SetPixel(dc, x + 9 + t + k, y + 9 + t, WHITE);
            SetPixel(dc, x + 21 - t + k, y + 9 + t, WHITE);
        }
    }
}

void draw_balloon(HDC dc, int x, int y) {
    draw_ellipse(dc, x + 3, y + 3, x + 32, y + 29, SHADOW, SHADOW);
    draw_ellipse(dc, x + 1, y + 1, x + 30, y + 27, BLACK, WHITE);
    draw_pixels(dc, x + 5, y + 24, BALLOON_TAIL, row_count(BALLOON_TAIL), BLACK);
}

void draw_question(HDC dc, int x, int y) {
    draw_balloon(dc, x, y);
    draw_pixels(dc, x + 11, y + 6, QUESTION_MARK, row_count(QUESTION_MARK), BLUE);
}

void draw_information(HDC dc, int x, int y) {
    draw_balloon(dc, x, y);
    draw_pixels(dc, x + 12, y + 6, INFORMATION_MARK, row_count(INFORMATION_MARK), BLUE);
}

// A window: a black outline, a navy caption with a grey box at its right
// end, a white client area, and a shadow below and to the right.
void draw_window_picture(HDC dc, int x, int y, int size) {
    int caption = size / 6;
    fill_rgb(dc, x + 2, y + 4, x + size, y + size - 1, SHADOW);
    fill_rgb(dc, x, y + 2, x + size - 2, y + size - 3, BLACK);
    fill_rgb(dc, x + 1, y + 3, x + size - 3, y + 3 + caption, NAVY);
    fill_rgb(dc, x + 1, y + 3 + caption, x + size - 3, y + size - 4, WHITE);
    int box = caption - 2;
    if (box > 0)
        fill_rgb(dc, x + size - 4 - box, y + 4, x + size - 4, y + 4 + box, LIGHT_GREY);
}

// Program icons have an alpha channel; an icon without any alpha at all
// was made opaque, and anything below half alpha is left out.
void draw_program_icon(HDC dc, int x, int y, const uint32_t* pixels) {
    bool any_alpha = false;
    for (int i = 0; i < SMALL_ICON_SIZE * SMALL_ICON_SIZE; ++i)
        any_alpha = any_alpha || (pixels[i] >> 24) != 0;
    for (int row = 0; row < SMALL_ICON_SIZE; ++row) {
        for (int col = 0; col < SMALL_ICON_SIZE; ++col) {
            uint32_t p = pixels[row * SMALL_ICON_SIZE + col];
            if (any_alpha && (p >> 24) < 0x80)
                continue;
            SetPixel(dc, x + col, y + row, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    }
}

} // namespace

bool draw_system_icon(HDC dc, int x, int y, WORD icon_id) {
    switch (icon_id) {
    case 32512: // IDI_APPLICATION
    case 32517: // IDI_WINLOGO
    case 32518: // IDI_SHIELD
        draw_window_picture(dc, x, y, ICON_SIZE);
        return true;
    case 32513: // IDI_HAND
        draw_hand(dc, x, y);
        return true;
    case 32514: // IDI_QUESTION
        draw_question(dc, x, y);
        return true;
    case 32515: // IDI_EXCLAMATION
        draw_exclamation(dc, x, y);
        return true;
    case 32516: // IDI_ASTERISK
        draw_information(dc, x, y);
        return true;
    }
    return false;
}

void draw_small_icon(HDC dc, int x, int y, HICON icon) {
    uint32_t pixels[SMALL_ICON_SIZE * SMALL_ICON_SIZE];
    if (layer_icon_pixels(icon, pixels))
        draw_program_icon(dc, x, y, pixels);
    else
        draw_window_picture(dc, x, y, SMALL_ICON_SIZE);
}
