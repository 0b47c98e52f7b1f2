// Drawing of the classic non-client area: the 3D frame, the caption with its
// icon, title and system buttons, the menu bar's background, and the system
// icons. These are pure drawing functions on a context and rectangles in its
// coordinates, so that painting the frame (WM_NCPAINT, WM_NCACTIVATE), hit
// testing and message boxes share one picture of the look. Every function
// leaves the context's objects, colours and modes as it found them.
#pragma once

#include <windows.h>

// Which system buttons a caption shows, and how. A button that is not shown
// has no rectangle; a greyed one is drawn but does nothing.
struct CaptionButtons {
    bool close = false;           // the close box, at the right end
    bool minimize = false;        // the minimise box, left of the maximise box
    bool maximize = false;        // the maximise box, left of the close box
    bool minimize_greyed = false; // valid when minimize: drawn disabled
    bool maximize_greyed = false; // valid when maximize: drawn disabled
    bool close_greyed = false;    // valid when close: drawn disabled (no SC_CLOSE)
    bool maximized = false;       // the maximise box shows the restore glyph
    bool pressed_close = false;   // the mouse holds the close box down
    bool pressed_minimize = false;
    bool pressed_maximize = false;
};

// The buttons Windows shows for a style: the close box with WS_SYSMENU, and
// both the minimise and maximise boxes when either is asked for, the one not
// asked for greyed. Tool windows show only the close box.
CaptionButtons caption_buttons_for_style(DWORD style, DWORD ex_style);

// Frame thickness of a style in pixels: the thick frame, the dialog frame,
// a one-pixel border, or none.
int window_frame_width(DWORD style, DWORD ex_style);

// The caption band of a window, SM_CYCAPTION rows just inside the frame, in
// the window's own coordinates; empty when the style has no caption.
RECT caption_rect_for_window(RECT window_rect, DWORD style, DWORD ex_style);

// The 3D frame around window_rect: the raised edge, then the frame's face
// colour out to window_frame_width. One-pixel borders are drawn in
// COLOR_WINDOWFRAME. The inside of the frame is left alone.
void draw_window_frame(HDC dc, RECT window_rect, DWORD style, DWORD ex_style);

// The caption band (SM_CYCAPTION rows, as caption_rect_for_window gives):
// the caption bar in the active or inactive colour, its last row in the face
// colour, the icon (none when icon is null), the title cut short before the
// buttons, and the buttons.
void draw_caption(HDC dc, RECT caption_rect, const char* title, HICON icon, bool active,
                  const CaptionButtons& buttons);

// The rectangle of one system button (which: HTCLOSE, HTMINBUTTON or
// HTMAXBUTTON) in the caption band; empty when the button is not shown.
RECT caption_button_rect(RECT caption_rect, int which, const CaptionButtons& buttons);

// What a point in the caption band hits: HTCLOSE, HTMINBUTTON, HTMAXBUTTON,
// HTSYSMENU across the icon's slot (SM_CXSIZE wide) when has_icon, else
// HTCAPTION; HTNOWHERE outside the band.
int caption_hit_test(RECT caption_rect, POINT point, bool has_icon, const CaptionButtons& buttons);

// The menu bar's background; the menu code draws the items over it.
void draw_menu_bar_background(HDC dc, RECT bar_rect);

// One of the system icons (32512 IDI_APPLICATION to 32516 IDI_ASTERISK, and
// 32517, 32518 as the application icon) as a 32 by 32 picture with its
// top-left corner at (x, y). Pixels outside the picture's shape are left
// alone. False for numbers that are not system icons.
bool draw_system_icon(HDC dc, int x, int y, WORD icon_id);

// An icon at 16 by 16 pixels, as captions show it: a program's icon with its
// transparent pixels left alone, any other icon as the small application
// picture.
void draw_small_icon(HDC dc, int x, int y, HICON icon);
