// Mixing pixels, painting clipped spans and filling rectangles: the ground
// that lines and shapes stand on.
#include "platform/gdi/raster.h"

#include "platform/gdi/raster_spans.h"

#include <algorithm>
#include <assert.h>
#include <string.h>

namespace {

constexpr uint32_t COLOUR_BITS = 0x00FFFFFF;

void extend_touched(RECT* touched, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!touched)
        return;
    if (touched->left >= touched->right) {
        *touched = {left, top, right, bottom};
        return;
    }
    touched->left = std::min(touched->left, left);
    touched->top = std::min(touched->top, top);
    touched->right = std::max(touched->right, right);
    touched->bottom = std::max(touched->bottom, bottom);
}

// Eight pixels a store group: a long span (a wall's edge, a line across the
// window) is most of a drawing call's time when filled one pixel at a time.
void fill_row(uint32_t* row, int32_t count, uint32_t pixel) {
    uint64_t pair = (uint64_t)pixel << 32 | pixel;
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t group[4] = {pair, pair, pair, pair};
        memcpy(row + i, group, sizeof group);
    }
    for (; i < count; ++i)
        row[i] = pixel;
}

// A mix mode's code less one is its truth table: bit (2 * p + d) gives the
// result for a pen bit p over a destination bit d. All 32 bits are mixed;
// a pen's or brush's top byte is 0.
uint32_t mix_bits(int rop2, uint32_t dst, uint32_t src) {
    assert(rop2 >= R2_BLACK && rop2 <= R2_WHITE && "mix mode out of range");
    unsigned table = (unsigned)(rop2 - 1);
    uint32_t result = 0;
    if (table & 8)
        result |= src & dst;
    if (table & 4)
        result |= src & ~dst;
    if (table & 2)
        result |= ~src & dst;
    if (table & 1)
        result |= ~src & ~dst;
    return result;
}

// Copying is by far the most common mode, so it skips the mixing.
void mix_row(uint32_t* row, int32_t count, uint32_t pixel, int rop2, uint32_t written) {
    if (rop2 == R2_COPYPEN) {
        fill_row(row, count, pixel & COLOUR_BITS);
        return;
    }
    for (int32_t i = 0; i < count; ++i)
        row[i] = mix_bits(rop2, row[i], pixel & COLOUR_BITS) & written;
}

} // namespace

uint32_t mix_pixel(int rop2, uint32_t dst, uint32_t src) {
    return mix_bits(rop2, dst, src) & COLOUR_BITS;
}

void paint_span(const Painter& painter, int32_t y, int32_t x0, int32_t x1) {
    const Clip* clip = painter.clip;
    for (int32_t i = 0; i < clip->count; ++i) {
        const RECT& r = clip->rects[i];
        if (y < r.top || y >= r.bottom)
            continue;
        int32_t left = std::max(x0, r.left);
        int32_t right = std::min(x1, r.right);
        if (left >= right)
            continue;
        paint_clipped_span(painter, y, left, right);
    }
}

void paint_clipped_span(const Painter& painter, int32_t y, int32_t x0, int32_t x1) {
    Surface* s = painter.surface;
    mix_row(s->bits + (int64_t)y * s->stride + x0, x1 - x0, painter.pixel, painter.rop2,
            s->written);
    extend_touched(painter.touched, x0, y, x1, y + 1);
}

RECT clip_extent(const Clip* clip) {
    RECT extent = {0, 0, 0, 0};
    for (int32_t i = 0; i < clip->count; ++i) {
        const RECT& r = clip->rects[i];
        if (r.left >= r.right || r.top >= r.bottom)
            continue;
        if (extent.left >= extent.right) {
            extent = r;
            continue;
        }
        extent.left = std::min(extent.left, r.left);
        extent.top = std::min(extent.top, r.top);
        extent.right = std::max(extent.right, r.right);
        extent.bottom = std::max(extent.bottom, r.bottom);
    }
    return extent;
}

RECT widened(RECT r, int32_t margin) {
    return {r.left - margin, r.top - margin, r.right + margin, r.bottom + margin};
}

RECT intersect_rects(const RECT& a, const RECT& b) {
    RECT r = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom)
        return {0, 0, 0, 0};
    return r;
}

void raster_fill_rect(Surface* surface, const Clip* clip, RECT box, uint32_t pixel, int rop2,
                      RECT* touched) {
    Painter painter = {surface, clip, pixel, rop2, touched};
    RECT r = intersect_rects(box, clip_extent(clip));
    for (int32_t y = r.top; y < r.bottom; ++y)
        paint_span(painter, y, r.left, r.right);
}

Coverage::Coverage(RECT box) : box_(box), width_(0) {
    if (empty()) {
        box_ = {0, 0, 0, 0};
        return;
    }
    width_ = box_.right - box_.left;
    cells_.assign((size_t)width_ * (size_t)(box_.bottom - box_.top), COVER_NONE);
}

void Coverage::mark(int32_t y, int32_t x0, int32_t x1, CoverageValue value) {
    if (y < box_.top || y >= box_.bottom)
        return;
    x0 = std::max(x0, box_.left);
    x1 = std::min(x1, box_.right);
    uint8_t* row = cells_.data() + (size_t)(y - box_.top) * width_ - box_.left;
    for (int32_t x = x0; x < x1; ++x)
        row[x] = std::max(row[x], (uint8_t)value);
}

void Coverage::mark_rect(const RECT& r, CoverageValue value) {
    int32_t top = std::max(r.top, box_.top);
    int32_t bottom = std::min(r.bottom, box_.bottom);
    for (int32_t y = top; y < bottom; ++y)
        mark(y, r.left, r.right, value);
}

void Coverage::paint(const Painter& painter, CoverageValue value) const {
    for (int32_t y = box_.top; y < box_.bottom; ++y) {
        const uint8_t* row = cells_.data() + (size_t)(y - box_.top) * width_;
        int32_t x = 0;
        while (x < width_) {
            if (row[x] != value) {
                ++x;
                continue;
            }
            int32_t start = x;
            while (x < width_ && row[x] == value)
                ++x;
            paint_span(painter, y, box_.left + start, box_.left + x);
        }
    }
}
