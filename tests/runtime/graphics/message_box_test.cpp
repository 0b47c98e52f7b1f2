// Message boxes centred on their owner: the placement rule of the creation
// hook, and whole boxes that are shown and answered.
#include "runtime/graphics/message_box.h"

#include "tests/runtime/graphics/test_window.h"
#include "tests/support/platform_info.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using MessageBoxTest = GraphicsTest;

RECT work_area() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// What the hook does to a window of the style and size about to be created
// with `parent`. Returns the hook's result; the position lands in *at.
LRESULT create_through_hook(HWND parent, LONG style, int width, int height, POINT* at,
                            int code = HCBT_CREATEWND) {
    CREATESTRUCTA create{};
    create.hwndParent = parent;
    create.style = style;
    create.cx = width;
    create.cy = height;
    create.x = -12345;
    create.y = -12345;
    CBT_CREATEWNDA cbt{};
    cbt.lpcs = &create;
    LRESULT result = centreBoxHook(code, 0, (LPARAM)&cbt);
    *at = {create.x, create.y};
    return result;
}

TEST_F(MessageBoxTest, HookCentresOnTheOwner) {
    window.open(1, 100, 100, 640, 368);
    RECT owner;
    GetWindowRect(record.hwnd, &owner);
    POINT at;
    EXPECT_EQ(create_through_hook(record.hwnd, (LONG)WS_POPUP, 300, 120, &at), 0);
    EXPECT_EQ(at.x, (owner.right - owner.left - 300) / 2 + owner.left);
    EXPECT_EQ(at.y, (owner.bottom - owner.top - 120) / 2 + owner.top);
    if (owner.left == 100 && owner.top == 100 && owner.right == 740) {
        EXPECT_EQ(at.x, 270);
        EXPECT_EQ(at.y, 224);
    }
    // A dialog frame alone is enough.
    create_through_hook(record.hwnd, WS_DLGFRAME, 300, 120, &at);
    EXPECT_EQ(at.x, (owner.right - owner.left - 300) / 2 + owner.left);
}

TEST_F(MessageBoxTest, HookKeepsTheBoxOnTheScreen) {
    RECT work = work_area();
    POINT at;
    window.open(1, -600, -300, 640, 368);
    create_through_hook(record.hwnd, (LONG)WS_POPUP, 300, 120, &at);
    EXPECT_EQ(at.x, 0) << "clamped at the screen's edge";
    EXPECT_EQ(at.y, 0);
    window.close();

    window.open(1, work.right - 100, work.bottom - 50, 640, 368);
    create_through_hook(record.hwnd, (LONG)WS_POPUP, 300, 120, &at);
    EXPECT_EQ(at.x, work.right - 300) << "the work area's right edge";
    EXPECT_EQ(at.y, work.bottom - 120) << "the work area's bottom edge";
}

TEST_F(MessageBoxTest, HookWithoutOwnerCentresOnTheDesktop) {
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    POINT at;
    create_through_hook(nullptr, (LONG)WS_POPUP, 300, 120, &at);
    EXPECT_EQ(at.x, (desktop.right - desktop.left - 300) / 2 + desktop.left);
    EXPECT_EQ(at.y, (desktop.bottom - desktop.top - 120) / 2 + desktop.top);
}

TEST_F(MessageBoxTest, HookLeavesOtherWindowsAndEventsAlone) {
    window.open();
    POINT at;
    create_through_hook(record.hwnd, WS_CHILD | WS_BORDER, 300, 120, &at);
    EXPECT_EQ(at.x, -12345) << "neither a dialog frame nor a popup";
    create_through_hook(record.hwnd, (LONG)WS_POPUP, 300, 120, &at, HCBT_ACTIVATE);
    EXPECT_EQ(at.x, -12345) << "not a creation";
}

// The box as the timer found it, and the answer given to it.
struct SeenBox {
    HWND owner = nullptr;
    HWND box = nullptr;
    RECT rect{};
};
SeenBox g_seen;

void CALLBACK answer_box(HWND window, UINT, UINT_PTR id, DWORD) {
    HWND active = GetActiveWindow();
    if (active == nullptr || active == g_seen.owner)
        return;
    KillTimer(window, id);
    g_seen.box = active;
    GetWindowRect(active, &g_seen.rect);
    PostMessageA(active, WM_COMMAND, IDOK, 0);
}

TEST_F(MessageBoxTest, BoxIsCentredOnItsOwnerAndAnswers) {
    window.open(1, 150, 120, 640, 368);
    g_seen = SeenBox{};
    g_seen.owner = record.hwnd;
    SetTimer(record.hwnd, 7, 50, answer_box);
    EXPECT_EQ(messageBox(&record, "Crash!!!\r\nScore: 57", "Alert", 0), IDOK);
    EXPECT_EQ(centreHook, nullptr) << "the hook is gone";
    ASSERT_NE(g_seen.box, nullptr) << "the box was never active";
    EXPECT_FALSE(IsWindow(g_seen.box));

    RECT owner;
    GetWindowRect(record.hwnd, &owner);
    LONG width = g_seen.rect.right - g_seen.rect.left;
    LONG height = g_seen.rect.bottom - g_seen.rect.top;
    if (running_under_wine()) {
        // Windows creates the window where a WH_CBT hook writes the
        // CREATESTRUCT of HCBT_CREATEWND; Wine 8 discards those writes and
        // keeps its own placement, so the position cannot be checked there.
        GTEST_SKIP() << "known Wine difference: CBT creation writes are discarded";
    }
    EXPECT_EQ(g_seen.rect.left, (owner.right - owner.left - width) / 2 + owner.left);
    EXPECT_EQ(g_seen.rect.top, (owner.bottom - owner.top - height) / 2 + owner.top);
}

TEST_F(MessageBoxTest, BoxWithoutOwnerAnswersToo) {
    window.open();
    g_seen = SeenBox{};
    g_seen.owner = record.hwnd;
    SetTimer(record.hwnd, 7, 50, answer_box);
    // The timer still runs: the box's loop dispatches the thread's messages.
    EXPECT_EQ(messageBox(nullptr, "About", "About", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_NE(g_seen.box, nullptr);
    EXPECT_EQ(centreHook, nullptr);
}

} // namespace
