// Messages becoming events: the event state a handler sees and finds again
// afterwards, close requests, menu and control commands, resizing, the
// cursor; painting from the backing bitmap and erasing; the wait for events
// and timers.
#include "runtime/events/wait.h"
#include "runtime/window/framework.h"
#include "runtime/window/window.h"
#include "tests/runtime/window/framework_fixture.h"
#include "tests/support/bitmap_dc.h"
#include "tests/support/message_log.h"

#include <gtest/gtest.h>
#include <windows.h>

#ifndef _WIN32
#include "platform/host/headless/headless.h"
#endif

#include <vector>

namespace {

using namespace framework_test;

// Values that no dispatch produces, to see that a dispatch restores them.
void setSentinelState() {
    eventId = 77;
    eventWParam = 78;
    eventLParam = 79;
    mouseX = 80;
    mouseY = 81;
    eventWindow = nullptr;
    controlId = 82;
    notifyCode = 83;
}

void expectSentinelState() {
    EXPECT_EQ(eventId, 77);
    EXPECT_EQ(eventWParam, 78u);
    EXPECT_EQ(eventLParam, 79);
    EXPECT_EQ(mouseX, 80);
    EXPECT_EQ(mouseY, 81);
    EXPECT_EQ(eventWindow, nullptr);
    EXPECT_EQ(controlId, 82);
    EXPECT_EQ(notifyCode, 83);
}

class Events : public FrameworkTest {
  protected:
    void open(uint32_t flags, int32_t width = 300, int32_t height = 200) {
        ASSERT_EQ(
            openWindow(&record, 20, 20, width, height, flags, nullptr, "events", recordingHandler),
            1);
        settle();
    }

    // Handles what opening queued (paint, activation) and forgets it.
    void settle() {
        waitEvents(1);
        g_seen.clear();
    }

    // Fills the backing bitmap with `colour`, or its left and right halves.
    void paintBitmap(COLORREF left, COLORREF right) {
        BITMAP info{};
        GetObjectA(record.backBitmap, sizeof info, &info);
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, record.backBitmap);
        fillRect(memory, 0, 0, info.bmWidth / 2, info.bmHeight, left);
        fillRect(memory, info.bmWidth / 2, 0, info.bmWidth - info.bmWidth / 2, info.bmHeight,
                 right);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }

    // The window's client pixels as shown.
    void readClient(BitmapDc* target) {
        HDC dc = GetDC(record.hwnd);
        BitBlt(target->dc(), 0, 0, target->width(), target->height(), dc, 0, 0, SRCCOPY);
        ReleaseDC(record.hwnd, dc);
    }

    SIZE clientSize() {
        RECT client;
        GetClientRect(record.hwnd, &client);
        return {client.right, client.bottom};
    }
};

constexpr WPARAM THUMB_TRACK = 5; // SB_THUMBTRACK
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t RED = 0xFF0000; // as BitmapDc reads it: 0x00RRGGBB
constexpr uint32_t BLUE = 0x0000FF;

TEST_F(Events, MouseMovePublishedDuringHandlerAndRestoredAfter) {
    open(0);
    setSentinelState();
    SendMessageA(record.hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 50));
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].id, WM_MOUSEMOVE);
    EXPECT_EQ(g_seen[0].x, 100);
    EXPECT_EQ(g_seen[0].y, 50);
    EXPECT_EQ(g_seen[0].lParam, MK_LBUTTON) << "eventLParam holds the button flags";
    EXPECT_EQ(g_seen[0].window, &record);
    expectSentinelState();

    // Left of and above the client area, as while the mouse is captured.
    SendMessageA(record.hwnd, WM_RBUTTONUP, 0, MAKELPARAM(-3, -1));
    EXPECT_EQ(g_seen[1].x, 65533);
    EXPECT_EQ(g_seen[1].y, 65535);
}

