// Rules of windows that programs written for Windows rely on: what
// WM_NCCALCSIZE points at, where positions and sizes are clamped, what the
// CBT hook sees of a window being made, the last error of point mapping,
// the client area of windows too small for their scroll bars, and the
// class and frame queries GetClassInfoA and AdjustWindowRectEx.
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

namespace {

// What the last WM_NCCALCSIZE with wParam TRUE pointed at.
WINDOWPOS last_lppos{};
bool lppos_seen = false;

LRESULT CALLBACK calcsize_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCALCSIZE && wparam) {
        const WINDOWPOS* pos = ((NCCALCSIZE_PARAMS*)lparam)->lppos;
        lppos_seen = pos != nullptr;
        if (pos != nullptr)
            last_lppos = *pos;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

class WindowRules : public UserTest {};

struct LpposRow {
    int x, y, cx, cy;
    UINT flags;
    RECT expected; // x, y, cx, cy that lppos holds
};

// lppos is the WINDOWPOS being applied, with the place the window takes.
const LpposRow LPPOS_ROWS[] = {
    {30, 40, 120, 90, SWP_NOZORDER | SWP_NOACTIVATE, {30, 40, 120, 90}},
    {0, 0, 150, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE, {10, 20, 150, 60}},
    {0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED, {10, 20, 100, 80}},
};

TEST_F(WindowRules, NcCalcSizePointsAtTheWindowPos) {
    register_test_class("ZandrelCalcSize", calcsize_proc);
    for (const LpposRow& row : LPPOS_ROWS) {
        HWND window =
            make(MAIN, WS_POPUP | WS_CAPTION, 10, 20, 100, 80, nullptr, 0, "ZandrelCalcSize");
        SCOPED_TRACE(::testing::Message() << "flags " << std::hex << row.flags);
        lppos_seen = false;
        SetWindowPos(window, nullptr, row.x, row.y, row.cx, row.cy, row.flags);
        ASSERT_TRUE(lppos_seen);
        EXPECT_EQ(last_lppos.hwnd, window);
        expect_rect({last_lppos.x, last_lppos.y, last_lppos.cx, last_lppos.cy}, row.expected,
                    "lppos place");
        DestroyWindow(window);
    }
}

struct ClampRow {
    int x, y, cx, cy;
    RECT expected; // the window rectangle on the screen
    // Wine's CreateWindowExA keeps positions and sizes beyond the limits
    // (it only raises negative sizes to 0); Windows clamps them there too.
    bool wine_keeps_on_create;
};

// Positions stay within -32768..32767 and sizes within 0..32767.
const ClampRow CLAMP_ROWS[] = {
    {40000, 50000, 40000, 50000, {32767, 32767, 65534, 65534}, true},
    {-40000, -32769, -5, -100000, {-32768, -32768, -32768, -32768}, true},
    {-100, 32767, 32768, 70000, {-100, 32767, 32667, 65534}, true},
    {5, 6, 32767, 32767, {5, 6, 32772, 32773}, false},
    {-7, 8, -1, -2, {-7, 8, -7, 8}, false},
};

TEST_F(WindowRules, CreateAndSetWindowPosClampPlaceAndSize) {
    HWND moved = make(MAIN, WS_POPUP, 0, 0, 10, 10);
    for (const ClampRow& row : CLAMP_ROWS) {
        SCOPED_TRACE(::testing::Message()
                     << row.x << "," << row.y << " " << row.cx << "x" << row.cy);
        RECT rect;
        SetWindowPos(moved, nullptr, row.x, row.y, row.cx, row.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(moved, &rect);
        expect_rect(rect, row.expected, "SetWindowPos");
        if (row.wine_keeps_on_create && running_under_wine())
            continue;
        HWND made = make(SECOND, WS_POPUP, row.x, row.y, row.cx, row.cy);
        GetWindowRect(made, &rect);
        expect_rect(rect, row.expected, "CreateWindowExA");
        DestroyWindow(made);
    }
}

#ifndef _WIN32
// The largest window a program can ask for holds no more pixels than the
// largest one a user could size on the screen, and still paints.
TEST_F(WindowRules, HugeWindowKeepsAScreenOfPixels) {
    HWND window = make(MAIN, WS_POPUP | WS_VISIBLE, 0, 0, 32767, 32767);
    SetWindowPos(window, nullptr, -100, -100, 40000, 40000, SWP_NOZORDER);
    pump_messages();
    int32_t width = 0, height = 0;
    ASSERT_NE(desktop_window_pixels(window, &width, &height), nullptr);
    EXPECT_LE(width, GetSystemMetrics(SM_CXMAXTRACK));
    EXPECT_LE(height, GetSystemMetrics(SM_CYMAXTRACK));
    HDC dc = GetDC(window);
    EXPECT_TRUE(PatBlt(dc, 30000, 30000, 100, 100, BLACKNESS)) << "beyond the pixels: clipped";
    EXPECT_TRUE(PatBlt(dc, 0, 0, 2000, 2000, BLACKNESS));
    ReleaseDC(window, dc);
}
#endif

// What the CBT hook saw of the window being made.
struct CbtSight {
    HWND window = nullptr;
    LONG style = 0;
    HWND next = nullptr, previous = nullptr;
    bool among_parents_children = false;
};
CbtSight g_sight;
HHOOK g_cbt = nullptr;

LRESULT CALLBACK creation_hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) {
        HWND window = (HWND)wparam;
        g_sight.window = window;
        g_sight.style = GetWindowLongA(window, GWL_STYLE);
        g_sight.next = GetWindow(window, GW_HWNDNEXT);
        g_sight.previous = GetWindow(window, GW_HWNDPREV);
        HWND parent = ((CBT_CREATEWNDA*)lparam)->lpcs->hwndParent;
        g_sight.among_parents_children = false;
        for (HWND c = parent ? GetWindow(parent, GW_CHILD) : nullptr; c != nullptr;
             c = GetWindow(c, GW_HWNDNEXT))
            g_sight.among_parents_children |= c == window;
    }
    return CallNextHookEx(g_cbt, code, wparam, lparam);
}

