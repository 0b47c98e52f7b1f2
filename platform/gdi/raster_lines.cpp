// Lines: the cosmetic one-pixel line, and the wide line of a round solid pen.
#include "platform/gdi/raster.h"

#include "platform/gdi/raster_spans.h"

#include <algorithm>
#include <math.h>
#include <stdlib.h>

namespace {

// A cosmetic line walks its major axis one pixel per step; the minor axis
// follows the exact line rounded to the nearest pixel. Where the exact line
// lies halfway between two pixels GDI takes the one with the smaller minor
// coordinate, whichever way the line runs, so a line and its reverse can
// differ. The pixel of each step is computed directly, which lets clipping
// start anywhere along the line.
struct LineWalk {
    POINT start;
    int64_t major;     // steps, which is the number of pixels drawn
    int64_t minor;     // distance along the minor axis
    int32_t major_inc; // +1 or -1
    int32_t minor_inc; // +1 or -1
    bool x_major;      // the line is more horizontal than vertical
    int64_t tie_bias;  // 1 when the minor axis runs towards smaller coordinates
};

LineWalk walk_for(POINT from, POINT to) {
    int64_t dx = (int64_t)to.x - from.x;
    int64_t dy = (int64_t)to.y - from.y;
    LineWalk w;
    w.start = from;
    w.x_major = llabs(dx) > llabs(dy);
    int64_t major_delta = w.x_major ? dx : dy;
    int64_t minor_delta = w.x_major ? dy : dx;
    w.major = llabs(major_delta);
    w.minor = llabs(minor_delta);
    w.major_inc = major_delta < 0 ? -1 : 1;
    w.minor_inc = minor_delta < 0 ? -1 : 1;
    w.tie_bias = minor_delta < 0 ? 1 : 0;
    return w;
}

// A place on the walk: the step, how far the minor axis has moved there
// (step * minor / major rounded to nearest, ties decided by tie_bias), and
// the remainder of that division, which says when it moves next.
struct WalkCursor {
    int64_t step;
    int64_t offset;
    int64_t remainder;
};

WalkCursor cursor_at(const LineWalk& w, int64_t step) {
    int64_t num = 2 * step * w.minor + w.major - 1 + w.tie_bias;
    return {step, num / (2 * w.major), num % (2 * w.major)};
}

void advance(const LineWalk& w, WalkCursor& c) {
    ++c.step;
    c.remainder += 2 * w.minor;
    if (c.remainder >= 2 * w.major) {
        c.remainder -= 2 * w.major;
        ++c.offset;
    }
}

POINT pixel_at(const LineWalk& w, const WalkCursor& c) {
    int64_t along = c.step * w.major_inc;
    int64_t across = c.offset * w.minor_inc;
    return {(int32_t)(w.start.x + (w.x_major ? along : across)),
            (int32_t)(w.start.y + (w.x_major ? across : along))};
}

// The steps [first, last) whose major coordinate lies in [lo, hi).
void steps_within(const LineWalk& w, int64_t lo, int64_t hi, int64_t* first, int64_t* last) {
    int64_t start = w.x_major ? w.start.x : w.start.y;
    if (w.major_inc > 0) {
        *first = lo - start;
        *last = hi - start;
    } else {
        *first = start - hi + 1;
        *last = start - lo + 1;
    }
    *first = std::max<int64_t>(*first, 0);
    *last = std::min<int64_t>(*last, w.major);
}

// How many steps from `c` on, `c` included, stay at the same minor offset.
int64_t run_length(const LineWalk& w, const WalkCursor& c) {
    if (w.minor == 0)
        return w.major;
    return (2 * w.major - c.remainder + 2 * w.minor - 1) / (2 * w.minor);
}

// The steps inside one clip rectangle. A mostly horizontal line goes out as
// one span per row; a mostly vertical one pixel by pixel.
void paint_walk_in_rect(const Painter& painter, const LineWalk& w, const RECT& r) {
    int64_t first, last;
    if (w.x_major)
        steps_within(w, r.left, r.right, &first, &last);
    else
        steps_within(w, r.top, r.bottom, &first, &last);
    WalkCursor c = cursor_at(w, first);
    while (c.step < last) {
        POINT p = pixel_at(w, c);
        if (!w.x_major) {
            if (p.x >= r.left && p.x < r.right)
                paint_clipped_span(painter, p.y, p.x, p.x + 1);
            advance(w, c);
            continue;
        }
        int64_t end = std::min(last, c.step + run_length(w, c));
        POINT q = pixel_at(w, {end - 1, c.offset, 0});
        if (p.y >= r.top && p.y < r.bottom)
            paint_clipped_span(painter, p.y, std::min(p.x, q.x), std::max(p.x, q.x) + 1);
        c = cursor_at(w, end);
    }
}

int64_t ceil_div(int64_t num, int64_t den) {
    int64_t q = num / den;
    return (num % den != 0 && (num > 0) == (den > 0)) ? q + 1 : q;
}

// A polygon as a region: pixel (x, y) belongs to it when the point (x, y)
// lies inside, edges on the left and top included, those on the right and
// bottom excluded; alternate filling.
void mark_polygon(Coverage& cover, const POINT* pts, int count) {
    int32_t top = pts[0].y, bottom = pts[0].y;
    for (int i = 1; i < count; ++i) {
        top = std::min(top, pts[i].y);
        bottom = std::max(bottom, pts[i].y);
    }
    top = std::max(top, cover.box().top);
    bottom = std::min(bottom, cover.box().bottom);
    for (int32_t y = top; y < bottom; ++y) {
        int64_t xs[8];
        int n = 0;
        for (int i = 0; i < count && n < 8; ++i) {
            POINT a = pts[i], b = pts[(i + 1) % count];
            if (a.y > b.y)
                std::swap(a, b);
            if (y < a.y || y >= b.y)
                continue;
            xs[n++] = a.x + ceil_div((int64_t)(b.x - a.x) * (y - a.y), b.y - a.y);
        }
        std::sort(xs, xs + n);
        for (int i = 0; i + 1 < n; i += 2)
            cover.mark(y, (int32_t)xs[i], (int32_t)xs[i + 1], COVER_PEN);
    }
}

int32_t round_half_up(double v) {
    return (int32_t)floor(v + 0.5);
}

// The quadrilateral of a slanted wide segment: the pen's width is split
// across the line into a narrow and a wide half, each rounded to whole
// pixels; which side gets the wide half depends on the direction.
void mark_slanted_segment(Coverage& cover, POINT from, POINT to, int32_t width) {
    int32_t dx = to.x - from.x, dy = to.y - from.y;
    double length = hypot((double)dx, (double)dy);
    double across_x = width * abs(dy) / length;
    double across_y = width * abs(dx) / length;
    POINT narrow = {round_half_up(across_x / 2), round_half_up(across_y / 2)};
    POINT wide = {round_half_up((across_x + 1) / 2), round_half_up((across_y + 1) / 2)};
    if (dx < 0) {
        narrow.y = -narrow.y;
        wide.y = -wide.y;
    }
    if (dy < 0) {
        std::swap(narrow, wide);
        narrow.x = -narrow.x;
        wide.x = -wide.x;
    }
    POINT quad[4] = {{from.x - narrow.x, from.y + narrow.y},
                     {from.x + wide.x, from.y - wide.y},
                     {to.x + wide.x, to.y - wide.y},
                     {to.x - narrow.x, to.y + narrow.y}};
    mark_polygon(cover, quad, 4);
}

void mark_wide_line(Coverage& cover, POINT from, POINT to, int32_t width) {
    PenDot dot(width);
    mark_wide_segment(cover, from, to, width);
    dot.mark(cover, from);
    dot.mark(cover, to);
}

} // namespace