int32_t g_nestedX = -1;
int32_t sendNestedMouseMove() {
    if (eventId == EVENT_MENU) {
        SendMessageA(eventWindow->hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));
        g_nestedX = mouseX;
        EXPECT_EQ(eventId, EVENT_MENU) << "the outer event is back after the nested one";
    }
    return 0;
}

TEST_F(Events, NestedEventLeavesTheOuterEventIntact) {
    open(0);
    g_action = sendNestedMouseMove;
    mouseX = 0;
    SendMessageA(record.hwnd, WM_COMMAND, 4, 0);
    EXPECT_EQ(seenIds(), (std::vector<int32_t>{EVENT_MENU, WM_MOUSEMOVE}));
    EXPECT_EQ(g_seen[1].x, 7);
    EXPECT_EQ(g_nestedX, 0);
}

TEST_F(Events, CloseRequestKeepsTheWindowOpen) {
    open(0);
    SendMessageA(record.hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(seenIds(), (std::vector<int32_t>{EVENT_CLOSE}));
    EXPECT_TRUE(IsWindow(record.hwnd));
    EXPECT_EQ(eventId, 0);
}

TEST_F(Events, MenuAndControlCommands) {
    open(0);
    setSentinelState();
    menuId = 0;
    SendMessageA(record.hwnd, WM_COMMAND, 5, 0);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].id, EVENT_MENU);
    EXPECT_EQ(g_seen[0].menu, 5);
    EXPECT_EQ(menuId, 5) << "menuId outlives the dispatch";
    expectSentinelState();

    HWND button = CreateWindowExA(0, "OrvaneWndClass", "", WS_CHILD, 0, 0, 10, 10, record.hwnd,
                                  (HMENU)7, GetModuleHandleA(nullptr), nullptr);
    g_seen.resize(1); // without the child's creation notice
    SendMessageA(record.hwnd, WM_COMMAND, MAKEWPARAM(7, 3), (LPARAM)button);
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[1].id, EVENT_CONTROL);
    EXPECT_EQ(g_seen[1].control, 7);
    EXPECT_EQ(g_seen[1].notify, 3);
    EXPECT_EQ(menuId, 5);
    expectSentinelState();

    NMHDR header = {button, 9, 0xFFFFFFF0u};
    SendMessageA(record.hwnd, WM_NOTIFY, 9, (LPARAM)&header);
    EXPECT_EQ(g_seen[2].id, EVENT_CONTROL);
    EXPECT_EQ(g_seen[2].control, 9);
    EXPECT_EQ(g_seen[2].notify, (int32_t)0xFFFFFFF0u);

    SendMessageA(record.hwnd, WM_VSCROLL, MAKEWPARAM(THUMB_TRACK, 40), (LPARAM)button);
    EXPECT_EQ(g_seen[3].id, WM_VSCROLL);
    EXPECT_EQ(g_seen[3].control, 7);
    EXPECT_EQ(g_seen[3].wParam, (WPARAM)THUMB_TRACK);
    EXPECT_EQ(g_seen[3].lParam, 40);
}

// A menu command is reported for the topmost child window with a record.
TEST_F(Events, MenuCommandGoesToTheTopmostChildRecord) {
    open(0);
    WindowRecord child{};
    ASSERT_EQ(openWindow(&child, 0, 0, 50, 50, OW_NOCAPTION, &record, "child", nullptr), 1);
    g_seen.clear();
    SendMessageA(record.hwnd, WM_COMMAND, 2, 0);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].window, &child);
    closeWindow(&child);
}

TEST_F(Events, ResizeDeliversResizeThenSize) {
    open(0);
    SetWindowPos(record.hwnd, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER);
    std::vector<int32_t> sizes;
    for (const Seen& s : g_seen)
        if (s.id == EVENT_RESIZE || s.id == WM_SIZE)
            sizes.push_back(s.id);
    EXPECT_EQ(sizes, (std::vector<int32_t>{EVENT_RESIZE, WM_SIZE}));
    const Seen* resize = find(EVENT_RESIZE);
    ASSERT_NE(resize, nullptr);
    EXPECT_EQ(resize->lParam, (LPARAM)record.hwnd);
    EXPECT_EQ(find(WM_SIZE)->lParam, MAKELPARAM(clientSize().cx, clientSize().cy));
}

