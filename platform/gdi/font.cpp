#include "platform/gdi/font.h"

#include <assert.h>
#include <bit>
#include <stddef.h>

namespace {

bool rect_is_empty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

RECT intersect(const RECT& a, const RECT& b) {
    RECT r;
    r.left = a.left > b.left ? a.left : b.left;
    r.top = a.top > b.top ? a.top : b.top;
    r.right = a.right < b.right ? a.right : b.right;
    r.bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return r;
}

// Grows *touched to take in the pixels [left, right) of one row.
void touch_row(RECT* touched, int32_t left, int32_t right, int32_t row) {
    if (rect_is_empty(*touched)) {
        *touched = {left, row, right, row + 1};
        return;
    }
    touched->left = left < touched->left ? left : touched->left;
    touched->right = right > touched->right ? right : touched->right;
    touched->top = row < touched->top ? row : touched->top;
    touched->bottom = row + 1 > touched->bottom ? row + 1 : touched->bottom;
}

// The columns [first, last) of a cell, in the bit order of a glyph row.
uint16_t column_mask(int32_t first, int32_t last) {
    return (uint16_t)((0xFFFFu >> first) & ~(0xFFFFu >> last));
}

// Writes the glyph's pixels that lie inside `area`, a part of the cell whose
// top-left corner is (cell_x, cell_y) already cut to the surface and a clip
// rectangle.
void draw_glyph_area(Surface* surface, const FontGlyph& glyph, int32_t cell_x, int32_t cell_y,
                     const RECT& area, uint32_t pixel, RECT* touched) {
    uint16_t mask = column_mask(area.left - cell_x, area.right - cell_x);
    for (int32_t row = area.top; row < area.bottom; ++row) {
        uint16_t bits = glyph.rows[row - cell_y] & mask;
        if (bits == 0) {
            continue;
        }
        touch_row(touched, cell_x + std::countl_zero(bits),
                  cell_x + FONT_MAX_CELL_WIDTH - std::countr_zero(bits), row);
        uint32_t* line = surface->bits + (ptrdiff_t)row * surface->stride + cell_x;
        while (bits != 0) {
            int col = std::countl_zero(bits);
            line[col] = pixel;
            bits &= (uint16_t) ~(0x8000u >> col);
        }
    }
}

// Draws one glyph through every clip rectangle that meets its cell.
void draw_glyph(Surface* surface, const Clip* clip, const FontGlyph& glyph, const RECT& cell,
                uint32_t pixel, RECT* touched) {
    const RECT bounds = {surface->left, surface->top, surface->width, surface->height};
    RECT visible = intersect(cell, bounds);
    if (rect_is_empty(visible)) {
        return;
    }
    for (int32_t i = 0; i < clip->count; ++i) {
        // The rectangles are sorted by their top edge: once one starts below
        // the cell, all the rest do.
        if (clip->rects[i].top >= visible.bottom) {
            break;
        }
        RECT area = intersect(visible, clip->rects[i]);
        if (!rect_is_empty(area)) {
            draw_glyph_area(surface, glyph, cell.left, cell.top, area, pixel, touched);
        }
    }
}

} // namespace

const FontMetrics& system_font_metrics() {
    return SYSTEM_FONT_METRICS;
}

const FontGlyph& system_font_glyph(BYTE c) {
    const FontMetrics& m = SYSTEM_FONT_METRICS;
    if (c < m.first_char || c > m.last_char) {
        c = m.default_char;
    }
    return SYSTEM_FONT_GLYPHS[c - m.first_char];
}

int32_t system_font_char_width(BYTE c) {
    return system_font_glyph(c).width;
}

int32_t system_font_text_width(const char* text, int32_t count) {
    int32_t width = 0;
    for (int32_t i = 0; i < count; ++i) {
        width += system_font_char_width((BYTE)text[i]);
    }
    return width;
}

void system_font_draw(Surface* surface, const Clip* clip, int32_t x, int32_t y, const char* text,
                      int32_t count, uint32_t pixel, RECT* touched) {
    assert(surface && clip && touched && "system_font_draw needs a surface, a clip and bounds");
    // Cells past the end of the coordinate range cannot reach the surface;
    // stopping before them keeps the cell arithmetic from overflowing.
    if (y > INT32_MAX - FONT_CELL_HEIGHT) {
        return;
    }
    int64_t pen = x;
    for (int32_t i = 0; i < count && pen <= INT32_MAX - FONT_MAX_CELL_WIDTH; ++i) {
        const FontGlyph& glyph = system_font_glyph((BYTE)text[i]);
        RECT cell = {(LONG)pen, y, (LONG)pen + glyph.width, y + FONT_CELL_HEIGHT};
        draw_glyph(surface, clip, glyph, cell, pixel, touched);
        pen += glyph.width;
    }
}
