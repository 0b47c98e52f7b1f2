// A window for the graphics tests, opened and recorded the way the window
// framework opens its windows: a captioned popup whose record holds a
// screen-sized backing bitmap filled with white, copies of a fresh memory
// context's pen and font, and that context's text background and mix mode.
// Its window procedure paints and erases through the framework's own
// paintWindow and eraseBackground.
#pragma once

#include "runtime/runtime_state.h"
#include "runtime/window/framework.h"
#include "runtime/window/window.h"
#include "runtime/window/window_record.h"
#include "tests/support/platform_reset.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdint.h>
#include <type_traits>

#ifndef _WIN32
#include <layer/gdi.h>
#endif

class TestWindow {
  public:
    WindowRecord record{};
    int paints = 0; // WM_PAINT messages received
    RECT painted{}; // union of the update rectangles painted

    // Opens at (x, y) with the given outer size. backingMode 0 opens
    // without bitmap; bitmap_width 0 means the screen's size.
    void open(uint32_t backing_mode = 1, int x = 100, int y = 100, int width = 640,
              int height = 368, int bitmap_width = 0, int bitmap_height = 0) {
        register_class();
        record.hwnd = CreateWindowExA(0, CLASS_NAME, "Graphics",
                                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, x, y, width,
                                      height, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(record.hwnd, nullptr);
        record.backingMode = backing_mode;
        record.windowColor = GetSysColor(COLOR_WINDOW);
        HDC window_dc = GetDC(record.hwnd);
        HDC memory = CreateCompatibleDC(window_dc);
        if (backing_mode != 0) {
            int bw = bitmap_width != 0 ? bitmap_width : GetSystemMetrics(SM_CXSCREEN);
            int bh = bitmap_height != 0 ? bitmap_height : GetSystemMetrics(SM_CYSCREEN);
            record.backBitmap = CreateCompatibleBitmap(window_dc, bw, bh);
            HGDIOBJ previous = SelectObject(memory, record.backBitmap);
            fill(memory, bw, bh, record.windowColor);
            SelectObject(memory, previous);
        } else {
            fill(window_dc, width, height, record.windowColor);
        }
        capture_defaults(memory);
        DeleteDC(memory);
        ReleaseDC(record.hwnd, window_dc);
        static_assert(std::is_standard_layout_v<TestWindow>);
        SetWindowLongPtrA(record.hwnd, 0, (LONG_PTR)&record);
        UpdateWindow(record.hwnd);
        settle();
    }

    // Closes the window and frees what the record owns, as closeWindow does.
    void close() {
        if (record.hwnd == nullptr)
            return;
        SetWindowLongPtrA(record.hwnd, 0, 0);
        DestroyWindow(record.hwnd);
        DeleteObject(record.backBitmap);
        DeleteObject(record.pen);
        DeleteObject(record.font);
        record = WindowRecord{};
    }

    ~TestWindow() { close(); }

    // Handles every queued message and forgets the paints counted so far.
    void settle() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        paints = 0;
        painted = RECT{};
    }

    // A pixel of the backing bitmap, as 0x00BBGGRR.
    COLORREF bitmap_pixel(int x, int y) const {
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, record.backBitmap);
        COLORREF pixel = GetPixel(memory, x, y);
        SelectObject(memory, previous);
        DeleteDC(memory);
        return pixel;
    }

    // A pixel of the window's client area as it is on the screen now.
    COLORREF screen_pixel(int x, int y) const {
        HDC dc = GetDC(record.hwnd);
        COLORREF pixel = GetPixel(dc, x, y);
        ReleaseDC(record.hwnd, dc);
        return pixel;
    }

    // Pixels of the box (bitmap coordinates) where the screen differs from
    // the bitmap.
    int screen_differences(const RECT& box) const {
        int differing = 0;
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, record.backBitmap);
        HDC dc = GetDC(record.hwnd);
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                differing += GetPixel(memory, x, y) != GetPixel(dc, x, y);
        ReleaseDC(record.hwnd, dc);
        SelectObject(memory, previous);
        DeleteDC(memory);
        return differing;
    }

    // Pixels of the box in the backing bitmap that have the colour.
    int bitmap_count(const RECT& box, COLORREF colour) const {
        int found = 0;
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, record.backBitmap);
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                found += GetPixel(memory, x, y) == colour;
        SelectObject(memory, previous);
        DeleteDC(memory);
        return found;
    }

    static constexpr const char* CLASS_NAME = "ZandrelGraphicsTest";

  private:
    static void fill(HDC dc, int width, int height, COLORREF colour) {
        RECT box{0, 0, width, height};
        SetBkColor(dc, colour);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &box, "", 0, nullptr);
    }

    void capture_defaults(HDC memory) {
        GetCurrentPositionEx(memory, &record.curPos);
        LOGPEN pen{};
        GetObjectA(GetCurrentObject(memory, OBJ_PEN), sizeof pen, &pen);
        record.pen = CreatePenIndirect(&pen);
        LOGFONTA font{};
        GetObjectA(GetCurrentObject(memory, OBJ_FONT), sizeof font, &font);
        record.font = CreateFontIndirectA(&font);
        record.bkMode = GetBkMode(memory);
        record.bkColor = GetBkColor(memory);
        record.drawMode = GetROP2(memory);
        record.penStyle = PS_SOLID;
        record.penWidth = 1;
        record.cursor = LoadCursorA(nullptr, IDC_ARROW);
    }

    // Paints and erases go through the framework's own routines; the window
    // only counts the paints and notes their update rectangles first.
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        // The record is the first member, so the extra word also names the window.
        TestWindow* self = (TestWindow*)GetWindowLongPtrA(window, 0);
        if (self != nullptr && message == WM_PAINT) {
            ++self->paints;
            RECT update{};
            GetUpdateRect(window, &update, FALSE);
            UnionRect(&self->painted, &self->painted, &update);
            paintWindow(window, wparam, lparam);
            return 0;
        }
        if (self != nullptr && message == WM_ERASEBKGND)
            return eraseBackground(window, (HDC)wparam, lparam);
        return DefWindowProcA(window, message, wparam, lparam);
    }

    static void register_class() {
        // Registering again fails harmlessly once the class exists.
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.cbWndExtra = sizeof(void*);
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = CLASS_NAME;
        RegisterClassExA(&wc);
    }
};

// Every graphics test starts on a fresh platform and runtime.
class GraphicsTest : public ::testing::Test {
  protected:
    TestWindow window;
    WindowRecord& record = window.record;

    void SetUp() override {
        reset_platform();
        resetRuntimeState();
    }
    void TearDown() override { window.close(); }
};