struct CbtRow {
    DWORD style;
    bool child;
    DWORD added_after; // what the style has once the window is made
};

// The hook sees the style as asked for, without WS_VISIBLE, and a window
// that is in no z-order yet; WS_CLIPSIBLINGS (and WS_CAPTION for an
// overlapped window) come after the hook.
const CbtRow CBT_ROWS[] = {
    {WS_POPUP | WS_VISIBLE, false, WS_CLIPSIBLINGS},
    {WS_OVERLAPPED | WS_SYSMENU, false, WS_CLIPSIBLINGS | WS_CAPTION},
    {WS_CHILD | WS_VISIBLE, true, 0},
};

TEST_F(WindowRules, CbtCreateSeesTheStyleAsAskedAndNoZOrder) {
    HWND parent = make(MAIN, WS_POPUP | WS_VISIBLE, 50, 50, 200, 200);
    make(CHILD, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent);
    make(SECOND, WS_POPUP, 0, 0, 20, 20);
    g_cbt = SetWindowsHookExA(WH_CBT, creation_hook, nullptr, GetCurrentThreadId());
    for (const CbtRow& row : CBT_ROWS) {
        SCOPED_TRACE(::testing::Message() << "style " << std::hex << row.style);
        HWND window = make(CHILD2, row.style, 5, 5, 30, 30, parent);
        ASSERT_EQ(g_sight.window, window);
        EXPECT_EQ((DWORD)g_sight.style, row.style & ~WS_VISIBLE);
        EXPECT_EQ(g_sight.next, nullptr);
        EXPECT_EQ(g_sight.previous, nullptr);
        EXPECT_FALSE(g_sight.among_parents_children);
        DWORD style = (DWORD)GetWindowLongA(window, GWL_STYLE);
        EXPECT_EQ(style & (WS_CLIPSIBLINGS | WS_CAPTION), row.added_after);
        EXPECT_TRUE(row.child || GetWindow(window, GW_HWNDNEXT) != nullptr)
            << "in the z-order after creation";
        DestroyWindow(window);
    }
    UnhookWindowsHookEx(g_cbt);
}

