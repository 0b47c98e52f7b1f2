// Classes and what a window keeps: atoms and names, classes registered the
// old way, the background brush, extra bytes, styles, properties, relations
// between windows, finding a window by class and title, rectangles and the
// system metrics they derive from.
#include "tests/platform/user/user_fixture.h"

#include <string.h>

#include <algorithm>

namespace {

class ClassWindow : public UserTest {};

TEST_F(ClassWindow, DuplicateClassNameFails) {
    ATOM atom = register_test_class("ZandrelDuplicate", recording_window_proc);
    EXPECT_GE(atom, 0xC000) << "string atoms live in 0xC000-0xFFFF";
    SetLastError(0);
    EXPECT_EQ(register_test_class("ZandrelDuplicate", recording_window_proc), 0);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_CLASS_ALREADY_EXISTS);
    SetLastError(0);
    EXPECT_EQ(register_test_class("zandrelduplicate", recording_window_proc), 0)
        << "class names ignore case";
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_CLASS_ALREADY_EXISTS);
    EXPECT_TRUE(UnregisterClassA("ZandrelDuplicate", GetModuleHandleA(nullptr)));
    EXPECT_NE(register_test_class("ZandrelDuplicate", recording_window_proc), 0)
        << "free again once unregistered";
    UnregisterClassA("ZandrelDuplicate", GetModuleHandleA(nullptr));
}

TEST_F(ClassWindow, AtomAndNameOfAWindowsClass) {
    ATOM atom = register_test_class("ZandrelAtomName", recording_window_proc);
    HWND window = make(MAIN, WS_POPUP, 0, 0, 10, 10, nullptr, 0, "ZandrelAtomName");
    EXPECT_EQ(GetClassWord(window, GCW_ATOM), atom);
    char name[64];
    EXPECT_EQ(GetClassNameA(window, name, sizeof name), 15);
    EXPECT_STREQ(name, "ZandrelAtomName");
    EXPECT_EQ(GetClassNameA(window, name, 5), 4) << "truncated to the buffer";
    EXPECT_STREQ(name, "Zand");
    // A window can be made by atom as well as by name.
    HWND by_atom = make(SECOND, WS_POPUP, 0, 0, 10, 10, nullptr, 0, MAKEINTATOM(atom));
    EXPECT_EQ(GetClassWord(by_atom, GCW_ATOM), atom);
}

LRESULT CALLBACK old_style_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(ClassWindow, RegisterClassAsWithoutTheSmallIcon) {
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

TEST_F(ClassWindow, ClassBrushIsKept) {
    HWND window = make(MAIN, WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(GetClassLongA(window, GCLP_HBRBACKGROUND), (DWORD)(COLOR_WINDOW + 1));
}

TEST_F(ClassWindow, WindowExtraBytes) {
    register_test_class("ZandrelExtra", recording_window_proc, sizeof(void*));
    HWND window = make(MAIN, WS_POPUP, 0, 0, 10, 10, nullptr, 0, "ZandrelExtra");
    EXPECT_EQ(GetWindowLongPtrA(window, 0), 0) << "extra bytes start zeroed";
    int anything = 0;
    EXPECT_EQ(SetWindowLongPtrA(window, 0, (LONG_PTR)&anything), 0) << "returns the old value";
    EXPECT_EQ(GetWindowLongPtrA(window, 0), (LONG_PTR)&anything);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrA(window, (int)sizeof(void*)), 0);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_INDEX);
    SetLastError(0);
    EXPECT_EQ(SetWindowLongPtrA(window, 1, 5), 0) << "the last word would end past the bytes";
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_INDEX);
    EXPECT_EQ(GetWindowLongPtrA(window, 0), (LONG_PTR)&anything) << "untouched";
}

