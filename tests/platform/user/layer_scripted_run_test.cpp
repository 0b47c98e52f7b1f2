// A whole window program on the headless host, driven by a script: it
// keeps its picture in a backing bitmap, draws into it on every timer tick
// and copies it to the window on WM_PAINT, and quits when the script
// closes its window. The run must come out the same every time.
#include "platform/host/headless/headless.h"
#include "tests/support/image_compare.h"
#include "tests/support/platform_reset.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <stdio.h>

namespace {

struct Program {
    HDC backing_dc = nullptr;
    HBITMAP backing = nullptr;
    HGDIOBJ original = nullptr;
    int ticks = 0;
};
Program g_program;

void draw_tick(HWND window) {
    int t = g_program.ticks++;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB((t * 7) % 256, 255 - (t * 3) % 256, 40));
    HGDIOBJ old = SelectObject(g_program.backing_dc, pen);
    MoveToEx(g_program.backing_dc, 10 + t % 300, 10, nullptr);
    LineTo(g_program.backing_dc, 10 + (t * 5) % 300, 150);
    SelectObject(g_program.backing_dc, old);
    DeleteObject(pen);
    RECT touched{0, 0, 320, 160};
    InvalidateRect(window, &touched, FALSE);
    UpdateWindow(window);
}

LRESULT CALLBACK program_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_TIMER:
        draw_tick(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        const RECT& r = paint.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, g_program.backing_dc, r.left,
               r.top, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void open_backing(HWND window) {
    HDC dc = GetDC(window);
    g_program.backing_dc = CreateCompatibleDC(dc);
    g_program.backing = CreateCompatibleBitmap(dc, 320, 160);
    g_program.original = SelectObject(g_program.backing_dc, g_program.backing);
    ReleaseDC(window, dc);
    RECT all{0, 0, 320, 160};
    FillRect(g_program.backing_dc, &all, (HBRUSH)(COLOR_WINDOW + 1));
}

void close_backing() {
    SelectObject(g_program.backing_dc, g_program.original);
    DeleteObject(g_program.backing);
    DeleteDC(g_program.backing_dc);
    g_program = {};
}

// Runs the program to its end; returns the picture of the screen just
// before the script closed the window.
Image run_program() {
    reset_platform();
    std::string error;
    EXPECT_TRUE(headless_load_script("at 59990 capture run.png\n"
                                     "at 60000 close \"Ticker\"\n",
                                     "run.txt", &error))
        << error;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = program_proc;
    wc.lpszClassName = "ZandrelTicker";
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    RegisterClassExA(&wc);
    HWND window = CreateWindowExA(0, "ZandrelTicker", "Ticker",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 200, 150, 340,
                                  200, nullptr, nullptr, nullptr, nullptr);
    open_backing(window);
    SetTimer(window, 1, 100, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // A 100 ms timer on the 64 Hz tick comes due every seven ticks.
    EXPECT_EQ(g_program.ticks, 548);
    close_backing();
    UnregisterClassA("ZandrelTicker", nullptr);
    Image picture;
    png_read_file("run.png", &picture, &error);
    return picture;
}

TEST(ScriptedRun, AMinuteOfTimerDrawingIsTheSameEveryTime) {
    auto start = std::chrono::steady_clock::now();
    Image first = run_program();
    std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    printf("a simulated minute took %.3f s of wall time\n", wall.count());
    EXPECT_GE(headless_clock_us(), 60'000'000u);
    Image second = run_program();
    ImageComparison same = compare_images(first, second);
    EXPECT_TRUE(same.equal) << same.report;
    EXPECT_TRUE(matches_golden("tests/platform/user/golden/scripted_run.png", first.pixels.data(),
                               first.width, first.height, first.width));
}

} // namespace
