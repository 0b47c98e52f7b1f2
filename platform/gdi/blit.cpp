// Bitmap copies between contexts: BitBlt and StretchBlt, with HALFTONE
// shrinking that averages every source pixel that falls into a destination
// pixel.
#include "platform/gdi/gdi_private.h"

#include <algorithm>
#include <stdlib.h>
#include <string.h>

namespace {

// The source of a blit: its pixels as the destination sees them.
struct BlitSource {
    Surface surface;
    bool monochrome;
    COLORREF bk_color; // a colour source's background, for monochrome destinations
};

// The bits of a pixel that a blit writes: all 32 between two colour bitmaps,
// whose top byte is the program's own (an alpha channel, say), else the
// colour alone, as window pixels and converted pixels hold nothing above it.
uint32_t blit_mask(const BlitSource& source, const DeviceContext& target) {
    bool whole = target.memory && !source.monochrome && gdi_depth(target) == 32;
    return whole ? 0xFFFFFFFFu : 0x00FFFFFFu;
}

bool source_of(HDC dc, BlitSource* source) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return false;
    thread_local std::vector<RECT> base;
    if (!gdi_surface(*context, &source->surface, &base))
        return false;
    source->monochrome = gdi_is_monochrome(*context);
    source->bk_color = context->state.bk_color;
    return true;
}

// A source pixel converted for the destination: monochrome sources take the
// destination's text (black) and background (white) colours; colour pixels
// going to monochrome become white where they match the source's background.
uint32_t convert(const BlitSource& source, const DeviceContext& target, uint32_t pixel) {
    bool target_mono = gdi_is_monochrome(target);
    if (source.monochrome && !target_mono) {
        COLORREF color = (pixel & 0xFFFFFF) != 0 ? target.state.bk_color : target.state.text_color;
        return pixel_from_colorref(color & 0xFFFFFF);
    }
    if (!source.monochrome && target_mono)
        return (pixel & 0xFFFFFF) == pixel_from_colorref(source.bk_color & 0xFFFFFF) ? 0xFFFFFF : 0;
    return pixel;
}

bool known_source_rop(DWORD rop) {
    return rop == SRCCOPY || rop == SRCPAINT || rop == SRCAND || rop == SRCINVERT ||
           rop == NOTSRCCOPY;
}

uint32_t apply_rop(DWORD rop, uint32_t destination, uint32_t source) {
    switch (rop) {
    case SRCPAINT:
        return destination | source;
    case SRCAND:
        return destination & source;
    case SRCINVERT:
        return destination ^ source;
    case NOTSRCCOPY:
        return ~source;
    }
    return source;
}

// Where destination column (or row) i of n takes its source pixels from:
// [first, last) of a source run of m, mirrored when asked.
struct Span {
    int32_t first;
    int32_t last;
};

Span span_of(int32_t i, int32_t n, int32_t m, bool mirrored) {
    if (mirrored)
        i = n - 1 - i;
    int32_t first = (int32_t)((int64_t)i * m / n);
    int32_t last = (int32_t)((int64_t)(i + 1) * m / n);
    return {first, last > first ? last : first + 1};
}

struct Stretch {
    RECT destination; // normalised
    POINT source;     // top-left of the normalised source rectangle
    SIZE source_size; // its size
    bool mirror_x;
    bool mirror_y;
    bool average; // HALFTONE: average every source pixel of a span
    DWORD rop;
    uint32_t mask; // the bits of a pixel that the blit writes (blit_mask)
};

bool inside(const Surface& s, int32_t x, int32_t y) {
    return x >= s.left && y >= s.top && x < s.width && y < s.height;
}

// The source pixel for a destination pixel, or false when it lies outside
// the source.
bool sample(const BlitSource& src, const Stretch& st, Span sx, Span sy, uint32_t* pixel) {
    if (!st.average) {
        int32_t x = st.source.x + sx.first, y = st.source.y + sy.first;
        if (!inside(src.surface, x, y))
            return false;
        *pixel = src.surface.bits[(ptrdiff_t)y * src.surface.stride + x];
        return true;
    }
    uint64_t red = 0, green = 0, blue = 0, count = 0;
    for (int32_t y = st.source.y + sy.first; y < st.source.y + sy.last; ++y) {
        for (int32_t x = st.source.x + sx.first; x < st.source.x + sx.last; ++x) {
            if (!inside(src.surface, x, y))
                continue;
            uint32_t p = src.surface.bits[(ptrdiff_t)y * src.surface.stride + x];
            red += (p >> 16) & 0xFF;
            green += (p >> 8) & 0xFF;
            blue += p & 0xFF;
            ++count;
        }
    }
    if (count == 0)
        return false;
    *pixel = (uint32_t)(((red + count / 2) / count) << 16 | ((green + count / 2) / count) << 8 |
                        ((blue + count / 2) / count));
    return true;
}

