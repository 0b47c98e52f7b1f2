#include "platform/gdi/region.h"

#include <algorithm>

namespace {

struct Span {
    LONG left;
    LONG right;
};

// The horizontal spans of `region` across the band [top, bottom), which
// lies inside one band of the region or outside all of them.
std::vector<Span> spans_in_band(const Region& region, LONG top, LONG bottom) {
    std::vector<Span> spans;
    for (const RECT& r : region.rects) {
        if (r.top <= top && r.bottom >= bottom)
            spans.push_back({r.left, r.right});
    }
    return spans;
}

bool inside(const std::vector<Span>& spans, LONG x) {
    for (const Span& s : spans) {
        if (x >= s.left && x < s.right)
            return true;
    }
    return false;
}

bool combine_point(bool in_first, bool in_second, int mode) {
    switch (mode) {
    case RGN_AND:
        return in_first && in_second;
    case RGN_OR:
        return in_first || in_second;
    case RGN_XOR:
        return in_first != in_second;
    case RGN_DIFF:
        return in_first && !in_second;
    }
    return in_first;
}

// The spans of the combination, found by testing each piece between two
// consecutive edges of either input.
std::vector<Span> combine_spans(const std::vector<Span>& a, const std::vector<Span>& b, int mode) {
    std::vector<LONG> edges;
    for (const std::vector<Span>* list : {&a, &b}) {
        for (const Span& s : *list) {
            edges.push_back(s.left);
            edges.push_back(s.right);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<Span> result;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        if (!combine_point(inside(a, edges[i]), inside(b, edges[i]), mode))
            continue;
        if (!result.empty() && result.back().right == edges[i])
            result.back().right = edges[i + 1];
        else
            result.push_back({edges[i], edges[i + 1]});
    }
    return result;
}

bool same_spans(const Region& region, size_t band_start, const std::vector<Span>& spans) {
    size_t count = region.rects.size() - band_start;
    if (count != spans.size())
        return false;
    for (size_t i = 0; i < count; ++i) {
        const RECT& r = region.rects[band_start + i];
        if (r.left != spans[i].left || r.right != spans[i].right)
            return false;
    }
    return true;
}

// Appends a band, or lengthens the previous band when it touches this one
// and has the same spans.
void append_band(Region* region, size_t* last_band, LONG top, LONG bottom,
                 const std::vector<Span>& spans) {
    if (spans.empty())
        return;
    bool extend = *last_band < region->rects.size() && region->rects[*last_band].bottom == top &&
                  same_spans(*region, *last_band, spans);
    if (extend) {
        for (size_t i = *last_band; i < region->rects.size(); ++i)
            region->rects[i].bottom = bottom;
        return;
    }
    *last_band = region->rects.size();
    for (const Span& s : spans)
        region->rects.push_back({s.left, top, s.right, bottom});
}

} // namespace

RECT rect_normalised(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

RECT rect_union(const RECT& a, const RECT& b) {
    if (rect_is_empty(a))
        return b;
    if (rect_is_empty(b))
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

RECT rect_intersection(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return rect_is_empty(r) ? RECT{0, 0, 0, 0} : r;
}

Region region_from_rect(const RECT& rect) {
    Region region;
    if (!rect_is_empty(rect))
        region.rects.push_back(rect);
    return region;
}

Region region_combine(const Region& first, const Region& second, int mode) {
    if (mode == RGN_COPY)
        return first;
    std::vector<LONG> ys;
    for (const Region* region : {&first, &second}) {
        for (const RECT& r : region->rects) {
            ys.push_back(r.top);
            ys.push_back(r.bottom);
        }
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    Region result;
    size_t last_band = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        std::vector<Span> spans = combine_spans(spans_in_band(first, ys[i], ys[i + 1]),
                                                spans_in_band(second, ys[i], ys[i + 1]), mode);
        append_band(&result, &last_band, ys[i], ys[i + 1], spans);
    }
    return result;
}

RECT region_box(const Region& region) {
    RECT box{0, 0, 0, 0};
    for (const RECT& r : region.rects)
        box = rect_union(box, r);
    return box;
}

int region_type(const Region& region) {
    if (region.rects.empty())
        return NULLREGION;
    return region.rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void region_offset(Region* region, int dx, int dy) {
    for (RECT& r : region->rects) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
}

bool region_contains(const Region& region, int x, int y) {
    for (const RECT& r : region.rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    }
    return false;
}

bool region_overlaps(const Region& region, const RECT& rect) {
    for (const RECT& r : region.rects) {
        if (!rect_is_empty(rect_intersection(r, rect)))
            return true;
    }
    return false;
}
