// The window system's hot paths, built natively and for Windows so that the
// layer and the system's USER32 are timed by the same program: a posted
// message's round trip to a window procedure, and the repaint of a 10 by 10
// area from a screen-sized backing bitmap.
#include "bench/harness.h"

#include <windows.h>

namespace {

struct Bench {
    HWND window;
    HDC backing_dc;
    HBITMAP backing;
    HGDIOBJ original;
    long delivered;
};
Bench g_bench;

LRESULT CALLBACK bench_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP) {
        ++g_bench.delivered;
        return 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, g_bench.backing_dc, r.left,
               r.top, SRCCOPY);
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcA(window, message, wparam, lparam);
}

void round_trip(void*) {
    MSG msg;
    PostMessageA(g_bench.window, WM_APP, 0, 0);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

void repaint_small_area(void*) {
    static int step = 0;
    int x = 10 + (step++ % 40) * 10;
    RECT area{x, 20, x + 10, 30};
    InvalidateRect(g_bench.window, &area, FALSE);
    UpdateWindow(g_bench.window);
}

void open_window() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = bench_proc;
    wc.lpszClassName = "ZandrelBench";
    RegisterClassExA(&wc);
    g_bench.window =
        CreateWindowExA(0, "ZandrelBench", "bench", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                        100, 100, 640, 368, nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(g_bench.window);
    g_bench.backing_dc = CreateCompatibleDC(dc);
    g_bench.backing =
        CreateCompatibleBitmap(dc, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    g_bench.original = SelectObject(g_bench.backing_dc, g_bench.backing);
    ReleaseDC(g_bench.window, dc);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

} // namespace

int main() {
    open_window();
    bench_run("PostMessage + PeekMessage + DispatchMessage", round_trip, nullptr);
    bench_run("InvalidateRect + UpdateWindow of 10x10 from a bitmap", repaint_small_area, nullptr);
    SelectObject(g_bench.backing_dc, g_bench.original);
    DeleteObject(g_bench.backing);
    DeleteDC(g_bench.backing_dc);
    DestroyWindow(g_bench.window);
    return g_bench.delivered > 0 ? 0 : 1;
}
