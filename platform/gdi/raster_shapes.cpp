// Rectangle, Ellipse and RoundRect: outline with a pen, inside with a brush,
// both in the device context's mix mode.
#include "platform/gdi/raster.h"

#include "platform/gdi/raster_spans.h"

#include <algorithm>
#include <assert.h>
#include <cstdlib>
#include <vector>

namespace {

// The outline's error terms grow with the cube of the box's size and must
// stay within 64 bits.
constexpr int32_t MAX_ELLIPSE_SIZE = 1 << 19;

// Such boxes lie far outside any surface; they are left out, and the first
// one is reported on the debug channel.
void report_oversized_ellipse() {
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    OutputDebugStringA("raster: ellipses over 524288 pixels wide or high are not drawn\n");
}

RECT normalised(RECT r) {
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

// On a narrow ellipse the curve reaches the middle column before the bottom
// row; the rest of the outline runs straight down the middle.
void complete_tip(std::vector<POINT>& points, int32_t w, int32_t h) {
    for (int32_t y = points.back().y + 1; y < h; ++y)
        points.push_back({w / 2, y});
}

// The outline of the ellipse inscribed in a w by h box, as a list of its
// lower right quarter's pixels relative to the box, from the right end of
// the middle row down to the bottom row. The other quarters are mirror
// images. The error terms follow the exact ellipse through the centres of
// the box's outermost pixels, so the curve touches all four sides.
//
// The result lives in a buffer that the next call reuses, so that drawing
// allocates nothing once the buffers have grown; the same holds for
// quarter_rows and outline_path.
const std::vector<POINT>& quarter_outline(int32_t w, int32_t h) {
    assert(w <= MAX_ELLIPSE_SIZE && h <= MAX_ELLIPSE_SIZE && "ellipse too large");
    const int64_t a = w - 1, b = h - 1;
    const int64_t a_step = 8 * a * a, b_step = 8 * b * b;
    int64_t dx = 4 * b * b * (1 - a);
    int64_t dy = 4 * a * a * (1 + b % 2);
    int64_t err = dx + dy + a * a * (b % 2);
    thread_local std::vector<POINT> points;
    points.clear();
    POINT p = {(int32_t)a, h / 2};
    while (p.x >= w / 2) {
        int64_t twice = 2 * err;
        points.push_back(p);
        if (twice >= dx) {
            --p.x;
            dx += b_step;
            err += dx;
        }
        if (twice <= dy) {
            ++p.y;
            dy += a_step;
            err += dy;
        }
    }
    complete_tip(points, w, h);
    return points;
}

// The outline's pixels on one row of the lower right quarter, [first, last]
// from the box's left side.
struct QuarterRow {
    int32_t first;
    int32_t last;
};

// The quarter's rows from the middle row down. The curve moves at most one
// row per point, so every row has pixels.
const std::vector<QuarterRow>& quarter_rows(int32_t w, int32_t h) {
    thread_local std::vector<QuarterRow> rows;
    rows.clear();
    for (const POINT& p : quarter_outline(w, h)) {
        size_t i = (size_t)(p.y - h / 2);
        if (i == rows.size()) {
            rows.push_back({p.x, p.x});
            continue;
        }
        rows[i].first = std::min(rows[i].first, p.x);
        rows[i].last = std::max(rows[i].last, p.x);
    }
    return rows;
}

// A round rectangle is an ellipse the size of its corners, cut into quarters
// that are pulled apart to the corners of its box: the right quarters move
// `dx` pixels right and the lower ones `dy` pixels down, and straight edges
// fill the gaps. A plain ellipse has no stretch.
struct Stretch {
    int32_t dx;
    int32_t dy;
};

// Calls fn(y, row) for every row of the (stretched) ellipse whose corners'
// ellipse lies in `box`, each row once. The middle row of an odd height is
// its own mirror image; it appears at both ends of a stretched one. The rows
// between the quarters hold only the straight sides, which read as the
// middle row's outermost pixel.
template <typename Fn> void for_each_ellipse_row(const RECT& box, Stretch stretch, Fn fn) {
    int32_t w = box.right - box.left, h = box.bottom - box.top;
    const std::vector<QuarterRow>& rows = quarter_rows(w, h);
    for (size_t i = 0; i < rows.size(); ++i) {
        int32_t lower = h / 2 + (int32_t)i, upper = h - 1 - lower;
        fn(box.top + lower + stretch.dy, rows[i]);
        if (upper != lower || stretch.dy > 0)
            fn(box.top + upper, rows[i]);
    }
    for (int32_t y = box.top + (h - 1) / 2 + 1; y < box.top + h / 2 + stretch.dy; ++y)
        fn(y, QuarterRow{w - 1, w - 1});
}

// The filled ellipse's pixels on a row: [x0, x1).
void region_span(const RECT& box, Stretch stretch, const QuarterRow& row, int32_t* x0,
                 int32_t* x1) {
    int32_t w = box.right - box.left;
    *x0 = box.left + w - 1 - row.last;
    *x1 = box.left + row.last + 1 + stretch.dx;
}

// The whole outline in drawing order, once round: the quarters mirrored into
// a closed path, without repeated points.
const std::vector<POINT>& outline_path(const RECT& box, Stretch stretch) {
    int32_t w = box.right - box.left, h = box.bottom - box.top;
    const std::vector<POINT>& quarter = quarter_outline(w, h);
    const int32_t a = w - 1, b = h - 1;
    thread_local std::vector<POINT> path;
    path.clear();
    // Each quarter moves as a whole, its tips included, so the path's step
    // from one quarter to the next is a straight side.
    auto add = [&](int32_t x, int32_t y, bool right, bool lower) {
        POINT p = {box.left + x + (right ? stretch.dx : 0), box.top + y + (lower ? stretch.dy : 0)};
        if (path.empty() || path.back().x != p.x || path.back().y != p.y)
            path.push_back(p);
    };
    for (auto it = quarter.begin(); it != quarter.end(); ++it)
        add(it->x, it->y, true, true);
    for (auto it = quarter.rbegin(); it != quarter.rend(); ++it)
        add(a - it->x, it->y, false, true);
    for (auto it = quarter.begin(); it != quarter.end(); ++it)
        add(a - it->x, b - it->y, false, false);
    for (auto it = quarter.rbegin(); it != quarter.rend(); ++it)
        add(it->x, b - it->y, true, false);
    if (path.size() > 1 && path.front().x == path.back().x && path.front().y == path.back().y)
        path.pop_back();
    return path;
}

// The one-pixel outline: the right quarter's run and its mirror image on
// each row, as one span where they meet, so that no pixel is mixed twice.
void paint_thin_outline(const Painter& painter, const RECT& box, Stretch stretch) {
    int32_t w = box.right - box.left;
    for_each_ellipse_row(box, stretch, [&](int32_t y, const QuarterRow& row) {
        int32_t right0 = box.left + row.first, right1 = box.left + row.last + 1;
        int32_t left0 = box.left + w - 1 - row.last, left1 = box.left + w - row.first;
        if (left1 >= right0) {
            paint_span(painter, y, left0, right1 + stretch.dx);
            return;
        }
        paint_span(painter, y, left0, left1);
        paint_span(painter, y, right0 + stretch.dx, right1 + stretch.dx);
    });
}

void paint_ellipse_region(const Painter& painter, const RECT& box, Stretch stretch) {
    for_each_ellipse_row(box, stretch, [&](int32_t y, const QuarterRow& row) {
        int32_t x0, x1;
        region_span(box, stretch, row, &x0, &x1);
        paint_span(painter, y, x0, x1);
    });
}

void mark_region(Coverage& cover, const RECT& box, Stretch stretch, CoverageValue value) {
    for_each_ellipse_row(box, stretch, [&](int32_t y, const QuarterRow& row) {
        int32_t x0, x1;
        region_span(box, stretch, row, &x0, &x1);
        cover.mark(y, x0, x1, value);
    });
}

// A wide pen's outline: its round dot at every point of the path, joined by
// wide segments.
void mark_wide_outline(Coverage& cover, const RECT& box, Stretch stretch, int32_t width) {
    const std::vector<POINT>& path = outline_path(box, stretch);
    PenDot dot(width);
    for (size_t i = 0; i < path.size(); ++i) {
        dot.mark(cover, path[i]);
        mark_wide_segment(cover, path[i], path[(i + 1) % path.size()], width);
    }
}

void paint_cover(const Coverage& cover, const PenSpec& pen, const BrushSpec& brush,
                 const Painter& base) {
    if (brush.visible) {
        Painter painter = base;
        painter.pixel = brush.pixel;
        cover.paint(painter, COVER_BRUSH);
    }
    Painter painter = base;
    painter.pixel = pen.pixel;
    cover.paint(painter, COVER_PEN);
}

// The path of a rectangle's outline: the box's outermost pixels, clockwise.
void rectangle_corners(const RECT& box, POINT corners[4]) {
    corners[0] = {box.left, box.top};
    corners[1] = {box.right - 1, box.top};
    corners[2] = {box.right - 1, box.bottom - 1};
    corners[3] = {box.left, box.bottom - 1};
}

// A thin pen draws the outline as four cosmetic lines along the path, so on
// a box one pixel wide or high the lines there and back mix the same pixels
// twice, as in GDI.
void thin_rectangle_outline(const Painter& painter, const RECT& box) {
    POINT corners[4];
    rectangle_corners(box, corners);
    for (int i = 0; i < 4; ++i)
        paint_cosmetic_line(painter, corners[i], corners[(i + 1) % 4]);
}

// A wide pen is centred on the same path as the thin one, with round joins.
void wide_rectangle(const Painter& base, const RECT& box, const PenSpec& pen,
                    const BrushSpec& brush) {
    Coverage cover(intersect_rects(widened(box, pen.width), clip_extent(base.clip)));
    if (cover.empty())
        return;
    POINT corners[4];
    rectangle_corners(box, corners);
    PenDot dot(pen.width);
    for (int i = 0; i < 4; ++i) {
        dot.mark(cover, corners[i]);
        mark_wide_segment(cover, corners[i], corners[(i + 1) % 4], pen.width);
    }
    if (brush.visible)
        cover.mark_rect({box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, COVER_BRUSH);
    paint_cover(cover, pen, brush, base);
}

void fill_with_brush(const Painter& base, const BrushSpec& brush, const RECT& r) {
    if (!brush.visible)
        return;
    Painter painter = base;
    painter.pixel = brush.pixel;
    RECT clipped = intersect_rects(r, clip_extent(base.clip));
    for (int32_t y = clipped.top; y < clipped.bottom; ++y)
        paint_span(painter, y, clipped.left, clipped.right);
}

} // namespace

void mark_ellipse_region(Coverage& cover, int32_t left, int32_t top, int32_t w, int32_t h,
                         CoverageValue value) {
    if (w > 0 && h > 0)
        mark_region(cover, {left, top, left + w, top + h}, {0, 0}, value);
}

void raster_rectangle(Surface* surface, const Clip* clip, RECT box, const PenSpec& pen,
                      const BrushSpec& brush, int rop2, RECT* touched) {
    box = normalised(box);
    if (box.left == box.right || box.top == box.bottom)
        return;
    Painter painter = {surface, clip, pen.pixel, rop2, touched};
    if (!pen.visible) {
        fill_with_brush(painter, brush, {box.left, box.top, box.right - 1, box.bottom - 1});
        return;
    }
    if (pen.width > 1) {
        wide_rectangle(painter, box, pen, brush);
        return;
    }
    fill_with_brush(painter, brush, {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1});
    thin_rectangle_outline(painter, box);
}

namespace {

// The brush covers the whole shape; a thin outline is then mixed over its
// edge, while a wide pen's outline and the brush share no pixel. `corners`
// is the ellipse at the box's top left corner, `box` the whole shape.
void draw_rounded(const Painter& painter, const RECT& box, const RECT& corners, const PenSpec& pen,
                  const BrushSpec& brush) {
    Stretch stretch = {box.right - corners.right, box.bottom - corners.bottom};
    if (pen.visible && pen.width > 1) {
        Coverage cover(intersect_rects(widened(box, pen.width), clip_extent(painter.clip)));
        mark_wide_outline(cover, corners, stretch, pen.width);
        if (brush.visible)
            mark_region(cover, corners, stretch, COVER_BRUSH);
        paint_cover(cover, pen, brush, painter);
        return;
    }
    if (brush.visible) {
        Painter inside = painter;
        inside.pixel = brush.pixel;
        paint_ellipse_region(inside, corners, stretch);
    }
    if (pen.visible)
        paint_thin_outline(painter, corners, stretch);
}

bool oversized(int32_t w, int32_t h) {
    if (w <= MAX_ELLIPSE_SIZE && h <= MAX_ELLIPSE_SIZE)
        return false;
    report_oversized_ellipse();
    return true;
}

} // namespace

void raster_ellipse(Surface* surface, const Clip* clip, RECT box, const PenSpec& pen,
                    const BrushSpec& brush, int rop2, RECT* touched) {
    box = normalised(box);
    int32_t w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 2 || h <= 2) {
        raster_rectangle(surface, clip, box, pen, brush, rop2, touched);
        return;
    }
    if (oversized(w, h))
        return;
    Painter painter = {surface, clip, pen.pixel, rop2, touched};
    draw_rounded(painter, box, box, pen, brush);
}

void raster_round_rect(Surface* surface, const Clip* clip, RECT box, int32_t corner_width,
                       int32_t corner_height, const PenSpec& pen, const BrushSpec& brush, int rop2,
                       RECT* touched) {
    box = normalised(box);
    int32_t w = box.right - box.left, h = box.bottom - box.top;
    int32_t cw = (int32_t)std::min<int64_t>(w, std::abs((int64_t)corner_width));
    int32_t ch = (int32_t)std::min<int64_t>(h, std::abs((int64_t)corner_height));
    if (cw <= 2 || ch <= 2) {
        raster_rectangle(surface, clip, box, pen, brush, rop2, touched);
        return;
    }
    if (oversized(w, h))
        return;
    Painter painter = {surface, clip, pen.pixel, rop2, touched};
    draw_rounded(painter, box, {box.left, box.top, box.left + cw, box.top + ch}, pen, brush);
}
