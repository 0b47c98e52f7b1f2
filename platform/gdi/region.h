// Regions as sorted bands of rectangles: rectangles ordered by top, then
// left; those of one band share top and bottom; no two overlap or touch
// side by side within a band; and two bands that touch differ in their
// rectangles. That form is unique, so equal regions have equal lists.
#pragma once

#include <windows.h>

#include <vector>

struct Region {
    std::vector<RECT> rects;
};

Region region_from_rect(const RECT& rect);
Region region_combine(const Region& first, const Region& second, int mode);
// The same into `result`, which may be either input, reusing its storage.
void region_combine_into(Region* result, const Region& first, const Region& second, int mode);
RECT region_box(const Region& region);
int region_type(const Region& region);
void region_offset(Region* region, int dx, int dy);
bool region_contains(const Region& region, int x, int y);
bool region_overlaps(const Region& region, const RECT& rect);

// The region an HRGN holds, for the parts of the layer that keep regions of
// their own (update regions); null, with ERROR_INVALID_HANDLE, when the
// handle is not a live region. Valid until the region object is deleted.
Region* gdi_region(HRGN handle);

inline bool rect_is_empty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}
// The smallest rectangle holding both; an empty one adds nothing.
RECT rect_union(const RECT& a, const RECT& b);
RECT rect_intersection(const RECT& a, const RECT& b);
RECT rect_normalised(int left, int top, int right, int bottom);
