// Contexts that draw on a window's pixels rather than on a bitmap: the user
// part of the layer makes them for GetDC, BeginPaint and its own drawing of
// frames and menus, and tells them where the window's pixels are.
#pragma once

#include "platform/gdi/surface.h"

#include <windows.h>

#include <vector>

struct WindowSurfaceSource {
    void* owner;
    // The window's pixels as the context sees them, its origin (a client
    // area's or a window's top-left corner) at (0, 0) of `surface`, and
    // where on them the context may draw: disjoint rectangles in banded
    // order, in the context's coordinates. False when there are no pixels.
    bool (*view)(void* owner, Surface* surface, std::vector<RECT>* visible);
    // Called with every rectangle drawn, in the context's coordinates, so
    // that the window can be shown again there.
    void (*drawn)(void* owner, const RECT& rect);
    // The screen's own context (GetDC of no window): it has no pixels to draw
    // on, yet clips and measures as the whole screen does.
    bool screen;
};

// A window context with Windows' defaults (black pen, white brush, System
// font, opaque white background, black text). DeleteDC releases it.
HDC gdi_create_window_dc(const WindowSurfaceSource& source);