void paint_cosmetic_line(const Painter& painter, POINT from, POINT to) {
    LineWalk walk = walk_for(from, to);
    if (walk.major == 0)
        return;
    for (int32_t i = 0; i < painter.clip->count; ++i)
        paint_walk_in_rect(painter, walk, painter.clip->rects[i]);
}

// Horizontal and vertical segments are plain rectangles, the pen's odd pixel
// going below or to the right of the path.
void mark_wide_segment(Coverage& cover, POINT from, POINT to, int32_t width) {
    if (from.y == to.y && from.x == to.x)
        return;
    if (from.y == to.y) {
        int32_t top = from.y - width / 2;
        cover.mark_rect({std::min(from.x, to.x), top, std::max(from.x, to.x), top + width},
                        COVER_PEN);
    } else if (from.x == to.x) {
        int32_t left = from.x - width / 2;
        cover.mark_rect({left, std::min(from.y, to.y), left + width, std::max(from.y, to.y)},
                        COVER_PEN);
    } else {
        mark_slanted_segment(cover, from, to, width);
    }
}

// The dot is drawn once into a small mask of its own and read back as rows.
PenDot::PenDot(int32_t width) {
    int32_t half = width / 2;
    Coverage shape({-half, -half, width - half, width - half});
    mark_ellipse_region(shape, -half, -half, width, width, COVER_PEN);
    for (int32_t dy = -half; dy < width - half; ++dy) {
        int32_t x0 = shape.box().right, x1 = shape.box().left;
        for (int32_t dx = -half; dx < width - half; ++dx)
            if (shape.at(dx, dy) == COVER_PEN) {
                x0 = std::min(x0, dx);
                x1 = std::max(x1, dx + 1);
            }
        if (x0 < x1)
            rows_.push_back({dy, x0, x1});
    }
}

void PenDot::mark(Coverage& cover, POINT at) const {
    for (const Row& row : rows_)
        cover.mark(at.y + row.dy, at.x + row.x0, at.x + row.x1, COVER_PEN);
}

void raster_line(Surface* surface, const Clip* clip, POINT from, POINT to, uint32_t pixel, int rop2,
                 RECT* touched) {
    paint_cosmetic_line({surface, clip, pixel, rop2, touched}, from, to);
}

void raster_wide_line(Surface* surface, const Clip* clip, POINT from, POINT to, int32_t width,
                      uint32_t pixel, int rop2, RECT* touched) {
    Painter painter = {surface, clip, pixel, rop2, touched};
    if (width <= 1) {
        paint_cosmetic_line(painter, from, to);
        return;
    }
    RECT bounds = {std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                   std::max(from.y, to.y) + 1};
    Coverage cover(intersect_rects(widened(bounds, width), clip_extent(clip)));
    if (cover.empty())
        return;
    mark_wide_line(cover, from, to, width);
    cover.paint(painter, COVER_PEN);
}
