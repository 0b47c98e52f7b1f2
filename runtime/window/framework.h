// The window framework's inner workings: its window procedure and the
// handlers it hands messages to, and its process-wide state. Only the
// framework, the runtime's state reset and their tests include this; a
// program has window.h.
#pragma once

#include "runtime/window/window_record.h"

#include <windows.h>

#include <stdint.h>

// Fills the box from (x, y), width by height, with `colour` by an opaque
// empty text output; the context's background colour stays `colour`.
int32_t fillRect(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour);

// The record attached to a window of the framework's classes; null for
// other windows, for windows not yet attached and for no window.
WindowRecord* windowRecordOf(HWND window);

// The procedure of both framework classes.
LRESULT CALLBACK frameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Translates one message into an event, publishes it in the event state and
// calls the record's handler; returns its result, 0 without a handler. The
// event state (menuId apart) is restored before it returns.
int32_t dispatchEvent(WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam);

// Fits an MDI frame's client window between its tool bars and status bars.
// Returns 1 when it found one and moved the client window, else 0.
int32_t layoutFrame(HWND frame, HWND mdiClient);

// WM_ERASEBKGND: fills the erase context's clip box with the window colour
// and delivers EVENT_ERASE with drawing redirected to that context.
LRESULT eraseBackground(HWND hwnd, HDC dc, LPARAM lParam);

// WM_PAINT: copies the invalid area from the backing bitmap, scaled in
// stretch mode; a window without backing bitmap gets event 15 instead.
LRESULT paintWindow(HWND hwnd, WPARAM wParam, LPARAM lParam);

// True when the window's parent is the MDI client of a framework frame, so
// that the window is an MDI child.
bool parentIsMdiClient(HWND window);

// Process-wide state of the window framework, zero at start.
extern ATOM wndClassAtom;            // "OrvaneWndClass", once registered
extern ATOM frameClassAtom;          // "OrvaneFrameClass", once registered
extern ATOM mdiClientAtom;           // "MDICLIENT", or 0xFFFF when no MDI frame was made
extern WindowRecord* creatingRecord; // the record whose window is being created

// Puts the state above and the event state back to their values at load,
// unregistering the framework's classes so that the next openWindow
// registers them afresh. A class that still has windows stays registered.
void resetFrameworkState();