TEST_F(ClassWindow, UserDataAndId) {
    HWND window = make(MAIN, WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(SetWindowLongPtrA(window, GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 1234);
    HWND child = make(CHILD, WS_CHILD, 0, 0, 5, 5, window, 33);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_ID), 33);
    EXPECT_EQ(GetDlgCtrlID(child), 33);
}

TEST_F(ClassWindow, StylesAsCreatedAndChanged) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, recording_class(), "s", CAPTIONED_POPUP, 0, 0,
                                  100, 100, nullptr, nullptr, nullptr, nullptr);
    windows_.push_back(window);
    // A captioned window gets WS_CLIPSIBLINGS, and a frame makes Windows add
    // WS_EX_WINDOWEDGE.
    EXPECT_EQ((DWORD)GetWindowLongA(window, GWL_STYLE), CAPTIONED_POPUP | WS_CLIPSIBLINGS);
    EXPECT_EQ((DWORD)GetWindowLongA(window, GWL_EXSTYLE), WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE);
    log_watch(window, MAIN);
    log_flush();
    LONG old =
        SetWindowLongA(window, GWL_STYLE, (LONG)(CAPTIONED_POPUP | WS_CLIPSIBLINGS | WS_DISABLED));
    EXPECT_EQ((DWORD)old, CAPTIONED_POPUP | WS_CLIPSIBLINGS);
    EXPECT_FALSE(IsWindowEnabled(window));
    const ExpectedMessage STYLE_CHANGE[] = {
        {0x007C, CHECK_W, (WPARAM)GWL_STYLE, 0, MAIN}, // WM_STYLECHANGING
        {0x007D, CHECK_W, (WPARAM)GWL_STYLE, 0, MAIN}, // WM_STYLECHANGED
    };
    expect_sequence(STYLE_CHANGE, "SetWindowLongA(GWL_STYLE)");
}

TEST_F(ClassWindow, Properties) {
    HWND window = make(MAIN, WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(GetPropA(window, "zandrel"), nullptr);
    EXPECT_TRUE(SetPropA(window, "zandrel", (HANDLE)0x55));
    EXPECT_EQ(GetPropA(window, "ZANDREL"), (HANDLE)0x55) << "names ignore case";
    EXPECT_TRUE(SetPropA(window, "zandrel", (HANDLE)0x66));
    EXPECT_EQ(GetPropA(window, "zandrel"), (HANDLE)0x66) << "replaced";
    EXPECT_EQ(RemovePropA(window, "zandrel"), (HANDLE)0x66);
    EXPECT_EQ(GetPropA(window, "zandrel"), nullptr);
    EXPECT_EQ(RemovePropA(window, "zandrel"), nullptr);
}

TEST_F(ClassWindow, OwnerIsNotParentForPopups) {
    HWND owner = make(MAIN, WS_POPUP, 0, 0, 10, 10);
    HWND owned = make(OWNED, WS_POPUP, 0, 0, 10, 10, owner);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    // GetParent of a WS_POPUP answers its owner, a quirk programs rely on;
    // GetParent of a WS_CHILD answers the parent and GW_OWNER nothing.
    EXPECT_EQ(GetParent(owned), owner);
    EXPECT_EQ(GetParent(owner), nullptr);
    HWND child = make(CHILD, WS_CHILD, 0, 0, 5, 5, owner, 1);
    EXPECT_EQ(GetParent(child), owner);
    EXPECT_EQ(GetWindow(child, GW_OWNER), nullptr);
    EXPECT_TRUE(IsChild(owner, child));
    EXPECT_FALSE(IsChild(owner, owned));
}

TEST_F(ClassWindow, ChildOrderTopFirst) {
    HWND parent = make(MAIN, WS_POPUP, 0, 0, 100, 100);
    HWND first = make(CHILD, WS_CHILD, 0, 0, 5, 5, parent, 1);
    HWND second = make(CHILD2, WS_CHILD, 0, 0, 5, 5, parent, 2);
    // New children go to the top of their siblings.
    EXPECT_EQ(GetTopWindow(parent), first);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(second, GW_HWNDPREV), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDLAST), second);
    EXPECT_EQ(GetDlgItem(parent, 2), second);
    EXPECT_EQ(GetDlgItem(parent, 3), nullptr);
}

