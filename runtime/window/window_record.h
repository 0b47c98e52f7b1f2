// The caller-owned record of one open window and the flags of openWindow.
#pragma once

#include <windows.h>

#include <stdint.h>

// A window's event handler: no arguments, everything is in EventState;
// nonzero means the event was handled.
typedef int32_t (*HandlerProc)(void);

// Hooks of a component hosted in a window. No window of this program has
// one; the wait loop and closeWindow still honour them.
struct ComponentHooks {
    void (*onClose)(HWND window);
    int32_t (*keyFilter)(HWND window, MSG* message);
    void (*onResize)(HWND window, int32_t width, int32_t height);
    uintptr_t userData;
    void (*onRelease)(HWND window, uintptr_t userData);
};

struct WindowRecord {
    HWND hwnd;                 // the window; null when the record is not open
    HBITMAP backBitmap;        // the backing bitmap, when backingMode is nonzero
    HFONT font;                // the drawing font, re-created on every release
    HPEN pen;                  // the drawing pen; its colour is the foreground colour
    HWND mdiClient;            // the MDI client of an MDI frame, else null
    POINT curPos;              // the current drawing position
    int32_t bkMode;            // text background mode: OPAQUE (2) or TRANSPARENT (1)
    int32_t drawMode;          // mix mode, R2_COPYPEN (13) at open
    int32_t penStyle;          // style of the pens that shapes create: 0 (solid)
    int32_t penWidth;          // width of those pens: 1
    uint32_t bkColor;          // text background colour
    uint32_t windowColor;      // the window's background colour
    uint32_t backingMode;      // 0: no backing bitmap; nonzero: one; 0x10: shown scaled
    int32_t dialogNavigation;  // nonzero: the wait loop passes keys through dialog navigation
    HCURSOR cursor;            // shown over the client area
    HDC paintDC;               // set only while EVENT_ERASE is delivered
    HDC drawDC;                // the context of the outermost acquire; null when none
    int32_t drawNesting;       // acquires not yet released
    HandlerProc handler;       // receives the window's events; may be null
    ComponentHooks* hookTable; // owned; freed by closeWindow
};

// Framework bits of openWindow's flags word, taken off before it is used
// as the window style.
constexpr uint32_t OW_NOBACKING = 0x10;
constexpr uint32_t OW_MDIFRAME = 0x20;
constexpr uint32_t OW_NOCAPTION = 0x40;
constexpr uint32_t OW_BACKING_WINDOWSIZE = 0x80;
constexpr uint32_t OW_STRETCH = 0x100;
constexpr uint32_t OW_TOOLWINDOW = 0x200;
constexpr uint32_t OW_TOPMOST = 0x400;
constexpr uint32_t OW_FRAMEWORK_BITS = 0x7F0;

// Bit 0x10 of backingMode: the bitmap is shown scaled to the client area.
constexpr uint32_t BACKING_STRETCH = 0x10;

// The icon resource of both window classes.
constexpr int PROGRAM_ICON_ID = 101;
