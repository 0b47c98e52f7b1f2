// DrawTextA: text laid out in a rectangle, one line or many, broken at
// words, aligned, with '&' marking the character to underline. It is built
// on the context's own font calls, so it lays out whatever the context's
// font measures.
#include <windows.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A line as it is drawn: its characters once the '&' marks are taken out,
// and which of them are underlined.
struct Line {
    std::string chars;
    std::vector<size_t> underlined;
};

// What the layout needs of the call and the font.
struct Layout {
    HDC dc;
    UINT format;
    int32_t line_height;
    int32_t tab_width; // eight average characters
    int32_t ascent;
};

bool has(const Layout& layout, UINT flag) {
    return (layout.format & flag) != 0;
}

int32_t run_width(HDC dc, const char* text, size_t count) {
    SIZE size{0, 0};
    if (count > 0)
        GetTextExtentPoint32A(dc, text, (int)count, &size);
    return size.cx;
}

// Where each character of `line` up to `end` starts, tabs expanded to the
// next tab stop when asked; the result is the x after the last one.
int32_t advance_to(const Layout& layout, const std::string& line, size_t end) {
    int32_t x = 0;
    size_t run = 0;
    for (size_t i = 0; i < end; ++i) {
        if (line[i] != '\t' || !has(layout, DT_EXPANDTABS))
            continue;
        x += run_width(layout.dc, line.data() + run, i - run);
        x = (x / layout.tab_width + 1) * layout.tab_width;
        run = i + 1;
    }
    return x + run_width(layout.dc, line.data() + run, end - run);
}

// The characters of one line of the source up to its end or a line break
// ("\r\n", "\n" or "\r", unless the text is a single line); `*next` is where
// the following line starts, or null after the last.
Line take_line(const Layout& layout, const char* text, const char* end, const char** next) {
    Line line;
    const char* p = text;
    for (; p < end; ++p) {
        if (!has(layout, DT_SINGLELINE) && (*p == '\n' || *p == '\r'))
            break;
        if (*p == '&' && !has(layout, DT_NOPREFIX) && p + 1 < end) {
            ++p;
            if (*p != '&')
                line.underlined.push_back(line.chars.size());
        }
        line.chars.push_back(*p);
    }
    *next = nullptr;
    if (p < end) {
        if (*p == '\r' && p + 1 < end && p[1] == '\n')
            ++p;
        *next = p + 1;
    }
    return line;
}

// With DT_WORDBREAK, how many characters of `line` go on the first row: up
// to the last space that lets them fit `width`, or, when even the first
// word is wider, that whole word. Spaces at the break belong to no row.
size_t fitting(const Layout& layout, const std::string& line, int32_t width) {
    if (!has(layout, DT_WORDBREAK) || advance_to(layout, line, line.size()) <= width)
        return line.size();
    size_t best = 0;
    for (size_t i = 1; i < line.size(); ++i) {
        bool word_end = line[i] == ' ' && line[i - 1] != ' ';
        if (!word_end)
            continue;
        if (advance_to(layout, line, i) > width)
            return best != 0 ? best : i;
        best = i;
    }
    return best != 0 ? best : line.size();
}

// Splits `line` after `count` characters, dropping the spaces between.
Line split_off(Line& line, size_t count) {
    size_t start = line.chars.find_first_not_of(' ', count);
    Line rest;
    if (start != std::string::npos)
        rest.chars = line.chars.substr(start);
    for (size_t u : line.underlined)
        if (start != std::string::npos && u >= start)
            rest.underlined.push_back(u - start);
    line.chars.resize(count);
    return rest;
}

void underline(const Layout& layout, const Line& line, int32_t x, int32_t y) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetTextColor(layout.dc));
    HGDIOBJ old_pen = SelectObject(layout.dc, pen);
    POINT old_position;
    MoveToEx(layout.dc, 0, 0, &old_position);
    for (size_t u : line.underlined) {
        if (u >= line.chars.size())
            continue;
        int32_t from = x + advance_to(layout, line.chars, u);
        int32_t to = x + advance_to(layout, line.chars, u + 1);
        MoveToEx(layout.dc, from, y + layout.ascent + 1, nullptr);
        LineTo(layout.dc, to - 1, y + layout.ascent + 1);
    }
    MoveToEx(layout.dc, old_position.x, old_position.y, nullptr);
    SelectObject(layout.dc, old_pen);
    DeleteObject(pen);
}