// Mapping points through a live window leaves the last error alone;
// through a destroyed one it fails with ERROR_INVALID_WINDOW_HANDLE.
TEST_F(WindowRules, PointMappingLastError) {
    HWND window = make(MAIN, WS_POPUP, 120, 70, 50, 50);
    HWND dead = make(SECOND, WS_POPUP, 0, 0, 5, 5);
    DestroyWindow(dead);
    const char* calls[] = {"MapWindowPoints", "ClientToScreen", "ScreenToClient"};
    for (int call = 0; call < 3; ++call) {
        for (bool bad : {false, true}) {
            SCOPED_TRACE(::testing::Message() << calls[call] << (bad ? ", destroyed" : ", live"));
            HWND target = bad ? dead : window;
            POINT p{1, 2};
            SetLastError(0xDEADBEEF);
            bool ok = call == 0   ? MapWindowPoints(target, nullptr, &p, 1) != 0
                      : call == 1 ? ClientToScreen(target, &p) != FALSE
                                  : ScreenToClient(target, &p) != FALSE;
            EXPECT_EQ(ok, !bad);
            EXPECT_EQ(GetLastError(), bad ? (DWORD)ERROR_INVALID_WINDOW_HANDLE : 0xDEADBEEF);
        }
    }
}

struct SmallRow {
    DWORD style;
    int dx, dy;                            // the window's size less the scroll bar's size
    bool takes_vertical, takes_horizontal; // whether the bars take their room
};

// A scroll bar is taken off only when the window has room for it: width at
// least the bar's, height more than the bar's. Sizes count from the bar's
// metric (16 by the classic metrics, 17 under Wine).
const SmallRow SMALL_ROWS[] = {
    {WS_VSCROLL, -1, 14, false, false},
    {WS_VSCROLL, 0, 14, true, false},
    {WS_VSCROLL, 24, 14, true, false},
    {WS_HSCROLL, 14, 0, false, false},
    {WS_HSCROLL, 14, 1, false, true},
    {WS_VSCROLL | WS_HSCROLL, -6, -6, false, false},
    {WS_BORDER | WS_VSCROLL, 1, 24, false, false},
};

TEST_F(WindowRules, SmallWindowsKeepClientAreaWithoutRoomForScrollBars) {
    HWND parent = make(MAIN, WS_POPUP, 0, 0, 300, 300);
    int bar_w = GetSystemMetrics(SM_CXVSCROLL), bar_h = GetSystemMetrics(SM_CYHSCROLL);
    for (const SmallRow& row : SMALL_ROWS) {
        SCOPED_TRACE(::testing::Message() << "style " << std::hex << row.style << std::dec << " dx "
                                          << row.dx << " dy " << row.dy);
        int cx = bar_w + row.dx, cy = bar_h + row.dy, border = (row.style & WS_BORDER) ? 2 : 0;
        HWND child = make(CHILD, WS_CHILD | row.style, 0, 0, cx, cy, parent);
        RECT client;
        GetClientRect(child, &client);
        EXPECT_EQ(client.right, cx - border - (row.takes_vertical ? bar_w : 0));
        EXPECT_EQ(client.bottom, cy - border - (row.takes_horizontal ? bar_h : 0));
        DestroyWindow(child);
    }
}

struct AdjustRow {
    DWORD style, ex_style;
    BOOL menu;
    RECT expected; // for the client rectangle {0, 0, 100, 50}
};