TEST_F(Events, OnlyStretchWindowsInvalidateEverythingOnResize) {
    open(0);
    UpdateWindow(record.hwnd);
    SetWindowPos(record.hwnd, nullptr, 0, 0, 280, 180, SWP_NOMOVE | SWP_NOZORDER);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(record.hwnd, &update, FALSE)) << "shrinking uncovers nothing";
    closeWindow(&record);

    open(OW_STRETCH);
    UpdateWindow(record.hwnd);
    SetWindowPos(record.hwnd, nullptr, 0, 0, 280, 180, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(GetUpdateRect(record.hwnd, &update, FALSE));
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.top, 0);
    EXPECT_EQ(update.right, clientSize().cx);
    EXPECT_EQ(update.bottom, clientSize().cy);
}

TEST_F(Events, CursorOnlyOverTheOwnClientArea) {
    open(0);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    record.cursor = cross;
    SetCursor(arrow);
    SendMessageA(record.hwnd, WM_SETCURSOR, (WPARAM)record.hwnd,
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), cross);
    SetCursor(arrow);
    SendMessageA(record.hwnd, WM_SETCURSOR, (WPARAM)record.hwnd,
                 MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(Events, PaintCopiesOnlyTheUpdateRectangle) {
    open(0);
    UpdateWindow(record.hwnd);
    paintBitmap(RGB(255, 0, 0), RGB(255, 0, 0));
    RECT box = {10, 12, 30, 20};
    InvalidateRect(record.hwnd, &box, FALSE);
    UpdateWindow(record.hwnd);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(record.hwnd, &update, FALSE));
    BitmapDc shown(100, 60);
    readClient(&shown);
    RECT changed = shown.extent_of_changes(WHITE);
    EXPECT_EQ(changed.left, 10);
    EXPECT_EQ(changed.top, 12);
    EXPECT_EQ(changed.right, 30);
    EXPECT_EQ(changed.bottom, 20);
    EXPECT_EQ(shown.count(RED, box), 20 * 8);
}

TEST_F(Events, StretchWindowShowsTheBitmapScaled) {
    open(OW_STRETCH, 200, 150);
    SIZE original = clientSize();
    paintBitmap(RGB(255, 0, 0), RGB(0, 0, 255));
    // Twice the client size: the left half of the bitmap covers the left
    // half of the enlarged client area.
    RECT outer;
    GetWindowRect(record.hwnd, &outer);
    SetWindowPos(record.hwnd, nullptr, 0, 0, outer.right - outer.left + original.cx,
                 outer.bottom - outer.top + original.cy, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(record.hwnd);
    SIZE client = clientSize();
    ASSERT_EQ(client.cx, 2 * original.cx);
    BitmapDc shown(client.cx, client.cy);
    readClient(&shown);
    EXPECT_EQ(shown.pixel(client.cx / 4, client.cy / 2), RED);
    EXPECT_EQ(shown.pixel(client.cx - 3, client.cy - 3), BLUE);
    EXPECT_EQ(shown.pixel(original.cx - 4, 2), RED);
    EXPECT_EQ(shown.pixel(original.cx + 4, 2), BLUE);
}

TEST_F(Events, WindowWithoutBackingRepaintsThroughItsHandler) {
    open(OW_NOBACKING);
    InvalidateRect(record.hwnd, nullptr, TRUE);
    UpdateWindow(record.hwnd);
    std::vector<int32_t> ids = seenIds();
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], EVENT_ERASE);
    EXPECT_EQ(ids[1], WM_PAINT);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(record.hwnd, &update, FALSE));
}

int32_t changeColourDuringErase() {
    SetBkColor(eventWindow->paintDC, RGB(1, 2, 3));
    return 0;
}

