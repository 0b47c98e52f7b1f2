// What the wait for events does with each message before dispatching it:
// windows without a record, accelerator tables, dialog keys for a record's
// window and for an active control parent; and the procedure's own answers
// to colour and owner-draw reflections.
#include "runtime/events/wait.h"
#include "runtime/window/window.h"
#include "tests/runtime/window/framework_fixture.h"
#include "tests/support/message_log.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

using namespace framework_test;

// Messages that reached windows of the foreign class, in order.
struct Received {
    HWND window;
    UINT message;
};
std::vector<Received> g_received;

LRESULT CALLBACK foreignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message >= WM_USER)
        g_received.push_back({window, message});
    return DefWindowProcA(window, message, wParam, lParam);
}

int countReceived(HWND window, UINT message) {
    int count = 0;
    for (const Received& r : g_received)
        count += r.window == window && r.message == message;
    return count;
}

int countSeen(int32_t id) {
    int count = 0;
    for (const Seen& s : g_seen)
        count += s.id == id;
    return count;
}

class WaitLoop : public FrameworkTest {
  protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        g_received.clear();
        register_test_class("ZandrelForeignWindow", foreignProc);
    }

    void TearDown() override {
        for (HWND window : made_)
            DestroyWindow(window);
        FrameworkTest::TearDown();
    }

    void open() {
        ASSERT_EQ(openWindow(&record, 20, 20, 300, 200, 0, nullptr, "waits", recordingHandler), 1);
        settle();
    }

    void settle() {
        waitEvents(1);
        g_seen.clear();
        g_received.clear();
    }

    HWND foreign(HWND parent, DWORD style, DWORD exStyle = 0, int x = 0) {
        HWND window =
            CreateWindowExA(exStyle, "ZandrelForeignWindow", "foreign", style | WS_VISIBLE, x, 0,
                            40, 20, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(window, nullptr);
        if (!parent)
            made_.push_back(window);
        return window;
    }

    std::vector<HWND> made_;
};

TEST_F(WaitLoop, WindowWithoutRecordOrParentGetsItsMessage) {
    open();
    HWND stranger = foreign(nullptr, WS_POPUP);
    settle();
    PostMessageA(stranger, WM_USER + 5, 0, 0);
    PostMessageA(nullptr, WM_USER + 6, 0, 0); // addressed to no window: taken, no effect
    PostMessageA(record.hwnd, WM_USER + 7, 0, 0);
    waitEvents(1);
    EXPECT_EQ(countReceived(stranger, WM_USER + 5), 1);
    EXPECT_EQ(seenIds(), (std::vector<int32_t>{WM_USER + 7})) << "the record hears only its own";
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "the queue is drained";
}

// A key with an entry in the window's table becomes its command and the key
// is still dispatched, by the wait loop or by the dialog navigation. A key
// the table misses is marked for dispatch by the loop, and the dialog
// navigation, which dispatches what it does not navigate with, passes it on
// as well: with both in place it arrives twice.
TEST_F(WaitLoop, AcceleratorTableTurnsKeysIntoCommands) {
    static const struct {
        WPARAM key;
        int32_t dialogNavigation;
        bool command;
        int keyDowns;
    } CASES[] = {
        {'K', 0, true, 1},
        {'J', 0, false, 1},
        {'K', 1, true, 1},
        {'J', 1, false, 2},
    };
    open();
    ACCEL entry{FVIRTKEY, 'K', 42};
    HACCEL table = CreateAcceleratorTableA(&entry, 1);
    ASSERT_NE(table, nullptr);
    SetPropA(record.hwnd, "_ACCEL_TABLE", table);
    for (const auto& c : CASES) {
        SCOPED_TRACE(testing::Message()
                     << "key " << (char)c.key << ", navigation " << c.dialogNavigation);
        record.dialogNavigation = c.dialogNavigation;
        settle();
        PostMessageA(record.hwnd, WM_KEYDOWN, c.key, 1);
        waitEvents(1);
        EXPECT_EQ(countSeen(WM_KEYDOWN), c.keyDowns);
        const Seen* command = find(EVENT_MENU);
        ASSERT_EQ(command != nullptr, c.command);
        if (command) {
            EXPECT_EQ(command->menu, 42);
            EXPECT_EQ(g_seen[0].id, EVENT_MENU) << "the command comes before the key";
        }
    }
    record.dialogNavigation = 0;
}

