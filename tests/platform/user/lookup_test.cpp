// Finding windows, classes registered the old way, messages posted to the
// thread, and where a bar item is on the screen.
#include "tests/platform/user/user_fixture.h"

namespace {

class Lookup : public UserTest {};

// FindWindowA takes the first top-level window of a class and title, either
// left out; names compare without regard to case.
TEST_F(Lookup, FindWindowByClassAndTitle) {
    HWND first = make(MAIN, CAPTIONED_POPUP, 10, 10, 100, 80);
    SetWindowTextA(first, "Zandrel Finder One");
    HWND second = make(SECOND, CAPTIONED_POPUP, 20, 20, 100, 80);
    SetWindowTextA(second, "Zandrel Finder Two");
    HWND child = make(CHILD, WS_CHILD, 0, 0, 10, 10, first, 5);
    SetWindowTextA(child, "Zandrel Finder Child");
    const struct {
        const char* cls;
        const char* title;
        HWND expected;
    } CASES[] = {
        {recording_class(), "Zandrel Finder One", first},
        {nullptr, "zandrel finder two", second},
        {"ZANDRELRECORDER", "Zandrel Finder Two", second},
        {recording_class(), "Zandrel Finder Child", nullptr}, // children are not searched
        {recording_class(), "Zandrel Finder None", nullptr},
    };
    for (const auto& c : CASES)
        EXPECT_EQ(FindWindowA(c.cls, c.title), c.expected) << c.title;
    EXPECT_EQ(FindWindowA("ZandrelNoSuchClass", nullptr), nullptr);
}

LRESULT CALLBACK old_style_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(Lookup, RegisterClassAsWithoutTheSmallIcon) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = old_style_proc;
    wc.cbWndExtra = (int)sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZandrelOldStyle";
    ATOM atom = RegisterClassA(&wc);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(RegisterClassA(&wc), 0) << "a second time";
    HWND window = CreateWindowExA(0, "ZandrelOldStyle", "old", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetClassLongA(window, GCW_ATOM), (DWORD)atom);
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassA("ZandrelOldStyle", GetModuleHandleA(nullptr)));
}

// A message posted to the thread arrives without a window; another
// thread id is refused.
TEST_F(Lookup, PostThreadMessageReachesTheQueue) {
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP, 7, 8));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.lParam, 8);
    EXPECT_FALSE(PostThreadMessageA(GetCurrentThreadId() + 1000, WM_APP, 0, 0));
}

// A bar item is where the bar draws it: on the menu row below the caption,
// the items side by side.
TEST_F(Lookup, MenuItemRectOfBarItems) {
    HWND window = make_shown_popup();
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_STRING, 1, "&Game");
    AppendMenuA(bar, MF_STRING, 2, "&Help");
    ASSERT_TRUE(SetMenu(window, bar));
    RECT client, first, second;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, (LPPOINT)&client, 2);
    ASSERT_TRUE(GetMenuItemRect(window, bar, 0, &first));
    ASSERT_TRUE(GetMenuItemRect(window, bar, 1, &second));
    EXPECT_EQ(first.bottom, second.bottom);
    EXPECT_LE(first.bottom, client.top);
    EXPECT_GE(first.bottom - first.top, GetSystemMetrics(SM_CYMENU) - 2);
    EXPECT_EQ(second.left, first.right);
    EXPECT_GE(first.left, client.left);
    EXPECT_FALSE(GetMenuItemRect(window, bar, 2, &first)) << "past the end";
}

} // namespace
