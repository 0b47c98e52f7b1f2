// Text output with the built-in font. Every font of the layer is drawn with
// it: there is one typeface, whatever a program asks for.
#include "platform/gdi/font.h"
#include "platform/gdi/gdi_private.h"
#include "platform/gdi/raster.h"

#include <string.h>

namespace {

// The left edge of a run of `width` pixels aligned at x, and where the
// current position goes when the context updates it.
struct Placement {
    int32_t left;
    int32_t top;
    POINT next_position;
};

Placement place_text(const DcState& state, int x, int y, int32_t width) {
    if (state.text_align & TA_UPDATECP) {
        x = state.position.x;
        y = state.position.y;
    }
    const FontMetrics& metrics = system_font_metrics();
    Placement place{x, y, {x + width, y}};
    switch (state.text_align & TA_CENTER) {
    case TA_RIGHT:
        place.left = x - width;
        place.next_position.x = place.left;
        break;
    case TA_CENTER:
        place.left = x - width / 2;
        place.next_position.x = x;
        break;
    }
    if ((state.text_align & TA_BASELINE) == TA_BASELINE)
        place.top = y - metrics.ascent;
    else if (state.text_align & TA_BOTTOM)
        place.top = y - metrics.height;
    return place;
}

// Rectangles of `rects` cut to `limit`, in a buffer that the next call reuses.
const std::vector<RECT>& clipped_to(const std::vector<RECT>& rects, const RECT& limit) {
    thread_local std::vector<RECT> result;
    result.clear();
    for (const RECT& r : rects) {
        RECT cut = rect_intersection(r, limit);
        if (!rect_is_empty(cut))
            result.push_back(cut);
    }
    return result;
}

RECT rect_union_of(const std::vector<RECT>& rects) {
    RECT all{0, 0, 0, 0};
    for (const RECT& r : rects)
        all = rect_union(all, r);
    return all;
}

// The background of a cell or the opaque rectangle: the rasteriser's fill
// in copy mode.
void fill(DrawTarget& target, const std::vector<RECT>& rects, const RECT& box, uint32_t pixel) {
    Clip clip{rects.data(), (int32_t)rects.size()};
    raster_fill_rect(target.surface, &clip, box, pixel, R2_COPYPEN, nullptr);
    target.add_bounds(box);
}

// Draws each character at its own advance: the font's, or dx's.
void draw_glyphs(DrawTarget& target, const std::vector<RECT>& rects, int32_t left, int32_t top,
                 const char* text, int32_t count, const INT* dx) {
    Clip clip{rects.data(), (int32_t)rects.size()};
    uint32_t pixel = gdi_pixel(*target.context, target.context->state.text_color);
    RECT drawn{0, 0, 0, 0}; // the bounds are the cells', not the glyphs'
    if (dx == nullptr) {
        system_font_draw(target.surface, &clip, left, top, text, count, pixel, &drawn);
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        system_font_draw(target.surface, &clip, left, top, text + i, 1, pixel, &drawn);
        left += dx[i];
    }
}

int32_t run_width(const char* text, int32_t count, const INT* dx) {
    if (dx == nullptr)
        return system_font_text_width(text, count);
    int32_t width = 0;
    for (int32_t i = 0; i < count; ++i)
        width += dx[i];
    return width;
}

} // namespace

BOOL WINAPI ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text,
                        UINT count, const INT* dx) {
    DrawTarget target;
    Surface surface;
    if (!gdi_draw_target(dc, &target, &surface))
        return FALSE;
    if ((text == nullptr && count > 0) || count > 0x7FFFFFFF)
        return FALSE;
    DcState& state = target.context->state;
    RECT box = rect != nullptr ? rect_normalised(rect->left, rect->top, rect->right, rect->bottom)
                               : RECT{0, 0, 0, 0};
    box = gdi_rect_to_device(state, box);
    bool clipped = rect != nullptr && (options & ETO_CLIPPED);
    const std::vector<RECT>& rects = clipped ? clipped_to(target.rects, box) : target.rects;
    uint32_t background = gdi_pixel(*target.context, state.bk_color);
    if (rect != nullptr && (options & ETO_OPAQUE))
        fill(target, target.rects, box, background);
    int32_t width = run_width(text, (int32_t)count, dx);
    Placement place = place_text(state, x, y, width);
    if (count == 0)
        return TRUE;
    POINT at = gdi_to_device(state, place.left, place.top);
    place.left = at.x;
    place.top = at.y;
    // The bounds take in the whole cell of every character, drawn or not.
    RECT cell{place.left, place.top, place.left + width, place.top + system_font_metrics().height};
    if (state.bk_mode == OPAQUE)
        fill(target, rects, cell, background);
    draw_glyphs(target, rects, place.left, place.top, text, (int32_t)count, dx);
    target.add_bounds(rect_intersection(cell, rect_union_of(rects)));
    if (state.text_align & TA_UPDATECP)
        state.position = place.next_position;
    return TRUE;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
    if (count < 0)
        return FALSE;
    return ExtTextOutA(dc, x, y, 0, nullptr, text, (UINT)count, nullptr);
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size) {
    if (gdi_dc(dc) == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0))
        return FALSE;
    size->cx = system_font_text_width(text, count);
    size->cy = system_font_metrics().height;
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) {
    if (gdi_dc(dc) == nullptr || metrics == nullptr)
        return FALSE;
    const FontMetrics& font = system_font_metrics();
    *metrics = {};
    metrics->tmHeight = font.height;
    metrics->tmAscent = font.ascent;
    metrics->tmDescent = font.descent;
    metrics->tmInternalLeading = font.internal_leading;
    metrics->tmExternalLeading = font.external_leading;
    metrics->tmAveCharWidth = font.ave_char_width;
    metrics->tmMaxCharWidth = font.max_char_width;
    metrics->tmWeight = font.weight;
    metrics->tmDigitizedAspectX = 96;
    metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = font.first_char;
    metrics->tmLastChar = font.last_char;
    metrics->tmDefaultChar = font.default_char;
    metrics->tmBreakChar = font.break_char;
    metrics->tmPitchAndFamily = font.pitch_and_family;
    metrics->tmCharSet = font.char_set;
    return TRUE;
}

// Copies the face name, cut to `count` characters with its terminating
// zero, and returns the characters copied; a null buffer asks for the size.
int WINAPI GetTextFaceA(HDC dc, int count, LPSTR name) {
    if (gdi_dc(dc) == nullptr)
        return 0;
    const char* face = system_font_metrics().face_name;
    int length = (int)strlen(face);
    if (name == nullptr)
        return length + 1;
    if (count <= 0)
        return 0;
    int copied = length < count - 1 ? length : count - 1;
    memcpy(name, face, (size_t)copied);
    name[copied] = '\0';
    return copied;
}
