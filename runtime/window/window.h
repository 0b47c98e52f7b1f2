// The window framework: opening windows on caller-owned records, the window
// procedure that turns messages into events for a record's handler, painting
// from the backing bitmap, menus and closing.
#pragma once

#include "runtime/window/event_state.h"
#include "runtime/window/window_record.h"

#include <windows.h>

#include <stdint.h>

// Opens a window on `record` with its outer rectangle at (x, y), width by
// height. `flags` is a window style with the OW_* bits of the framework;
// `parent` is another open record or null. Returns 1 when the window
// exists, 0 when it could not be created.
int32_t openWindow(WindowRecord* record, int32_t x, int32_t y, int32_t width, int32_t height,
                   uint32_t flags, WindowRecord* parent, const char* caption, HandlerProc handler);

// Moves the window to the middle of its parent, its visible owner or the
// work area, kept inside the parent's client area or the work area.
int32_t centerWindow(WindowRecord* record);

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

// A new empty menu: a popup menu when `popup` is nonzero.
HMENU newMenu(int32_t popup);
// Appends an item (MF_STRING, MF_POPUP with a submenu handle as id, or
// MF_SEPARATOR) to `menu`; nothing for menu 0.
int32_t appendMenuItem(HMENU menu, const char* text, uint32_t flags, UINT_PTR id);
// Makes `menu` the window's menu bar and destroys the bar it replaces.
int32_t setMenuBar(WindowRecord* record, HMENU menu);

// Destroys the window and the record's drawing objects; the record is
// closed afterwards. Nothing for a closed record.
int32_t closeWindow(WindowRecord* record);

// True when the window's parent is the MDI client of a framework frame, so
// that the window is an MDI child.
bool parentIsMdiClient(HWND window);
