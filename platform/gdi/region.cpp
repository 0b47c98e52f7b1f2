#include "platform/gdi/region.h"

#include <algorithm>

namespace {

struct Span {
    LONG left;
    LONG right;
};

// Working storage of a combination, kept between calls so that combining
// regions allocates nothing once it has grown. Nothing in a combination
// calls out, so one set per thread is enough.
struct Scratch {
    std::vector<LONG> ys;
    std::vector<LONG> edges;
    std::vector<Span> first;
    std::vector<Span> second;
    std::vector<Span> spans;
    std::vector<RECT> rects;
};

Scratch& scratch() {
    thread_local Scratch storage;
    return storage;
}

// The horizontal spans of `region` across the band [top, bottom), which
// lies inside one band of the region or outside all of them.
void spans_in_band(const Region& region, LONG top, LONG bottom, std::vector<Span>* spans) {
    spans->clear();
    for (const RECT& r : region.rects) {
        if (r.top <= top && r.bottom >= bottom)
            spans->push_back({r.left, r.right});
    }
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
void combine_spans(Scratch& work, int mode) {
    std::vector<LONG>& edges = work.edges;
    edges.clear();
    for (const std::vector<Span>* list : {&work.first, &work.second}) {
        for (const Span& s : *list) {
            edges.push_back(s.left);
            edges.push_back(s.right);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<Span>& result = work.spans;
    result.clear();
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        if (!combine_point(inside(work.first, edges[i]), inside(work.second, edges[i]), mode))
            continue;
        if (!result.empty() && result.back().right == edges[i])
            result.back().right = edges[i + 1];
        else
            result.push_back({edges[i], edges[i + 1]});
    }
}

bool same_spans(const std::vector<RECT>& rects, size_t band_start, const std::vector<Span>& spans) {
    size_t count = rects.size() - band_start;
    if (count != spans.size())
        return false;
    for (size_t i = 0; i < count; ++i) {
        const RECT& r = rects[band_start + i];
        if (r.left != spans[i].left || r.right != spans[i].right)
            return false;
    }
    return true;
}

// Appends a band, or lengthens the previous band when it touches this one
// and has the same spans.
void append_band(std::vector<RECT>* rects, size_t* last_band, LONG top, LONG bottom,
                 const std::vector<Span>& spans) {
    if (spans.empty())
        return;
    bool extend = *last_band < rects->size() && (*rects)[*last_band].bottom == top &&
                  same_spans(*rects, *last_band, spans);
    if (extend) {
        for (size_t i = *last_band; i < rects->size(); ++i)
            (*rects)[i].bottom = bottom;
        return;
    }
    *last_band = rects->size();
    for (const Span& s : spans)
        rects->push_back({s.left, top, s.right, bottom});
}

// The combination band by band, into the scratch rectangles.
void combine_bands(const Region& first, const Region& second, int mode, Scratch& work) {
    std::vector<LONG>& ys = work.ys;
    ys.clear();
    for (const Region* region : {&first, &second}) {
        for (const RECT& r : region->rects) {
            ys.push_back(r.top);
            ys.push_back(r.bottom);
        }
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    work.rects.clear();
    size_t last_band = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        spans_in_band(first, ys[i], ys[i + 1], &work.first);
        spans_in_band(second, ys[i], ys[i + 1], &work.second);
        combine_spans(work, mode);
        append_band(&work.rects, &last_band, ys[i], ys[i + 1], work.spans);
    }
}

void set_rect(Region* region, RECT rect) {
    region->rects.clear();
    if (!rect_is_empty(rect))
        region->rects.push_back(rect);
}

// Combinations of at most one rectangle each whose result is at most one
// rectangle, the common case of clipping and invalidation, without the band
// walk. False when the general combination is needed.
bool combine_simple(const Region& first, const Region& second, int mode, Region* result) {
    if (first.rects.size() > 1 || second.rects.size() > 1)
        return false;
    RECT none{0, 0, 0, 0};
    const RECT& a = first.rects.empty() ? none : first.rects[0];
    const RECT& b = second.rects.empty() ? none : second.rects[0];
    bool a_empty = rect_is_empty(a), b_empty = rect_is_empty(b);
    switch (mode) {
    case RGN_AND:
        set_rect(result, rect_intersection(a, b));
        return true;
    case RGN_OR:
    case RGN_XOR:
        if (!a_empty && !b_empty)
            return false;
        set_rect(result, a_empty ? b : a);
        return true;
    case RGN_DIFF:
        if (!a_empty && !b_empty)
            return false;
        set_rect(result, a);
        return true;
    }
    return false;
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

void region_combine_into(Region* result, const Region& first, const Region& second, int mode) {
    if (mode == RGN_COPY) {
        result->rects = first.rects;
        return;
    }
    if (combine_simple(first, second, mode, result))
        return;
    Scratch& work = scratch();
    combine_bands(first, second, mode, work);
    result->rects.assign(work.rects.begin(), work.rects.end());
}

Region region_combine(const Region& first, const Region& second, int mode) {
    Region result;
    region_combine_into(&result, first, second, mode);
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
