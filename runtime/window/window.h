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
