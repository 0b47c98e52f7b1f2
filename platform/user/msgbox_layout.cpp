// The layout of a message box, as msgbox_layout.h describes it.
#include "platform/user/msgbox_layout.h"

#include <assert.h>
#include <string.h>

#include <algorithm>

namespace {

// Dialog units of the box's template, converted with the font's base unit.
constexpr int32_t MARGIN_DLU = 8;
constexpr int32_t MAX_TEXT_WIDTH_DLU = 176;
// Rows, whatever the font: above and below the icon and text together, and
// below the buttons.
constexpr int32_t BAND_PADDING = 16;
constexpr int32_t BOTTOM_PADDING = 8;
// The caption bar's gaps: before its text, after its text, and right of the
// close box.
constexpr int32_t CAPTION_GAPS = 6;

struct ButtonSet {
    int32_t count;
    MsgboxButton buttons[MSGBOX_MAX_BUTTONS];
};

// Buttons of MB_OK to MB_RETRYCANCEL, in the order the type's value gives.
const ButtonSet BUTTON_SETS[] = {
    {1, {{1, "OK", {}}}},
    {2, {{1, "OK", {}}, {2, "Cancel", {}}}},
    {3, {{3, "&Abort", {}}, {4, "&Retry", {}}, {5, "&Ignore", {}}}},
    {3, {{6, "&Yes", {}}, {7, "&No", {}}, {2, "Cancel", {}}}},
    {2, {{6, "&Yes", {}}, {7, "&No", {}}}},
    {2, {{4, "&Retry", {}}, {2, "Cancel", {}}}},
};

int32_t dialog_units_to_pixels(int32_t units, int32_t base) {
    return MulDiv(units, base, 4);
}

bool is_line_end(char c) {
    return c == '\r' || c == '\n';
}

// The length of the line end at text[0]: "\r\n" and "\n\r" are one line end.
size_t line_end_length(const char* text) {
    if ((text[0] == '\r' && text[1] == '\n') || (text[0] == '\n' && text[1] == '\r'))
        return 2;
    return 1;
}

// How many of the first `length` characters fit in max_width, found by
// measuring longer and longer prefixes (lines are short).
size_t fitting_count(const char* text, size_t length, const MsgboxFont& font, int32_t max_width) {
    size_t count = 0;
    while (count < length && font.text_width(text, (int32_t)count + 1) <= max_width)
        count++;
    return count;
}

// The longest prefix of the first `fit` characters that ends just after a
// space or hyphen; 0 when there is none.
size_t last_break(const char* text, size_t fit) {
    for (size_t end = fit; end > 0; end--)
        if (text[end - 1] == ' ' || text[end - 1] == '-')
            return end;
    return 0;
}

// Where the line that starts at text[0] ends, and where the next one starts,
// for a paragraph of `length` characters that is too wide for max_width.
void break_line(const char* text, size_t length, const MsgboxFont& font, int32_t max_width,
                size_t* line_length, size_t* next) {
    size_t fit = fitting_count(text, length, font, max_width);
    size_t end = last_break(text, fit);
    if (end > 0) {
        *line_length = *next = end;
        return;
    }
    // No break fits: the first word fits whole, or it breaks where it stops
    // fitting; either way the spaces after the line are dropped.
    size_t word = 0;
    while (word < length && text[word] != ' ')
        word++;
    *line_length = *next = word > 0 && word <= fit ? word : std::max<size_t>(fit, 1);
    while (*next < length && text[*next] == ' ')
        (*next)++;
}

void wrap_paragraph(const char* text, size_t length, const MsgboxFont& font, int32_t max_width,
                    std::vector<std::string>* lines) {
    do {
        if (font.text_width(text, (int32_t)length) <= max_width) {
            lines->emplace_back(text, length);
            return;
        }
        size_t line_length, next;
        break_line(text, length, font, max_width, &line_length, &next);
        lines->emplace_back(text, line_length);
        text += next;
        length -= next;
    } while (length > 0);
}

// The label's width as a button draws it: '&' marks the next character and
// takes no room; "&&" draws one '&'.
int32_t label_width(const char* label, const MsgboxFont& font) {
    std::string shown;
    for (const char* c = label; *c; c++) {
        if (*c == '&' && c[1] != '\0')
            c++;
        shown += *c;
    }
    return font.text_width(shown.data(), (int32_t)shown.size());
}

int32_t widest_line(const std::vector<std::string>& lines, const MsgboxFont& font) {
    int32_t widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, font.text_width(line.data(), (int32_t)line.size()));
    return widest;
}

UINT icon_of(UINT type) {
    UINT icon = type & MSGBOX_ICON_MASK;
    return icon >= 0x10 && icon <= 0x40 ? icon : 0;
}

// A default button past the last one falls back to the first.
int32_t default_button_of(UINT type, int32_t count) {
    int32_t index = (int32_t)((type & MSGBOX_DEFBUTTON_MASK) >> 8);
    return index < count ? index : 0;
}

struct ButtonSize {
    int32_t width;
    int32_t height;
    int32_t gap;
};

