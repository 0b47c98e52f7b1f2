// Opening windows on records (styles, backing bitmap, captured drawing state,
// creation events), centring them, menu bars and closing.
#include "runtime/window/framework.h"
#include "runtime/window/window.h"
#include "tests/runtime/window/framework_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#ifndef _WIN32
#include <layer/gdi.h>
#endif

#include <vector>

namespace {

using namespace framework_test;

constexpr uint32_t GAME_FLAGS = 0x20000;

class OpenClose : public FrameworkTest {
  protected:
    WindowRecord other{};

    void TearDown() override {
        g_action = nullptr;
        closeWindow(&other);
        FrameworkTest::TearDown();
    }

    void openGameWindow() {
        ASSERT_EQ(
            openWindow(&record, 0, 0, 640, 368, GAME_FLAGS, nullptr, "Zandrel", recordingHandler),
            1);
    }

    static RECT workArea() {
        RECT area;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        return area;
    }

    static RECT windowRect(HWND window) {
        RECT box;
        GetWindowRect(window, &box);
        return box;
    }
};

TEST_F(OpenClose, GameWindowStyleBitmapAndState) {
    openGameWindow();
    ASSERT_NE(record.hwnd, nullptr);
    // The layer, like Windows, adds WS_CLIPSIBLINGS to top-level windows.
    EXPECT_EQ((DWORD)GetWindowLongA(record.hwnd, GWL_STYLE) & ~(DWORD)WS_CLIPSIBLINGS, 0x92CA0000u);
    EXPECT_EQ(GetWindowLongA(record.hwnd, GWL_EXSTYLE) &
                  (WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_MDICHILD),
              0);
    EXPECT_TRUE(IsWindowVisible(record.hwnd));
    EXPECT_EQ(GetMenu(record.hwnd), nullptr);
    EXPECT_EQ((WindowRecord*)GetWindowLongPtrA(record.hwnd, 0), &record);
    EXPECT_EQ(windowRecordOf(record.hwnd), &record);
    EXPECT_EQ(GetClassWord(record.hwnd, GCW_ATOM), wndClassAtom);
    char className[32] = {};
    GetClassNameA(record.hwnd, className, sizeof className);
    EXPECT_STREQ(className, "OrvaneWndClass");
    EXPECT_EQ(GetClassLongA(record.hwnd, GCL_STYLE), 0x1008);

    EXPECT_EQ(record.backingMode, 1u);
    BITMAP info{};
    ASSERT_NE(GetObjectA(record.backBitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(info.bmHeight, GetSystemMetrics(SM_CYSCREEN));

    // Both far corners hold the window colour: the whole bitmap was filled.
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, record.backBitmap);
    COLORREF windowColour = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(GetPixel(memory, 0, 0), windowColour);
    EXPECT_EQ(GetPixel(memory, info.bmWidth - 1, info.bmHeight - 1), windowColour);
    SelectObject(memory, previous);
    DeleteDC(memory);

    EXPECT_EQ(record.windowColor, windowColour);
    EXPECT_EQ(record.bkMode, OPAQUE);
    EXPECT_EQ(record.drawMode, R2_COPYPEN);
    EXPECT_EQ(record.penStyle, 0);
    EXPECT_EQ(record.penWidth, 1);
    EXPECT_EQ(record.curPos.x, 0);
    EXPECT_EQ(record.curPos.y, 0);
    EXPECT_EQ(record.cursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(record.handler, recordingHandler);
    EXPECT_EQ(record.paintDC, nullptr);
    EXPECT_EQ(record.drawDC, nullptr);
    LOGPEN pen{};
    ASSERT_NE(GetObjectA(record.pen, sizeof pen, &pen), 0);
    EXPECT_EQ(pen.lopnStyle, (UINT)PS_SOLID);
    EXPECT_EQ(pen.lopnColor, RGB(0, 0, 0));
    LOGFONTA font{};
    EXPECT_NE(GetObjectA(record.font, sizeof font, &font), 0);
    // 0xFFFF, or the MDI client's atom when an earlier test made a frame.
    EXPECT_NE(mdiClientAtom, 0);
    EXPECT_FALSE(parentIsMdiClient(record.hwnd));
}

TEST_F(OpenClose, HandlerHearsCreationThroughCreatingRecord) {
    openGameWindow();
    EXPECT_EQ(creatingRecord, nullptr);
    ASSERT_TRUE(sawEvent(WM_CREATE));
    for (const Seen& s : g_seen) {
        if (s.id == WM_CREATE) {
            EXPECT_EQ(s.recordHwnd, record.hwnd) << "the record names the window being created";
        }
    }
    // During creation the size message arrives raw, without EVENT_RESIZE.
    EXPECT_FALSE(sawEvent(EVENT_RESIZE));
}

TEST_F(OpenClose, BackingVariants) {
    // Stretch without backing still has a client-sized bitmap.
    ASSERT_EQ(
        openWindow(&record, 10, 10, 200, 150, OW_NOBACKING | OW_STRETCH, nullptr, "s", nullptr), 1);
    EXPECT_EQ(record.backingMode, BACKING_STRETCH);
    RECT client;
    GetClientRect(record.hwnd, &client);
    BITMAP info{};
    ASSERT_NE(GetObjectA(record.backBitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, client.right);
    EXPECT_EQ(info.bmHeight, client.bottom);

    // The window-sized bitmap has one spare column and row, not filled.
    ASSERT_EQ(openWindow(&other, 10, 10, 120, 80, OW_BACKING_WINDOWSIZE, nullptr, "w", nullptr), 1);
    ASSERT_NE(GetObjectA(other.backBitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 121);
    EXPECT_EQ(info.bmHeight, 81);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, other.backBitmap);
    EXPECT_EQ(GetPixel(memory, 119, 79), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetPixel(memory, 120, 80), RGB(0, 0, 0));
    SelectObject(memory, previous);
    DeleteDC(memory);
}

TEST_F(OpenClose, NoBackingCaptionlessToolWindow) {
    ASSERT_EQ(openWindow(&record, 10, 10, 200, 150,
                         OW_NOBACKING | OW_NOCAPTION | OW_TOOLWINDOW | OW_TOPMOST, nullptr, "t",
                         nullptr),
              1);
    EXPECT_EQ(record.backingMode, 0u);
    EXPECT_EQ(record.backBitmap, nullptr);
    DWORD style = (DWORD)GetWindowLongA(record.hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), 0u);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN),
              (DWORD)(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN));
    DWORD exStyle = (DWORD)GetWindowLongA(record.hwnd, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              (DWORD)(WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    EXPECT_NE(record.pen, nullptr) << "the drawing state is captured without a bitmap too";
}

TEST_F(OpenClose, CentreGameWindowOnWorkArea) {
    openGameWindow();
    RECT area = workArea();
    centerWindow(&record);
    RECT box = windowRect(record.hwnd);
    EXPECT_EQ(box.left, (area.left + area.right) / 2 - 320);
    EXPECT_EQ(box.top, (area.top + area.bottom) / 2 - 184);
    EXPECT_EQ(box.right - box.left, 640);
    EXPECT_EQ(box.bottom - box.top, 368);
#ifndef _WIN32
    EXPECT_EQ(box.left, 192);
    EXPECT_EQ(box.top, 180);
#endif
}

TEST_F(OpenClose, CentreOversizedWindowKeepsTopLeftOnWorkArea) {
    RECT area = workArea();
    int32_t w = area.right - area.left + 200;
    int32_t h = area.bottom - area.top + 200;
    ASSERT_EQ(openWindow(&record, 50, 50, w, h, 0, nullptr, "big", nullptr), 1);
    centerWindow(&record);
    RECT box = windowRect(record.hwnd);
    EXPECT_EQ(box.left, area.left);
    EXPECT_EQ(box.top, area.top);
}

TEST_F(OpenClose, ChildCentresOnParentClientArea) {
    openGameWindow();
    ASSERT_EQ(openWindow(&other, 0, 0, 100, 50, OW_NOCAPTION, &record, "child", nullptr), 1);
    EXPECT_EQ(GetParent(other.hwnd), record.hwnd);
    DWORD style = (DWORD)GetWindowLongA(other.hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_POPUP), (DWORD)(WS_CHILD | WS_CLIPSIBLINGS));
    centerWindow(&other);
    RECT parentClient;
    GetClientRect(record.hwnd, &parentClient);
    RECT box = windowRect(other.hwnd);
    MapWindowPoints(nullptr, record.hwnd, (POINT*)&box, 2);
    EXPECT_EQ(box.left, parentClient.right / 2 - 50);
    EXPECT_EQ(box.top, parentClient.bottom / 2 - 25);
}

// An owned popup: centred on its owner while the owner is shown, on the
// work area once the owner is hidden or minimised.
TEST_F(OpenClose, CentreOnOwnerUnlessHiddenOrMinimised) {
    openGameWindow();
    SetWindowPos(record.hwnd, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND owned = CreateWindowExA(0, "OrvaneWndClass", "owned", WS_POPUP | WS_VISIBLE, 0, 0, 100, 60,
                                 record.hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owned, nullptr);
    other.hwnd = owned; // centerWindow needs nothing else of the record
    centerWindow(&other);
    RECT box = windowRect(owned);
    EXPECT_EQ(box.left, 40 + 320 - 50);
    EXPECT_EQ(box.top, 30 + 184 - 30);

    RECT area = workArea();
    ShowWindow(record.hwnd, SW_HIDE);
    centerWindow(&other);
    box = windowRect(owned);
    EXPECT_EQ(box.left, (area.left + area.right) / 2 - 50);
    EXPECT_EQ(box.top, (area.top + area.bottom) / 2 - 30);
    DestroyWindow(owned);
    other.hwnd = nullptr;
}

TEST_F(OpenClose, ClosedRecordIsIgnored) {
    EXPECT_EQ(centerWindow(&record), 0);
    EXPECT_EQ(closeWindow(&record), 0);
    HMENU bar = newMenu(0);
    EXPECT_EQ(setMenuBar(&record, bar), 0);
    EXPECT_TRUE(IsMenu(bar)) << "a closed record leaves the menu alone";
    DestroyMenu(bar);
}

TEST_F(OpenClose, CloseTwiceDestroysOnce) {
    openGameWindow();
    HWND hwnd = record.hwnd;
    g_seen.clear();
    EXPECT_EQ(closeWindow(&record), 0);
    EXPECT_EQ(record.hwnd, nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(record.backBitmap, nullptr);
    EXPECT_EQ(record.pen, nullptr);
    EXPECT_EQ(record.font, nullptr);
    // The destruction reached the handler while the record still named it.
    ASSERT_TRUE(sawEvent(WM_DESTROY));
    for (const Seen& s : g_seen) {
        if (s.id == WM_DESTROY) {
            EXPECT_EQ(s.recordHwnd, hwnd);
        }
    }
    g_seen.clear();
    EXPECT_EQ(closeWindow(&record), 0);
    EXPECT_TRUE(g_seen.empty());
}

int32_t closeOnCloseRequest() {
    if (eventId == EVENT_CLOSE)
        closeWindow(eventWindow);
    return 0;
}

TEST_F(OpenClose, CloseFromInsideTheHandler) {
    openGameWindow();
    HWND hwnd = record.hwnd;
    g_seen.clear();
    g_action = closeOnCloseRequest;
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(record.hwnd, nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    // The destruction messages arrived nested inside the close event.
    ASSERT_GE(g_seen.size(), 2u);
    EXPECT_EQ(g_seen.front().id, EVENT_CLOSE);
    EXPECT_TRUE(sawEvent(WM_DESTROY));
    EXPECT_EQ(eventId, 0) << "the event state is empty again";
}

// A record that is closed, reopened without backing bitmap and closed again
// must not delete its first bitmap a second time: by then the handle may
// name someone else's object.
TEST_F(OpenClose, ReopenedRecordDeletesEveryObjectOnce) {
#ifndef _WIN32
    UINT bitmaps = layer_gdi_object_count(OBJ_BITMAP);
    UINT pens = layer_gdi_object_count(OBJ_PEN);
    UINT fonts = layer_gdi_object_count(OBJ_FONT);
#endif
    openGameWindow();
#ifndef _WIN32
    EXPECT_EQ(layer_gdi_object_count(OBJ_BITMAP), bitmaps + 1);
    EXPECT_EQ(layer_gdi_object_count(OBJ_PEN), pens + 1);
    EXPECT_EQ(layer_gdi_object_count(OBJ_FONT), fonts + 1);
#endif
    closeWindow(&record);
    HDC screen = GetDC(nullptr);
    HBITMAP someoneElses = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(openWindow(&record, 0, 0, 200, 100, OW_NOBACKING, nullptr, "again", nullptr), 1);
    EXPECT_EQ(record.backBitmap, nullptr);
    closeWindow(&record);
    BITMAP info{};
    EXPECT_NE(GetObjectA(someoneElses, sizeof info, &info), 0);
    DeleteObject(someoneElses);
#ifndef _WIN32
    EXPECT_EQ(layer_gdi_object_count(OBJ_BITMAP), bitmaps);
    EXPECT_EQ(layer_gdi_object_count(OBJ_PEN), pens);
    EXPECT_EQ(layer_gdi_object_count(OBJ_FONT), fonts);
#endif
}

// What the window's accelerator property held while WM_DESTROY ran.
HANDLE g_tableAtDestroy = (HANDLE)1;
int32_t notePropertyAtDestroy() {
    if (eventId == WM_DESTROY)
        g_tableAtDestroy = GetPropA(eventWindow->hwnd, "_ACCEL_TABLE");
    return 0;
}

TEST_F(OpenClose, CloseDestroysTheAcceleratorTable) {
    openGameWindow();
    ACCEL entry{FVIRTKEY, 'K', 42};
    HACCEL table = CreateAcceleratorTableA(&entry, 1);
    ASSERT_NE(table, nullptr);
    SetPropA(record.hwnd, "_ACCEL_TABLE", table);
    ASSERT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 1);
    g_action = notePropertyAtDestroy;
    closeWindow(&record);
    EXPECT_EQ(g_tableAtDestroy, nullptr) << "the property is gone before the window";
    EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 0) << "the table is destroyed";
}

// A record whose pen or font is already gone closes cleanly and deletes
// exactly the objects it still holds.
TEST_F(OpenClose, CloseWithoutPenOrFont) {
    static const struct {
        bool pen;
        bool font;
    } CASES[] = {{false, true}, {true, false}, {false, false}};
    for (const auto& c : CASES) {
        SCOPED_TRACE(testing::Message() << "pen " << c.pen << ", font " << c.font);
#ifndef _WIN32
        UINT bitmaps = layer_gdi_object_count(OBJ_BITMAP);
        UINT pens = layer_gdi_object_count(OBJ_PEN);
        UINT fonts = layer_gdi_object_count(OBJ_FONT);
#endif
        openGameWindow();
        HGDIOBJ bitmap = record.backBitmap;
        HGDIOBJ pen = record.pen;
        HGDIOBJ font = record.font;
        if (!c.pen) {
            DeleteObject(record.pen);
            record.pen = nullptr;
        }
        if (!c.font) {
            DeleteObject(record.font);
            record.font = nullptr;
        }
        EXPECT_EQ(closeWindow(&record), 0);
        EXPECT_EQ(record.hwnd, nullptr);
        BITMAP info{};
        EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), 0) << "the bitmap is deleted";
        LOGPEN penInfo{};
        EXPECT_EQ(GetObjectA(pen, sizeof penInfo, &penInfo), 0);
        LOGFONTA fontInfo{};
        EXPECT_EQ(GetObjectA(font, sizeof fontInfo, &fontInfo), 0);
#ifndef _WIN32
        EXPECT_EQ(layer_gdi_object_count(OBJ_BITMAP), bitmaps);
        EXPECT_EQ(layer_gdi_object_count(OBJ_PEN), pens);
        EXPECT_EQ(layer_gdi_object_count(OBJ_FONT), fonts);
#endif
    }
}

std::vector<int> g_hookCalls;
void hookRelease(HWND, uintptr_t data) {
    g_hookCalls.push_back((int)data);
}
void hookClose(HWND) {
    g_hookCalls.push_back(-1);
}

TEST_F(OpenClose, CloseReleasesComponentHooks) {
    openGameWindow();
    auto* hooks = (ComponentHooks*)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(ComponentHooks));
    hooks->onRelease = hookRelease;
    hooks->onClose = hookClose;
    hooks->userData = 42;
    record.hookTable = hooks;
    g_hookCalls.clear();
    closeWindow(&record);
    EXPECT_EQ(g_hookCalls, (std::vector<int>{42, -1}));
    EXPECT_EQ(record.hookTable, nullptr);
}