// Copies into one visible rectangle of the destination.
void stretch_into(DrawTarget& target, const BlitSource& src, const Stretch& st,
                  const RECT& visible) {
    RECT area = rect_intersection(visible, st.destination);
    int32_t n_x = st.destination.right - st.destination.left;
    int32_t n_y = st.destination.bottom - st.destination.top;
    for (LONG y = area.top; y < area.bottom; ++y) {
        Span sy = span_of(y - st.destination.top, n_y, st.source_size.cy, st.mirror_y);
        uint32_t* row = target.surface->bits + (ptrdiff_t)y * target.surface->stride;
        for (LONG x = area.left; x < area.right; ++x) {
            Span sx = span_of(x - st.destination.left, n_x, st.source_size.cx, st.mirror_x);
            uint32_t pixel;
            if (!sample(src, st, sx, sy, &pixel))
                continue;
            row[x] = apply_rop(st.rop, row[x], convert(src, *target.context, pixel)) & st.mask;
        }
    }
}

// When source and destination share pixels, the source is read from a copy.
BlitSource detached(const BlitSource& src, std::vector<uint32_t>* copy) {
    BlitSource result = src;
    const Surface& s = src.surface;
    size_t width = (size_t)(s.width - s.left), height = (size_t)(s.height - s.top);
    copy->resize(width * height);
    for (int32_t y = s.top; y < s.height; ++y) {
        for (int32_t x = s.left; x < s.width; ++x)
            (*copy)[(size_t)(y - s.top) * width + (size_t)(x - s.left)] =
                s.bits[(ptrdiff_t)y * s.stride + x];
    }
    result.surface.stride = (int32_t)width;
    result.surface.bits = copy->data() - (ptrdiff_t)s.top * (ptrdiff_t)width - s.left;
    return result;
}

// The memory that a surface's rows span.
void memory_range(const Surface& s, const uint32_t** first, const uint32_t** end) {
    const uint32_t* top_row = s.bits + (ptrdiff_t)s.top * s.stride;
    const uint32_t* last_row = s.bits + (ptrdiff_t)(s.height - 1) * s.stride;
    *first = (s.stride >= 0 ? top_row : last_row) + s.left;
    *end = (s.stride >= 0 ? last_row : top_row) + s.width;
}

// Whether two surfaces share pixels: windows are views of one screen-sized
// surface, and a context may copy from itself.
bool overlap(const Surface& a, const Surface& b) {
    const uint32_t *a_first, *a_end, *b_first, *b_end;
    memory_range(a, &a_first, &a_end);
    memory_range(b, &b_first, &b_end);
    return a_first < b_end && b_first < a_end;
}

// A blit that neither scales, mirrors nor converts: every destination pixel
// takes the source pixel at the same offset, row by row.
bool one_to_one(const Stretch& st, const BlitSource& src, const DeviceContext& target) {
    return !st.mirror_x && !st.mirror_y && !st.average &&
           st.source_size.cx == st.destination.right - st.destination.left &&
           st.source_size.cy == st.destination.bottom - st.destination.top &&
           src.monochrome == gdi_is_monochrome(target);
}

// The source pixels of a one-to-one copy: `bits` is the one that lands on
// the top-left pixel of `area`, the destination pixels that the source
// reaches.
struct CopySource {
    const uint32_t* bits;
    ptrdiff_t stride;
    RECT area;
};

CopySource copy_source(const BlitSource& src, const Stretch& st) {
    int32_t dx = st.source.x - st.destination.left, dy = st.source.y - st.destination.top;
    RECT in_source{src.surface.left - dx, src.surface.top - dy, src.surface.width - dx,
                   src.surface.height - dy};
    RECT area = rect_intersection(st.destination, in_source);
    if (rect_is_empty(area))
        return {src.surface.bits, src.surface.stride, area};
    const uint32_t* first =
        src.surface.bits + (ptrdiff_t)(area.top + dy) * src.surface.stride + (area.left + dx);
    return {first, src.surface.stride, area};
}