ButtonSize button_size(const ButtonSet& set, const MsgboxFont& font) {
    int32_t width = 1;
    for (int32_t i = 0; i < set.count; i++)
        width = std::max(width, label_width(set.buttons[i].label, font));
    int32_t height = std::max(font.height, 1);
    width = std::max(width, height * 2);
    return {width * 2, height * 2, width * 2 / 3};
}

// The width the caption bar needs: its text, the close box and the gaps,
// inside the frame.
int32_t caption_need(const char* caption, const MsgboxFont& caption_font,
                     const MsgboxMetrics& metrics) {
    int32_t text = caption_font.text_width(caption, (int32_t)strlen(caption));
    int32_t need = text + CAPTION_GAPS + metrics.close_box_width + 2 * metrics.frame_width;
    return std::min(need, metrics.screen_width);
}

// Puts the buttons in one row at `top`, centred on the box's outer width as
// the classic box does (so the row sits half a frame right of the client
// area's centre).
void place_buttons(const ButtonSet& set, const ButtonSize& size, int32_t top,
                   MsgboxLayout* layout) {
    int32_t row = size.width * set.count + size.gap * (set.count - 1);
    int32_t left = (layout->window.cx - row) / 2;
    layout->button_count = set.count;
    for (int32_t i = 0; i < set.count; i++) {
        layout->buttons[i] = set.buttons[i];
        layout->buttons[i].rect = {left, top, left + size.width, top + size.height};
        left += size.width + size.gap;
    }
}

} // namespace

std::vector<std::string> msgbox_wrap_text(const char* text, const MsgboxFont& font,
                                          int32_t max_width) {
    std::vector<std::string> lines;
    while (*text != '\0') {
        size_t length = 0;
        while (text[length] != '\0' && !is_line_end(text[length]))
            length++;
        wrap_paragraph(text, length, font, max_width, &lines);
        text += length;
        if (*text != '\0')
            text += line_end_length(text);
    }
    return lines;
}

bool msgbox_layout(const char* text, const char* caption, UINT type, const MsgboxFont& font,
                   const MsgboxFont& caption_font, const MsgboxMetrics& metrics,
                   MsgboxLayout* layout) {
    assert(text != nullptr && caption != nullptr && "callers pass \"\" for a missing string");
    UINT buttons = type & MSGBOX_BUTTONS_MASK;
    if (buttons >= sizeof BUTTON_SETS / sizeof BUTTON_SETS[0])
        return false;
    const ButtonSet& set = BUTTON_SETS[buttons];
    MsgboxLayout out = {};
    out.icon = icon_of(type);
    int32_t margin = dialog_units_to_pixels(MARGIN_DLU, font.base);
    int32_t icon_size = out.icon != 0 ? metrics.icon_size : 0;
    int32_t text_left = out.icon != 0 ? margin * 2 + icon_size : margin;

    ButtonSize button = button_size(set, font);
    int32_t max_width = dialog_units_to_pixels(MAX_TEXT_WIDTH_DLU, font.base);
    out.lines = msgbox_wrap_text(text, font, max_width);
    out.line_height = font.height;
    int32_t text_height = font.height * (int32_t)out.lines.size();
    int32_t row_width = (button.width + button.gap) * set.count + button.gap;
    int32_t text_width = std::max(row_width - text_left, widest_line(out.lines, font));

    int32_t frame_x = 2 * metrics.frame_width;
    int32_t frame_y = 2 * metrics.frame_height + metrics.caption_height;
    int32_t outer_width = text_left + text_width + margin + frame_x;
    int32_t wider = caption_need(caption, caption_font, metrics) - outer_width;
    if (wider > 0) {
        text_width += wider;
        outer_width += wider;
    }

    int32_t band = BAND_PADDING + std::max(icon_size, text_height);
    out.client = {outer_width - frame_x, band + button.height + BOTTOM_PADDING};
    out.window = {outer_width, out.client.cy + frame_y};
    int32_t icon_top = (band - icon_size) / 2;
    out.icon_rect = {margin, icon_top, margin + icon_size, icon_top + icon_size};
    int32_t text_top = (band - text_height) / 2;
    out.text = {text_left, text_top, text_left + text_width, text_top + text_height};
    place_buttons(set, button, band, &out);
    out.default_button = default_button_of(type, set.count);
    *layout = std::move(out);
    return true;
}

MsgboxFont msgbox_font_of_dc(HDC dc) {
    MsgboxFont font = {};
    font.text_width = [dc](const char* text, int32_t count) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, text, count, &size);
        return (int32_t)size.cx;
    };
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    font.height = tm.tmHeight;
    // Dialogs take the average width of the 52 letters, rounded half up.
    static const char LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    font.base = (font.text_width(LETTERS, 52) / 26 + 1) / 2;
    return font;
}

MsgboxMetrics msgbox_system_metrics() {
    MsgboxMetrics metrics = {};
    metrics.caption_height = GetSystemMetrics(SM_CYCAPTION);
    metrics.frame_width = GetSystemMetrics(SM_CXFIXEDFRAME);
    metrics.frame_height = GetSystemMetrics(SM_CYFIXEDFRAME);
    metrics.close_box_width = GetSystemMetrics(SM_CXSIZE);
    metrics.icon_size = GetSystemMetrics(SM_CXICON);
    metrics.screen_width = GetSystemMetrics(SM_CXSCREEN);
    return metrics;
}
