// Pieces that the rasteriser's files share: painting clipped spans, and a
// coverage mask that collects a shape made of overlapping parts so that each
// of its pixels is mixed exactly once.
#pragma once

#include "platform/gdi/raster.h"

#include <stdint.h>
#include <vector>

// Where and how one drawing call paints.
struct Painter {
    Surface* surface;
    const Clip* clip;
    uint32_t pixel; // the pen's or brush's pixel
    int rop2;       // mix mode, R2_BLACK .. R2_WHITE
    RECT* touched;  // bounds to extend, or null
};

// Mixes the pixels [x0, x1) of row y, as far as the clip allows.
void paint_span(const Painter& painter, int32_t y, int32_t x0, int32_t x1);

// Mixes [x0, x1) of row y, which the caller has found inside the clip.
void paint_clipped_span(const Painter& painter, int32_t y, int32_t x0, int32_t x1);

// The smallest rectangle holding every rectangle of the clip.
RECT clip_extent(const Clip* clip);

// What a cell of a coverage mask holds. The pen wins over the brush.
enum CoverageValue : uint8_t { COVER_NONE = 0, COVER_BRUSH = 1, COVER_PEN = 2 };

// A shape collected in a byte per pixel over `box`, which is already limited
// to the clip's extent: parts outside it are dropped when they are added.
class Coverage {
  public:
    explicit Coverage(RECT box);

    bool empty() const { return box_.left >= box_.right || box_.top >= box_.bottom; }
    const RECT& box() const { return box_; }

    // Marks [x0, x1) of row y; a cell keeps the larger value.
    void mark(int32_t y, int32_t x0, int32_t x1, CoverageValue value);
    void mark_rect(const RECT& r, CoverageValue value);
    uint8_t at(int32_t x, int32_t y) const {
        return cells_[(size_t)(y - box_.top) * width_ + (x - box_.left)];
    }

    // Paints every run of cells that hold `value`.
    void paint(const Painter& painter, CoverageValue value) const;

  private:
    RECT box_;
    int32_t width_;
    std::vector<uint8_t> cells_;
};

// The cosmetic line's pixels, end point excluded (raster_lines.cpp).
void paint_cosmetic_line(const Painter& painter, POINT from, POINT to);

// One wide segment of a path without its ends' round parts (raster_lines.cpp).
void mark_wide_segment(Coverage& cover, POINT from, POINT to, int32_t width);

// The filled ellipse inscribed in the w by h pixels from (left, top)
// (raster_shapes.cpp): the shape of a round pen's dot and of a brushed ellipse.
void mark_ellipse_region(Coverage& cover, int32_t left, int32_t top, int32_t w, int32_t h,
                         CoverageValue value);

// The round dot that a pen of `width` leaves at every point of a path: a
// `width` by `width` filled ellipse, its odd pixel below and to the right.
// Its rows are worked out once and then stamped at each point.
class PenDot {
  public:
    explicit PenDot(int32_t width);
    void mark(Coverage& cover, POINT at) const;

  private:
    struct Row {
        int32_t dy, x0, x1; // offsets from the point; [x0, x1) on row dy
    };
    std::vector<Row> rows_;
};

// Bounds of a shape, widened on every side by `margin`.
RECT widened(RECT r, int32_t margin);
RECT intersect_rects(const RECT& a, const RECT& b);
