// MDI frames: the built-in Window menu and client window, MDI children on
// records, closing a child, and fitting the client window between bars.
#include "runtime/core/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/window/framework.h"
#include "runtime/window/window.h"
#include "tests/support/platform_reset.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

std::vector<WindowRecord*> g_menuTargets;
int32_t noteMenuTarget() {
    if (eventId == EVENT_MENU)
        g_menuTargets.push_back(eventWindow);
    return 0;
}

// A window class under a common-control name, standing in for the status
// and tool bars that layoutFrame recognises by class name alone.
void registerBarClass(const char* name) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

class Mdi : public ::testing::Test {
  protected:
    WindowRecord frame{};
    WindowRecord child{};

    void SetUp() override {
        reset_platform();
        resetRuntimeState();
        createPrivateHeap(); // class names are upper-cased on the heap
        g_menuTargets.clear();
        ASSERT_EQ(
            openWindow(&frame, 10, 10, 400, 300, OW_MDIFRAME, nullptr, "frame", noteMenuTarget), 1);
    }

    void TearDown() override {
        closeWindow(&child);
        closeWindow(&frame);
        destroyPrivateHeap();
    }

    RECT clientRect(HWND window) {
        RECT box;
        GetClientRect(window, &box);
        return box;
    }

    // The MDI client's outer rectangle in the frame's client coordinates
    // (its own client area leaves room for scroll bars).
    RECT placedClient() {
        RECT box;
        GetWindowRect(frame.mdiClient, &box);
        MapWindowPoints(nullptr, frame.hwnd, (POINT*)&box, 2);
        return box;
    }
};

TEST_F(Mdi, FrameHasWindowMenuAndClient) {
    char name[32] = {};
    GetClassNameA(frame.hwnd, name, sizeof name);
    EXPECT_STREQ(name, "OrvaneFrameClass");
    EXPECT_EQ(GetClassLongA(frame.hwnd, GCL_STYLE), 0x2008);
    ASSERT_NE(frame.mdiClient, nullptr);
    EXPECT_EQ(GetParent(frame.mdiClient), frame.hwnd);
    EXPECT_EQ(GetDlgCtrlID(frame.mdiClient), 3244);
    EXPECT_TRUE(IsWindowVisible(frame.mdiClient));
    EXPECT_EQ(GetClassWord(frame.mdiClient, GCW_ATOM), mdiClientAtom);
    RECT client = placedClient();
    RECT frameClient = clientRect(frame.hwnd);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, frameClient.right);
    EXPECT_EQ(client.bottom, frameClient.bottom);

    HMENU bar = GetMenu(frame.hwnd);
    ASSERT_NE(bar, nullptr);
    char text[32] = {};
    GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Window");
    HMENU windowMenu = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(windowMenu), 3);
    EXPECT_EQ(GetMenuItemID(windowMenu, 0), (UINT)CMD_MDI_CASCADE);
    EXPECT_EQ(GetMenuItemID(windowMenu, 1), (UINT)CMD_MDI_TILE);
    EXPECT_EQ(GetMenuItemID(windowMenu, 2), (UINT)CMD_MDI_ARRANGE);

    // The program's own bar replaces the built-in one.
    HMENU own = newMenu(0);
    appendMenuItem(own, "Game", MF_STRING, 1);
    setMenuBar(&frame, own);
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_FALSE(IsMenu(windowMenu));
}

TEST_F(Mdi, ChildOfFrameRecordIsMdiChild) {
    ASSERT_EQ(openWindow(&child, 0, 0, 150, 100, 0, &frame, "doc", nullptr), 1);
    EXPECT_EQ(GetParent(child.hwnd), frame.mdiClient);
    EXPECT_TRUE(GetWindowLongA(child.hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_TRUE(parentIsMdiClient(child.hwnd));
    EXPECT_FALSE(parentIsMdiClient(frame.hwnd));

    // Menu commands are reported for the topmost MDI child's record.
    SendMessageA(frame.hwnd, WM_COMMAND, 1, 0);
    ASSERT_EQ(g_menuTargets.size(), 1u);
    EXPECT_EQ(g_menuTargets[0], &child);

    HWND hwnd = child.hwnd;
    closeWindow(&child);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(IsWindow(frame.hwnd));
    EXPECT_TRUE(IsWindow(frame.mdiClient));
    EXPECT_EQ(GetWindow(frame.mdiClient, GW_CHILD), nullptr);
}

TEST_F(Mdi, ClientFitsAboveStatusBarAndBesideToolBars) {
    registerBarClass("msctls_statusbar32");
    registerBarClass("ToolbarWindow32");
    RECT frameClient = clientRect(frame.hwnd);
    HWND status = CreateWindowExA(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0,
                                  frameClient.bottom - 20, frameClient.right, 20, frame.hwnd,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(layoutFrame(frame.hwnd, frame.mdiClient), 1);
    RECT client = placedClient();
    EXPECT_EQ(client.bottom, frameClient.bottom - 20);
    EXPECT_EQ(client.right, frameClient.right);

    // A vertical tool bar at the top moves the left edge by its width.
    constexpr DWORD BAR_TOP = 0x1, BAR_VERTICAL = 0x80;
    HWND tools = CreateWindowExA(
        0, "ToolbarWindow32", "", WS_CHILD | WS_VISIBLE | BAR_TOP | BAR_VERTICAL, 0, 0, 24,
        frameClient.bottom - 20, frame.hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(layoutFrame(frame.hwnd, frame.mdiClient), 1);
    RECT placed = placedClient();
    EXPECT_EQ(placed.left, 24);
    EXPECT_EQ(placed.top, 0);
    EXPECT_EQ(placed.right, frameClient.right);
    EXPECT_EQ(placed.bottom, frameClient.bottom - 20);
}

TEST_F(Mdi, NoBarsLeavesTheClientAlone) {
    EXPECT_EQ(layoutFrame(frame.hwnd, frame.mdiClient), 0);
}

} // namespace