// When source and destination share pixels, the source pixels that the copy
// reads are taken aside first, so that every one is read before any is
// written, whichever way the two overlap.
CopySource set_aside(const CopySource& from, std::vector<uint32_t>* aside) {
    LONG width = from.area.right - from.area.left, height = from.area.bottom - from.area.top;
    aside->resize((size_t)width * (size_t)height);
    for (LONG y = 0; y < height; ++y)
        std::copy_n(from.bits + y * from.stride, width, aside->data() + (ptrdiff_t)y * width);
    return {aside->data(), width, from.area};
}

void copy_row(uint32_t* to, const uint32_t* from, LONG count, DWORD rop, uint32_t mask) {
    if (rop == SRCCOPY) {
        // Two pixels at a time: this copy is most of every repaint.
        uint64_t pair_mask = (uint64_t)mask << 32 | mask;
        LONG i = 0;
        for (; i + 2 <= count; i += 2) {
            uint64_t pair;
            memcpy(&pair, from + i, sizeof pair);
            pair &= pair_mask;
            memcpy(to + i, &pair, sizeof pair);
        }
        if (i < count)
            to[i] = from[i] & mask;
        return;
    }
    for (LONG i = 0; i < count; ++i)
        to[i] = apply_rop(rop, to[i], from[i]) & mask;
}

void copy_into(const Surface& to, const CopySource& from, const Stretch& st, const RECT& visible) {
    RECT area = rect_intersection(visible, from.area);
    for (LONG y = area.top; y < area.bottom; ++y) {
        const uint32_t* row =
            from.bits + (y - from.area.top) * from.stride + (area.left - from.area.left);
        copy_row(to.bits + (ptrdiff_t)y * to.stride + area.left, row, area.right - area.left,
                 st.rop, st.mask);
    }
}

void copy(const DrawTarget& target, const BlitSource& src, const Stretch& st) {
    CopySource from = copy_source(src, st);
    if (rect_is_empty(from.area))
        return;
    thread_local std::vector<uint32_t> aside;
    if (overlap(src.surface, *target.surface))
        from = set_aside(from, &aside);
    for (const RECT& visible : target.rects)
        copy_into(*target.surface, from, st, visible);
}

BOOL stretch(HDC dc, Stretch st, HDC source_dc) {
    DrawTarget target;
    Surface surface;
    BlitSource src;
    if (!gdi_draw_target(dc, &target, &surface) || !source_of(source_dc, &src))
        return FALSE;
    st.mask = blit_mask(src, *target.context);
    if (one_to_one(st, src, *target.context)) {
        copy(target, src, st);
    } else {
        std::vector<uint32_t> copy;
        if (overlap(src.surface, surface))
            src = detached(src, &copy);
        for (const RECT& visible : target.rects)
            stretch_into(target, src, st, visible);
    }
    target.add_bounds(st.destination);
    return TRUE;
}

void report_unsupported_rop(DWORD rop) {
    static bool reported = false;
    if (!reported) {
        reported = true;
        (void)rop;
        OutputDebugStringA("gdi: a blit raster operation that the layer does not provide\n");
    }
}

} // namespace

BOOL WINAPI StretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int source_x,
                       int source_y, int source_width, int source_height, DWORD rop) {
    if (gdi_pattern_blit(dc, x, y, width, height, rop))
        return TRUE;
    if (!known_source_rop(rop)) {
        report_unsupported_rop(rop);
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (width == 0 || height == 0 || source_width == 0 || source_height == 0)
        return gdi_dc(dc) != nullptr;
    DeviceContext* context = gdi_dc(dc);
    DeviceContext* source_context = gdi_dc(source);
    if (context == nullptr || source_context == nullptr)
        return FALSE;
    POINT at = gdi_to_device(context->state, x, y);
    POINT from = gdi_to_device(source_context->state, source_x, source_y);
    Stretch st;
    st.destination = rect_normalised(at.x, at.y, at.x + width, at.y + height);
    st.source = {source_width < 0 ? from.x + source_width : from.x,
                 source_height < 0 ? from.y + source_height : from.y};
    st.source_size = {abs(source_width), abs(source_height)};
    st.mirror_x = (width < 0) != (source_width < 0);
    st.mirror_y = (height < 0) != (source_height < 0);
    bool shrinking = st.source_size.cx > abs(width) || st.source_size.cy > abs(height);
    st.average = context->state.stretch_mode == HALFTONE && shrinking;
    st.rop = rop;
    return stretch(dc, st, source);
}

BOOL WINAPI BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int source_x,
                   int source_y, DWORD rop) {
    return StretchBlt(dc, x, y, width, height, source, source_x, source_y, width, height, rop);
}
