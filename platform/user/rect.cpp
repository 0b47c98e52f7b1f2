// Rectangle helpers, with Windows' conventions: right and bottom excluded,
// empty when either size is zero or negative.
#include "platform/user/user_private.h"

#include <algorithm>

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (rect == nullptr)
        return FALSE;
    *rect = {left, top, right, bottom};
    return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT rect) {
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL WINAPI CopyRect(LPRECT to, const RECT* from) {
    if (to == nullptr || from == nullptr)
        return FALSE;
    *to = *from;
    return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT* rect) {
    return rect == nullptr || rect->left >= rect->right || rect->top >= rect->bottom;
}

BOOL WINAPI PtInRect(const RECT* rect, POINT p) {
    return rect != nullptr && p.x >= rect->left && p.x < rect->right && p.y >= rect->top &&
           p.y < rect->bottom;
}

BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr)
        return FALSE;
    *rect = {rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}

BOOL WINAPI InflateRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr)
        return FALSE;
    *rect = {rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}

// An empty intersection is (0, 0, 0, 0) and returns FALSE.
BOOL WINAPI IntersectRect(LPRECT out, const RECT* a, const RECT* b) {
    if (out == nullptr || a == nullptr || b == nullptr)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(out);
        return FALSE;
    }
    *out = r;
    return TRUE;
}

BOOL WINAPI UnionRect(LPRECT out, const RECT* a, const RECT* b) {
    if (out == nullptr || a == nullptr || b == nullptr)
        return FALSE;
    if (IsRectEmpty(a) && IsRectEmpty(b)) {
        SetRectEmpty(out);
        return FALSE;
    }
    *out = IsRectEmpty(a)   ? *b
           : IsRectEmpty(b) ? *a
                            : RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                                   std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    return TRUE;
}

BOOL WINAPI EqualRect(const RECT* a, const RECT* b) {
    return a != nullptr && b != nullptr && a->left == b->left && a->top == b->top &&
           a->right == b->right && a->bottom == b->bottom;
}

// A one-pixel border inside the rectangle.
int WINAPI FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (rect == nullptr || IsRectEmpty(rect))
        return 0;
    RECT edges[4] = {{rect->left, rect->top, rect->right, rect->top + 1},
                     {rect->left, rect->bottom - 1, rect->right, rect->bottom},
                     {rect->left, rect->top, rect->left + 1, rect->bottom},
                     {rect->right - 1, rect->top, rect->right, rect->bottom}};
    for (const RECT& edge : edges)
        FillRect(dc, &edge, brush);
    return 1;
}