TEST_F(Events, EraseFillsTheClipBoxAndDeliversEraseEvent) {
    open(0);
    record.windowColor = RGB(0, 0, 255);
    BitmapDc target(60, 40);
    target.fill(0);
    IntersectClipRect(target.dc(), 10, 5, 30, 25);
    SetBkColor(target.dc(), RGB(9, 9, 9));
    g_action = changeColourDuringErase;
    EXPECT_EQ(SendMessageA(record.hwnd, WM_ERASEBKGND, (WPARAM)target.dc(), 0), 1);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].id, EVENT_ERASE);
    EXPECT_EQ(g_seen[0].wParam, (WPARAM)target.dc());
    EXPECT_EQ(g_seen[0].paintDC, target.dc()) << "drawing goes to the erase context meanwhile";
    EXPECT_EQ(record.paintDC, nullptr);
    EXPECT_EQ(GetBkColor(target.dc()), RGB(9, 9, 9)) << "the context's state is restored";
    RECT clip = {10, 5, 30, 25};
    EXPECT_EQ(target.count(BLUE, clip), 20 * 20);
    RECT changed = target.extent_of_changes(0);
    EXPECT_EQ(changed.left, 10);
    EXPECT_EQ(changed.top, 5);
    EXPECT_EQ(changed.right, 30);
    EXPECT_EQ(changed.bottom, 25);
}

TEST_F(Events, WaitWithoutBlockingDrainsTheQueue) {
    open(0);
    // Returns at once with nothing queued.
    waitEvents(1);
    EXPECT_TRUE(g_seen.empty());
    PostMessageA(record.hwnd, WM_USER + 1, 1, 0);
    PostMessageA(record.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    PostMessageA(record.hwnd, WM_USER + 2, 2, 0);
    waitEvents(1);
    EXPECT_EQ(seenIds(), (std::vector<int32_t>{WM_USER + 1, WM_MOUSEMOVE, WM_USER + 2}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Events, BlockingWaitReturnsAfterTheTimerMessage) {
    open(0);
#ifndef _WIN32
    uint64_t before = headless_clock_us();
#endif
    startTimer(&record, 30, 7, nullptr);
    waitEvents(0);
    const Seen* tick = find(WM_TIMER);
    ASSERT_NE(tick, nullptr);
    EXPECT_EQ(tick->wParam, 7u);
#ifndef _WIN32
    EXPECT_GE(headless_clock_us() - before, 30000u);
#endif
    KillTimer(record.hwnd, 7);
}

TEST_F(Events, StartTimerOnClosedRecordStartsNothing) {
    WindowRecord closed{};
    EXPECT_EQ(startTimer(&closed, 10, 1, nullptr), 0);
    // Long enough for a 10 ms timer to have fired several times.
#ifndef _WIN32
    headless_advance_clock_us(100'000);
#else
    Sleep(100);
#endif
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

// A key filter of a hosted component sees key-downs for a foreign child
// window with the record of the framework window around it.
std::vector<HWND> g_filtered;
int32_t consumeKeys(HWND window, MSG*) {
    g_filtered.push_back(window);
    return 1;
}

TEST_F(Events, KeyFilterTakesKeysOfForeignChildren) {
    open(0);
    register_test_class("ForeignChildClass", DefWindowProcA);
    HWND foreign = CreateWindowExA(0, "ForeignChildClass", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                   record.hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    g_seen.clear();
    ComponentHooks hooks{};
    hooks.keyFilter = consumeKeys;
    record.hookTable = &hooks;
    g_filtered.clear();
    PostMessageA(foreign, WM_KEYDOWN, 'A', 0);
    PostMessageA(record.hwnd, WM_KEYUP, 'A', 0);
    waitEvents(1);
    record.hookTable = nullptr;
    EXPECT_EQ(g_filtered, (std::vector<HWND>{record.hwnd}));
    EXPECT_EQ(seenIds(), (std::vector<int32_t>{WM_KEYUP})) << "the key-down was consumed";
    DestroyWindow(foreign);
}

} // namespace