// By the classic metrics: frame 4, dialog frame 3, border 1, caption 19,
// menu 19, client edge 2; scroll bars are not added. A tool window's
// caption is SM_CYSMCAPTION high (TOOL_CAPTION below).
constexpr LONG TOOL_CAPTION = -1000;
const AdjustRow ADJUST_ROWS[] = {
    {WS_POPUP, 0, FALSE, {0, 0, 100, 50}},
    {WS_OVERLAPPED, 0, FALSE, {0, 0, 100, 50}},
    {WS_POPUP | WS_BORDER, 0, FALSE, {-1, -1, 101, 51}},
    {WS_POPUP | WS_CAPTION, 0, FALSE, {-3, -22, 103, 53}},
    {WS_POPUP | WS_CAPTION, 0, TRUE, {-3, -41, 103, 53}},
    {WS_OVERLAPPEDWINDOW, 0, FALSE, {-4, -23, 104, 54}},
    {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, FALSE, {-3, TOOL_CAPTION - 3, 103, 53}},
    {WS_POPUP, WS_EX_CLIENTEDGE, FALSE, {-2, -2, 102, 52}},
    {WS_POPUP, WS_EX_DLGMODALFRAME, FALSE, {-3, -3, 103, 53}},
    {WS_CHILD | WS_VSCROLL | WS_HSCROLL, 0, FALSE, {0, 0, 100, 50}},
};

TEST_F(WindowRules, AdjustWindowRectEx) {
    for (const AdjustRow& row : ADJUST_ROWS) {
        RECT rect{0, 0, 100, 50};
        EXPECT_TRUE(AdjustWindowRectEx(&rect, row.style, row.menu, row.ex_style));
        RECT expected = row.expected;
        if (expected.top < TOOL_CAPTION / 2)
            expected.top += -TOOL_CAPTION - GetSystemMetrics(SM_CYSMCAPTION);
        expect_rect(rect, expected, "AdjustWindowRectEx");
    }
    RECT game{0, 0, 634, 324};
    AdjustWindowRect(&game, CAPTIONED_POPUP, TRUE);
    EXPECT_EQ(game.right - game.left, 640);
    EXPECT_EQ(game.bottom - game.top, 368);
}

LRESULT CALLBACK info_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(WindowRules, GetClassInfoReportsTheClass) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{CS_HREDRAW | CS_DBLCLKS,
                 info_proc,
                 4,
                 12,
                 instance,
                 nullptr,
                 nullptr,
                 (HBRUSH)(COLOR_WINDOW + 1),
                 "InfoMenu",
                 "ZandrelInfo"};
    ATOM atom = RegisterClassA(&wc);
    ASSERT_NE(atom, 0);
    const char* names[] = {"ZandrelInfo", "zandrelINFO", MAKEINTRESOURCEA(atom)};
    for (const char* name : names) {
        WNDCLASSA got{};
        EXPECT_EQ(GetClassInfoA(instance, name, &got), (BOOL)atom);
        bool same = got.style == wc.style && got.lpfnWndProc == info_proc && got.cbClsExtra == 4 &&
                    got.cbWndExtra == 12 && got.hInstance == instance &&
                    got.hbrBackground == wc.hbrBackground;
        EXPECT_TRUE(same) << "the class as registered";
        EXPECT_STREQ(got.lpszMenuName, "InfoMenu");
        EXPECT_EQ(got.lpszClassName, name) << "the name asked for";
    }
    WNDCLASSA button{};
    EXPECT_TRUE(GetClassInfoA(nullptr, "Button", &button));
    EXPECT_NE(button.lpfnWndProc, nullptr);
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(GetClassInfoA(instance, "ZandrelNoSuchClass", &button));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_CLASS_DOES_NOT_EXIST);
    EXPECT_TRUE(UnregisterClassA("ZandrelInfo", instance));
    EXPECT_FALSE(GetClassInfoA(instance, "ZandrelInfo", &button)) << "gone with the class";
}

} // namespace
