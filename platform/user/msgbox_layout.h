// Where MessageBoxA puts things: the lines of the message, the icon, the
// buttons and the size of the box, worked out from the text, the caption, the
// type flags and a font, before any window exists.
//
// The rules are those of the classic message box dialog. In a font whose
// dialog base unit (the average character width as dialogs reckon it) is
// `base` and whose lines are `height` rows high:
// - the margin left of the icon, between icon and text and right of the text
//   is 8 dialog units (2 * base); without an icon the text starts at the margin;
// - the message wraps at 176 dialog units (44 * base), breaking after spaces
//   and hyphens, and breaking a word too long for a line where it stops fitting;
// - the icon (32 by 32) and the text are centred vertically in a band 16 rows
//   taller than the higher of the two, with 8 rows below the buttons;
// - every button is twice as high as a line and twice as wide as the widest
//   label (but at least four lines' height wide); buttons are a third of a
//   button's width apart and sit in one row under the band, centred;
// - the text is widened so that the row of buttons fits, and the box so that
//   its caption fits beside the close box.
#pragma once

#include <stdint.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The parts of MessageBoxA's type that shape the box, with Win32's values.
constexpr UINT MSGBOX_BUTTONS_MASK = 0x000F;   // MB_OK ... MB_RETRYCANCEL
constexpr UINT MSGBOX_ICON_MASK = 0x00F0;      // MB_ICONHAND ... MB_ICONASTERISK
constexpr UINT MSGBOX_DEFBUTTON_MASK = 0x0F00; // MB_DEFBUTTON1 ... MB_DEFBUTTON3
constexpr int32_t MSGBOX_MAX_BUTTONS = 3;

// The font a box is laid out in.
struct MsgboxFont {
    // Width in pixels of the first `count` characters of text (count >= 0).
    std::function<int32_t(const char* text, int32_t count)> text_width;
    int32_t height; // rows of a line: tmHeight
    int32_t base;   // the horizontal dialog base unit: 4 dialog units in pixels
};

// The system metrics the box's frame and parts depend on.
struct MsgboxMetrics {
    int32_t caption_height;  // SM_CYCAPTION
    int32_t frame_width;     // SM_CXFIXEDFRAME
    int32_t frame_height;    // SM_CYFIXEDFRAME
    int32_t close_box_width; // SM_CXSIZE
    int32_t icon_size;       // SM_CXICON
    int32_t screen_width;    // SM_CXSCREEN: a caption never widens the box past it
};

// One button: the command it sends and where it is in the box's client area.
struct MsgboxButton {
    int32_t id;        // IDOK 1, IDCANCEL 2, IDABORT 3, IDRETRY 4, IDIGNORE 5, IDYES 6, IDNO 7
    const char* label; // with '&' before the mnemonic
    RECT rect;
};

// Rectangles are in the box's client coordinates.
struct MsgboxLayout {
    std::vector<std::string> lines; // the message's lines as drawn, top to bottom
    int32_t line_height;
    RECT text;      // the lines' band: as wide as the row of buttons needs
    UINT icon;      // MB_ICONHAND ... MB_ICONASTERISK, or 0 for none
    RECT icon_rect; // valid when icon is not 0
    int32_t button_count;
    MsgboxButton buttons[MSGBOX_MAX_BUTTONS]; // left to right
    int32_t default_button;                   // index into buttons
    SIZE client;                              // the client area's size
    SIZE window;                              // the box's outer size, frame and caption included
};

// The lines of `text` as a box of maximum text width `max_width` draws them.
// Lines end at "\r\n", "\n\r", "\r" or "\n"; a line end at the very end of
// the text starts no further line, and an empty text has no lines. Each line
// breaks after the last space or hyphen that fits; a line keeps the spaces
// before its break. A word wider than the whole line breaks after its last
// character that fits, at least one character to a line.
std::vector<std::string> msgbox_wrap_text(const char* text, const MsgboxFont& font,
                                          int32_t max_width);

// Lays out MessageBoxA(owner, text, caption, type). The caption is measured
// in caption_font. Returns false, leaving *layout as it was, when the type
// asks for buttons other than those of MB_OK to MB_RETRYCANCEL.
bool msgbox_layout(const char* text, const char* caption, UINT type, const MsgboxFont& font,
                   const MsgboxFont& caption_font, const MsgboxMetrics& metrics,
                   MsgboxLayout* layout);

// The font selected into dc, measured with GetTextExtentPoint32A and
// GetTextMetricsA. The DC must outlive the returned font's use.
MsgboxFont msgbox_font_of_dc(HDC dc);

// The metrics from GetSystemMetrics.
MsgboxMetrics msgbox_system_metrics();
