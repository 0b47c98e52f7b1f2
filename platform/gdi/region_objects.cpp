// Region objects.
#include "platform/gdi/gdi_private.h"

Region* gdi_region(HRGN handle) {
    GdiEntry* entry = gdi_entry(handle, OBJ_REGION);
    return entry != nullptr ? entry->region : nullptr;
}

HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom) {
    GdiEntry* entry;
    HRGN handle = (HRGN)gdi_allocate(OBJ_REGION, &entry);
    if (handle == nullptr)
        return nullptr;
    entry->region = new Region(region_from_rect(rect_normalised(left, top, right, bottom)));
    return handle;
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* rect) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL WINAPI SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
    Region* region = gdi_region(handle);
    if (region == nullptr)
        return FALSE;
    *region = region_from_rect(rect_normalised(left, top, right, bottom));
    return TRUE;
}

int WINAPI CombineRgn(HRGN destination, HRGN first, HRGN second, int mode) {
    Region* target = gdi_region(destination);
    Region* a = gdi_region(first);
    if (target == nullptr || a == nullptr || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    if (mode == RGN_COPY) {
        *target = *a;
        return region_type(*target);
    }
    Region* b = gdi_region(second);
    if (b == nullptr)
        return ERROR;
    *target = region_combine(*a, *b, mode);
    return region_type(*target);
}

int WINAPI GetRgnBox(HRGN handle, LPRECT box) {
    Region* region = gdi_region(handle);
    if (region == nullptr || box == nullptr)
        return ERROR;
    *box = region_box(*region);
    return region_type(*region);
}

int WINAPI OffsetRgn(HRGN handle, int dx, int dy) {
    Region* region = gdi_region(handle);
    if (region == nullptr)
        return ERROR;
    region_offset(region, dx, dy);
    return region_type(*region);
}

BOOL WINAPI PtInRegion(HRGN handle, int x, int y) {
    Region* region = gdi_region(handle);
    return region != nullptr && region_contains(*region, x, y);
}

BOOL WINAPI RectInRegion(HRGN handle, const RECT* rect) {
    Region* region = gdi_region(handle);
    if (region == nullptr || rect == nullptr)
        return FALSE;
    RECT r = rect_normalised(rect->left, rect->top, rect->right, rect->bottom);
    return region_overlaps(*region, r);
}

BOOL WINAPI EqualRgn(HRGN first, HRGN second) {
    Region* a = gdi_region(first);
    Region* b = gdi_region(second);
    if (a == nullptr || b == nullptr)
        return (BOOL)ERROR;
    if (a->rects.size() != b->rects.size())
        return FALSE;
    for (size_t i = 0; i < a->rects.size(); ++i) {
        const RECT& x = a->rects[i];
        const RECT& y = b->rects[i];
        if (x.left != y.left || x.top != y.top || x.right != y.right || x.bottom != y.bottom)
            return FALSE;
    }
    return TRUE;
}
