// Finding windows, classes registered the old way, messages posted to the
// thread, where a bar item is on the screen, and hooks given wide text.
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

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

// What the wide and the ANSI hook of a window's creation saw. Each moves
// the window, to show that its change is kept.
struct CreationSeen {
    std::u16string wide_name;
    LPCWSTR wide_class = nullptr;
    std::u16string wide_class_text;
    std::string ansi_name;
    HHOOK wide = nullptr;
    HHOOK ansi = nullptr;
};
CreationSeen g_seen;

bool is_test_window(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == recording_class();
}

std::u16string to_u16(LPCWSTR text) {
    std::u16string out;
    for (; text != nullptr && *text != 0; ++text)
        out.push_back((char16_t)*text);
    return out;
}

LRESULT CALLBACK wide_creation_hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND && is_test_window((HWND)wparam)) {
        CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs;
        g_seen.wide_name = to_u16(cs->lpszName);
        g_seen.wide_class = cs->lpszClass;
        if (!IS_INTRESOURCE(cs->lpszClass))
            g_seen.wide_class_text = to_u16(cs->lpszClass);
        cs->x = 33;
        cs->cx = 99;
    }
    return CallNextHookEx(g_seen.wide, code, wparam, lparam);
}

LRESULT CALLBACK ansi_creation_hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND && is_test_window((HWND)wparam)) {
        CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs;
        g_seen.ansi_name = cs->lpszName != nullptr ? cs->lpszName : "(null)";
        cs->cy = 77;
    }
    return CallNextHookEx(g_seen.ansi, code, wparam, lparam);
}

// A hook set with SetWindowsHookExW is given the window's text in UTF-16
// (code page 1252 widened), a class given as an atom stays an atom, and the
// ANSI hook it passes on to is given ANSI text again. Both hooks' changes
// to the position and size are kept.
TEST_F(Lookup, WideCbtHookIsGivenWideText) {
    const struct {
        const char* name;
        bool by_atom;
        std::u16string wide_name;
        const char* ansi_name;
    } CASES[] = {
        {"Zandrel wide", false, u"Zandrel wide", "Zandrel wide"},
        {"caf\xE9 \x80\x99", true, u"caf\u00E9 \u20AC\u2122", "caf\xE9 \x80\x99"},
    };
    ATOM atom = (ATOM)GetClassLongA(make(MAIN, WS_POPUP, 0, 0, 5, 5), GCW_ATOM);
    for (const auto& c : CASES) {
        g_seen = CreationSeen{};
        g_seen.ansi = SetWindowsHookExA(WH_CBT, ansi_creation_hook, nullptr, GetCurrentThreadId());
        g_seen.wide = SetWindowsHookExW(WH_CBT, wide_creation_hook, nullptr, GetCurrentThreadId());
        ASSERT_NE(g_seen.wide, nullptr);
        HWND window =
            CreateWindowExA(0, c.by_atom ? MAKEINTATOM(atom) : recording_class(), c.name, WS_POPUP,
                            10, 20, 50, 60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        UnhookWindowsHookEx(g_seen.wide);
        UnhookWindowsHookEx(g_seen.ansi);
        ASSERT_NE(window, nullptr) << c.name;
        windows_.push_back(window);
        EXPECT_EQ(g_seen.wide_name, c.wide_name) << c.name;
        if (c.by_atom)
            EXPECT_EQ((ULONG_PTR)g_seen.wide_class, (ULONG_PTR)atom) << c.name;
        else
            EXPECT_EQ(g_seen.wide_class_text, u"ZandrelRecorder") << c.name;
        EXPECT_EQ(g_seen.ansi_name, c.ansi_name) << c.name;
        // Wine 8 discards a CBT hook's writes to the CREATESTRUCT; Windows
        // creates the window where the hooks put it.
        if (running_under_wine())
            continue;
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 33) << c.name;
        EXPECT_EQ(rect.right - rect.left, 99) << c.name;
        EXPECT_EQ(rect.bottom - rect.top, 77) << c.name;
    }
}

} // namespace