// Draws the row's runs between tabs, each at its own tab stop.
void draw_row(const Layout& layout, const Line& line, int32_t x, int32_t y, const RECT& rect) {
    UINT options = has(layout, DT_NOCLIP) ? 0 : ETO_CLIPPED;
    const std::string& s = line.chars;
    size_t run = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        bool tab = i < s.size() && s[i] == '\t' && has(layout, DT_EXPANDTABS);
        if (i < s.size() && !tab)
            continue;
        int32_t at = x + advance_to(layout, s, run);
        ExtTextOutA(layout.dc, at, y, options, &rect, s.data() + run, (UINT)(i - run), nullptr);
        run = i + 1;
    }
    underline(layout, line, x, y);
}

int32_t row_left(const Layout& layout, const RECT& rect, int32_t width) {
    if (has(layout, DT_CENTER))
        return (rect.left + rect.right - width) / 2;
    if (has(layout, DT_RIGHT))
        return rect.right - width;
    return rect.left;
}

// A single line moves down to the middle or the bottom of the rectangle.
int32_t first_row_top(const Layout& layout, const RECT& rect) {
    if (!has(layout, DT_SINGLELINE))
        return rect.top;
    if (has(layout, DT_VCENTER))
        return rect.top + (rect.bottom - rect.top - layout.line_height) / 2;
    if (has(layout, DT_BOTTOM))
        return rect.bottom - layout.line_height;
    return rect.top;
}

// Lays out (and, unless DT_CALCRECT, draws) every row; answers the bottom
// of the last row and the widest row's width.
int32_t lay_out(const Layout& layout, const char* text, size_t count, const RECT& rect,
                int32_t* widest) {
    int32_t y = first_row_top(layout, rect);
    const char* end = text + count;
    const char* next = text;
    while (next != nullptr) {
        Line line = take_line(layout, next, end, &next);
        for (bool more = true; more;) {
            Line rest = split_off(line, fitting(layout, line.chars, rect.right - rect.left));
            int32_t width = advance_to(layout, line.chars, line.chars.size());
            *widest = std::max(*widest, width);
            if (!has(layout, DT_CALCRECT))
                draw_row(layout, line, row_left(layout, rect, width), y, rect);
            y += layout.line_height;
            more = !rest.chars.empty();
            line = std::move(rest);
        }
    }
    return y;
}

bool layout_of(HDC dc, UINT format, Layout* layout) {
    TEXTMETRICA metrics;
    if (!GetTextMetricsA(dc, &metrics))
        return false;
    layout->dc = dc;
    // A single line is never broken.
    layout->format = (format & DT_SINGLELINE) ? format & ~(UINT)DT_WORDBREAK : format;
    layout->line_height = metrics.tmHeight;
    if (format & DT_EXTERNALLEADING)
        layout->line_height += metrics.tmExternalLeading;
    layout->tab_width = std::max<int32_t>(1, metrics.tmAveCharWidth * 8);
    layout->ascent = metrics.tmAscent;
    return true;
}

} // namespace

// Answers the height of the text, or, for a single line moved down, the
// distance from the rectangle's top to the text's bottom (1 when that is 0);
// 0 when there is nothing to lay out. An empty string given with -1 still
// has the height of a line.
int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    Layout layout;
    if (rect == nullptr || count == 0 || count < -1 || (text == nullptr && count != -1) ||
        !layout_of(dc, format, &layout))
        return 0;
    size_t length = count == -1 ? (text != nullptr ? strlen(text) : 0) : (size_t)count;
    if (length == 0) {
        if (format & DT_CALCRECT) {
            rect->right = rect->left;
            rect->bottom = rect->top + ((format & DT_SINGLELINE) ? layout.line_height : 0);
        }
        return layout.line_height;
    }
    int32_t widest = 0;
    int32_t bottom = lay_out(layout, text, length, *rect, &widest);
    int height = bottom - rect->top;
    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = bottom;
    }
    return height != 0 ? height : 1;
}
