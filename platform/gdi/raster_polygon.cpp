// Polylines and polygons: paths of several points, open or closed and
// filled.
#include "platform/gdi/raster.h"

#include "platform/gdi/raster_spans.h"

#include <algorithm>
#include <vector>

namespace {

int64_t ceil_div(int64_t num, int64_t den) {
    int64_t q = num / den;
    return (num % den != 0 && (num > 0) == (den > 0)) ? q + 1 : q;
}

// Where an edge crosses a row: the first pixel at or right of the crossing,
// and +1 or -1 for an edge going down or up, for the winding count.
struct Crossing {
    int64_t x;
    int direction;
    bool operator<(const Crossing& other) const { return x < other.x; }
};

// The spans [x0, x1) of row y inside the polygon, passed to `fn`. An edge
// counts on the rows from its upper end down to, not including, its lower
// end, so that the bottom edge stays outside.
template <typename Fn>
void for_each_inside_span(const POINT* points, int count, bool winding, int32_t y, Fn fn) {
    thread_local std::vector<Crossing> crossings;
    crossings.clear();
    for (int i = 0; i < count; ++i) {
        POINT a = points[i], b = points[(i + 1) % count];
        int direction = a.y < b.y ? 1 : -1;
        if (a.y > b.y)
            std::swap(a, b);
        if (y < a.y || y >= b.y)
            continue;
        int64_t dx = (int64_t)b.x - a.x, dy = (int64_t)b.y - a.y;
        crossings.push_back({a.x + ceil_div(dx * ((int64_t)y - a.y), dy), direction});
    }
    std::sort(crossings.begin(), crossings.end());
    int inside = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
        inside = winding ? inside + crossings[i].direction : inside ^ 1;
        if (inside != 0 && crossings[i].x < crossings[i + 1].x)
            fn(crossings[i].x, crossings[i + 1].x);
    }
}

// The rows the polygon covers, cut to `limit`.
void row_range(const POINT* points, int count, const RECT& limit, int32_t* top, int32_t* bottom) {
    int32_t lo = points[0].y, hi = points[0].y;
    for (int i = 1; i < count; ++i) {
        lo = std::min(lo, points[i].y);
        hi = std::max(hi, points[i].y);
    }
    *top = std::max(lo, limit.top);
    *bottom = std::min(hi, limit.bottom);
}

int32_t clamp_to(int64_t v, int32_t lo, int32_t hi) {
    return (int32_t)std::min<int64_t>(std::max<int64_t>(v, lo), hi);
}

void paint_inside(const Painter& painter, const POINT* points, int count, bool winding) {
    RECT limit = clip_extent(painter.clip);
    int32_t top, bottom;
    row_range(points, count, limit, &top, &bottom);
    for (int32_t y = top; y < bottom; ++y) {
        for_each_inside_span(points, count, winding, y, [&](int64_t x0, int64_t x1) {
            paint_span(painter, y, clamp_to(x0, limit.left, limit.right),
                       clamp_to(x1, limit.left, limit.right));
        });
    }
}

void mark_inside(Coverage& cover, const POINT* points, int count, bool winding) {
    const RECT& limit = cover.box();
    int32_t top, bottom;
    row_range(points, count, limit, &top, &bottom);
    for (int32_t y = top; y < bottom; ++y) {
        for_each_inside_span(points, count, winding, y, [&](int64_t x0, int64_t x1) {
            cover.mark(y, clamp_to(x0, limit.left, limit.right),
                       clamp_to(x1, limit.left, limit.right), COVER_BRUSH);
        });
    }
}

RECT path_box(const POINT* points, int count) {
    RECT box = {points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (int i = 1; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.right = std::max(box.right, points[i].x + 1);
        box.bottom = std::max(box.bottom, points[i].y + 1);
    }
    return box;
}

// A wide pen's path: its round dot at every point, wide segments between
// them, and back to the first point when `closed`.
void mark_wide_path(Coverage& cover, const POINT* points, int count, int32_t width, bool closed) {
    PenDot dot(width);
    for (int i = 0; i < count; ++i) {
        dot.mark(cover, points[i]);
        if (i + 1 < count || closed)
            mark_wide_segment(cover, points[i], points[(i + 1) % count], width);
    }
}

void paint_thin_path(const Painter& painter, const POINT* points, int count, bool closed) {
    for (int i = 0; i + 1 < count; ++i)
        paint_cosmetic_line(painter, points[i], points[i + 1]);
    if (closed && count > 1)
        paint_cosmetic_line(painter, points[count - 1], points[0]);
}

} // namespace

void raster_polyline(Surface* surface, const Clip* clip, const POINT* points, int count,
                     int32_t width, uint32_t pixel, int rop2, RECT* touched) {
    Painter painter = {surface, clip, pixel, rop2, touched};
    if (count < 2)
        return;
    if (width <= 1) {
        paint_thin_path(painter, points, count, false);
        return;
    }
    Coverage cover(intersect_rects(widened(path_box(points, count), width), clip_extent(clip)));
    if (cover.empty())
        return;
    mark_wide_path(cover, points, count, width, false);
    cover.paint(painter, COVER_PEN);
}

// The brush is mixed first and a thin outline over it; a wide outline and
// the brush share no pixel.
void raster_polygon(Surface* surface, const Clip* clip, const POINT* points, int count,
                    bool winding, const PenSpec& pen, const BrushSpec& brush, int rop2,
                    RECT* touched) {
    if (count < 2)
        return;
    Painter painter = {surface, clip, pen.pixel, rop2, touched};
    if (pen.visible && pen.width > 1) {
        RECT box = intersect_rects(widened(path_box(points, count), pen.width), clip_extent(clip));
        Coverage cover(box);
        if (cover.empty())
            return;
        mark_wide_path(cover, points, count, pen.width, true);
        if (brush.visible)
            mark_inside(cover, points, count, winding);
        Painter inside = painter;
        inside.pixel = brush.pixel;
        if (brush.visible)
            cover.paint(inside, COVER_BRUSH);
        cover.paint(painter, COVER_PEN);
        return;
    }
    if (brush.visible) {
        Painter inside = painter;
        inside.pixel = brush.pixel;
        paint_inside(inside, points, count, winding);
    }
    if (pen.visible)
        paint_thin_path(painter, points, count, true);
}