TEST_F(OpenClose, MenuBarReplacesAndDestroysTheOldOne) {
    openGameWindow();
    HMENU bar = newMenu(0);
    HMENU game = newMenu(0);
    appendMenuItem(game, "New", MF_STRING, 1);
    appendMenuItem(game, "", MF_SEPARATOR, 0);
    appendMenuItem(game, "Quit", MF_STRING, 2);
    appendMenuItem(bar, "Game", MF_POPUP, (UINT_PTR)game);
    appendMenuItem(nullptr, "ignored", MF_STRING, 9);
    EXPECT_EQ(GetMenuItemCount(game), 3);
    EXPECT_EQ(GetSubMenu(bar, 0), game);
    setMenuBar(&record, bar);
    EXPECT_EQ(GetMenu(record.hwnd), bar);

    // Attaching the bar it already has keeps it.
    setMenuBar(&record, bar);
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_EQ(GetMenu(record.hwnd), bar);

    HMENU second = newMenu(0);
    appendMenuItem(second, "Help", MF_STRING, 5);
    setMenuBar(&record, second);
    EXPECT_EQ(GetMenu(record.hwnd), second);
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_FALSE(IsMenu(game));

    HMENU popup = newMenu(1);
    EXPECT_TRUE(IsMenu(popup));
    DestroyMenu(popup);
}

} // namespace