// Tab among two tab stops: taken by the dialog navigation of a record with
// dialogNavigation set, or of an active foreign window with
// WS_EX_CONTROLPARENT; otherwise the focused control gets the key.
TEST_F(WaitLoop, DialogNavigationTakesTab) {
    static const struct {
        const char* what;
        bool framework;
        int32_t dialogNavigation;
        DWORD exStyle;
        bool navigates;
    } CASES[] = {
        {"record, navigation on", true, 1, 0, true},
        {"record, navigation off", true, 0, 0, false},
        {"no record, control parent", false, 0, WS_EX_CONTROLPARENT, true},
        {"no record, plain window", false, 0, 0, false},
    };
    for (const auto& c : CASES) {
        SCOPED_TRACE(c.what);
        HWND parent = nullptr;
        if (c.framework) {
            open();
            record.dialogNavigation = c.dialogNavigation;
            parent = record.hwnd;
        } else {
            parent = foreign(nullptr, WS_POPUP, c.exStyle, 400);
            SetActiveWindow(parent);
            ASSERT_EQ(GetActiveWindow(), parent);
        }
        HWND first = foreign(parent, WS_CHILD | WS_TABSTOP, 0, 0);
        HWND second = foreign(parent, WS_CHILD | WS_TABSTOP, 0, 50);
        SetFocus(first);
        settle();
        PostMessageA(first, WM_KEYDOWN, VK_TAB, 1);
        waitEvents(1);
        EXPECT_EQ(GetFocus(), c.navigates ? second : first);
        EXPECT_EQ(countReceived(first, WM_KEYDOWN), c.navigates ? 0 : 1);
        EXPECT_TRUE(g_seen.empty()) << "the record's handler hears none of its child's keys";
        record.dialogNavigation = 0;
        closeWindow(&record);
    }
}

// What a control answers when its parent asks for its colours (the old
// 16-bit query) or to draw it.
LRESULT CALLBACK answeringControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 25) // WM_CTLCOLOR
        return 1234;
    if (message == WM_DRAWITEM)
        return 99;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(WaitLoop, ReflectionsAskTheControlOrFallToTheDefault) {
    static const UINT COLOUR_QUERIES[] = {
        WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT,      WM_CTLCOLORLISTBOX,
        WM_CTLCOLORBTN,    WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC,
    };
    open();
    register_test_class("ZandrelAnsweringControl", answeringControlProc);
    HWND control =
        CreateWindowExA(0, "ZandrelAnsweringControl", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20,
                        record.hwnd, (HMENU)7, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    HDC dc = GetDC(record.hwnd);
    for (UINT message : COLOUR_QUERIES) {
        SCOPED_TRACE(message);
        g_seen.clear();
        EXPECT_EQ(SendMessageA(record.hwnd, message, (WPARAM)dc, (LPARAM)control), 1234);
        // No control: the default processing answers, with its brush.
        LRESULT expected = DefWindowProcA(record.hwnd, message, (WPARAM)dc, 0);
        ASSERT_NE(expected, 0);
        EXPECT_EQ(SendMessageA(record.hwnd, message, (WPARAM)dc, 0), expected);
        EXPECT_TRUE(g_seen.empty()) << "the handler hears no reflection";
    }
    ReleaseDC(record.hwnd, dc);
    unsigned item[16] = {0, 7}; // what the control reads is its own business
    g_seen.clear();
    EXPECT_EQ(SendMessageA(record.hwnd, WM_DRAWITEM, 7, (LPARAM)&item), 99);
    EXPECT_EQ(SendMessageA(record.hwnd, WM_DRAWITEM, 0, (LPARAM)&item), 0);
    EXPECT_TRUE(g_seen.empty());
}

} // namespace