std::vector<HWND> enumerated;
BOOL CALLBACK collect(HWND window, LPARAM stop_after) {
    enumerated.push_back(window);
    return (LPARAM)enumerated.size() != stop_after;
}

TEST_F(ClassWindow, EnumChildWindowsVisitsDepthFirst) {
    HWND parent = make(MAIN, WS_POPUP, 0, 0, 100, 100);
    HWND a = make(CHILD, WS_CHILD, 0, 0, 50, 50, parent, 1);
    HWND a1 = make(ANY_WINDOW, WS_CHILD, 0, 0, 5, 5, a, 11);
    HWND b = make(CHILD2, WS_CHILD, 0, 0, 5, 5, parent, 2);
    enumerated.clear();
    EnumChildWindows(parent, collect, 0);
    std::vector<HWND> expected{a, a1, b};
    EXPECT_EQ(enumerated, expected) << "each child followed by its own children";
    enumerated.clear();
    EnumChildWindows(parent, collect, 2);
    EXPECT_EQ(enumerated.size(), 2u) << "FALSE stops the enumeration";
}

// FindWindowA takes the first top-level window of a class and title, either
// left out; names compare without regard to case.
TEST_F(ClassWindow, FindWindowByClassAndTitle) {
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

TEST_F(ClassWindow, CaptionedPopupRectangles) {
    HWND window = make(MAIN, CAPTIONED_POPUP, 100, 80, 640, 368);
    RECT rect;
    EXPECT_TRUE(GetWindowRect(window, &rect));
    expect_rect(rect, {100, 80, 740, 448}, "window rectangle as created");
    RECT client;
    EXPECT_TRUE(GetClientRect(window, &client));
    int frame_x = GetSystemMetrics(SM_CXFIXEDFRAME);
    int frame_y = GetSystemMetrics(SM_CYFIXEDFRAME);
    int caption = GetSystemMetrics(SM_CYCAPTION);
    expect_rect(client, {0, 0, 640 - 2 * frame_x, 368 - 2 * frame_y - caption}, "client area");
}

TEST_F(ClassWindow, ChildWindowRectIsInScreenCoordinates) {
    HWND parent = make(MAIN, WS_POPUP, 100, 80, 200, 200);
    HWND child = make(CHILD, WS_CHILD, 10, 20, 30, 40, parent, 1);
    RECT rect;
    GetWindowRect(child, &rect);
    expect_rect(rect, {110, 100, 140, 140}, "child's window rectangle");
    GetClientRect(child, &rect);
    expect_rect(rect, {0, 0, 30, 40}, "child's client rectangle");
}

TEST_F(ClassWindow, MetricsAreConsistent) {
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
    EXPECT_GT(GetSystemMetrics(SM_CYCAPTION), 0);
    EXPECT_GT(GetSystemMetrics(SM_CXFIXEDFRAME), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CXDLGFRAME));
    RECT work{};
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_GE(work.left, 0);
    EXPECT_GE(work.top, 0);
    EXPECT_LE(work.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(work.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GT(work.right - work.left, 0);
}

TEST_F(ClassWindow, WindowText) {
    HWND window = make(MAIN, WS_POPUP, 0, 0, 10, 10);
    settle();
    EXPECT_TRUE(SetWindowTextA(window, "Zandrel"));
    const ExpectedMessage SET_TEXT[] = {{WM_SETTEXT, CHECK_W, 0, 0, MAIN}};
    expect_sequence(SET_TEXT, "SetWindowTextA");
    char text[16];
    EXPECT_EQ(GetWindowTextA(window, text, sizeof text), 7);
    EXPECT_STREQ(text, "Zandrel");
}

} // namespace
