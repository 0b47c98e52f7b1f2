// The drawing target of a window: every drawing operation brackets its work
// between acquireDrawTarget and releaseDrawTarget. The window's drawing
// state lives in its WindowRecord; each outermost acquire installs it in a
// fresh device context and each outermost release reads it back, pushes the
// touched rectangle to the screen and throws the context away.
#pragma once

#include "runtime/window/window_record.h"

#include <windows.h>

#include <stdint.h>

// A context to draw into for `record`, or null when the record is closed.
// While the window's erase event is delivered it is the erase context; a
// nested acquire shares the outer context.
HDC acquireDrawTarget(WindowRecord* record);

// Ends one acquire. The outermost release reads the state back into the
// record and, with `flush` set and a backing bitmap, has the window repaint
// what was drawn before returning. Returns 0.
int32_t releaseDrawTarget(WindowRecord* record, HDC dc, int32_t flush);

// The bitmap's size in pixels; both 0 for a null handle or one the
// platform cannot describe. Returns 0.
int32_t getBackBitmapSize(HBITMAP bitmap, int32_t* width, int32_t* height);

// Left and top 0, width and height of the client area; all 0 when the
// record is closed. Returns 0.
int32_t getClientSize(WindowRecord* record, int32_t* left, int32_t* top, int32_t* width,
                      int32_t* height);

// Maps a rectangle of the backing bitmap (bw by bh) to the client area
// (cw by ch) it is shown scaled into: the rectangle grows by one pixel each
// way so that halftone spill at the edges is repainted too. Unchanged when
// the sizes agree or the bitmap has no size.
RECT mapBitmapToClient(RECT bounds, int32_t bw, int32_t bh, int32_t cw, int32_t ch);
