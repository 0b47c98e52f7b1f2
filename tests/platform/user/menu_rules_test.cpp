// Menu items through MENUITEMINFOA, popup menus tracked with
// TrackPopupMenu, and the limit on how deep menus nest.
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

#include <string.h>

namespace {

class MenuRules : public UserTest {};

MENUITEMINFOA info_of(UINT mask) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    return info;
}

struct TextRow {
    UINT mask;
    UINT buffer; // cch given; 0 with no buffer
    const char* copied;
    UINT cch; // cch after the call
};

// The text of "&Open" (5 characters): as much as fits with its zero, cch
// the characters copied, or the whole length without a buffer.
const TextRow TEXT_ROWS[] = {
    {MIIM_STRING, 0, "", 5},     {MIIM_STRING, 10, "&Open", 5}, {MIIM_STRING, 3, "&O", 2},
    {MIIM_TYPE, 10, "&Open", 5}, {MIIM_TYPE, 1, "", 0},
};

TEST_F(MenuRules, GetMenuItemInfoText) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 101, "&Open");
    for (const TextRow& row : TEXT_ROWS) {
        SCOPED_TRACE(::testing::Message() << "mask " << row.mask << " cch " << row.buffer);
        char buffer[16];
        memset(buffer, 'x', sizeof buffer);
        MENUITEMINFOA info = info_of(row.mask);
        info.dwTypeData = row.buffer ? buffer : nullptr;
        info.cch = row.buffer;
        ASSERT_TRUE(GetMenuItemInfoA(menu, 101, FALSE, &info));
        EXPECT_EQ(info.cch, row.cch);
        // Wine copies a truncated text without its terminating zero;
        // Windows truncates and terminates.
        bool truncated = row.buffer != 0 && row.buffer <= 5;
        if (row.buffer != 0 && !(truncated && running_under_wine())) {
            EXPECT_STREQ(buffer, row.copied);
        }
    }
    DestroyMenu(menu);
}

TEST_F(MenuRules, InsertedItemReadsBack) {
    HMENU menu = CreatePopupMenu(), sub = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "One");
    AppendMenuA(menu, MF_STRING, 3, "Three");
    MENUITEMINFOA in = info_of(MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_FTYPE);
    in.fType = MFT_RADIOCHECK;
    in.fState = MFS_CHECKED | MFS_GRAYED;
    in.wID = 2;
    in.dwItemData = 0xC0FFEE;
    in.dwTypeData = (LPSTR) "Two";
    ASSERT_TRUE(InsertMenuItemA(menu, 3, FALSE, &in)) << "before command 3";
    MENUITEMINFOA popup = info_of(MIIM_SUBMENU | MIIM_STRING | MIIM_ID);
    popup.hSubMenu = sub;
    popup.wID = 9;
    popup.dwTypeData = (LPSTR) "More";
    ASSERT_TRUE(InsertMenuItemA(menu, 99, TRUE, &popup)) << "past the end: appended";
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(menu, 1), 2u);
    EXPECT_EQ(GetSubMenu(menu, 3), sub);
    char text[8] = {};
    MENUITEMINFOA out = info_of(MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_FTYPE);
    out.dwTypeData = text;
    out.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(menu, 1, TRUE, &out));
    EXPECT_STREQ(text, "Two");
    EXPECT_EQ(out.wID, 2u);
    EXPECT_EQ(out.fType, (UINT)MFT_RADIOCHECK);
    EXPECT_EQ(out.fState, (UINT)(MFS_CHECKED | MFS_GRAYED));
    EXPECT_EQ(out.dwItemData, (ULONG_PTR)0xC0FFEE);
    MENUITEMINFOA got = info_of(MIIM_SUBMENU | MIIM_ID);
    ASSERT_TRUE(GetMenuItemInfoA(menu, 3, TRUE, &got));
    EXPECT_EQ(got.hSubMenu, sub);
    EXPECT_EQ(got.wID, 9u);
    DestroyMenu(menu);
}

struct RefusalRow {
    bool bad_menu;
    UINT size; // cbSize
    UINT mask;
    UINT item;
    BOOL by_position;
    DWORD error;
};

const RefusalRow REFUSAL_ROWS[] = {
    {true, sizeof(MENUITEMINFOA), MIIM_ID, 0, TRUE, ERROR_INVALID_MENU_HANDLE},
    {false, 12, MIIM_ID, 0, TRUE, ERROR_INVALID_PARAMETER},
    {false, sizeof(MENUITEMINFOA), MIIM_ID, 5, TRUE, ERROR_MENU_ITEM_NOT_FOUND},
    {false, sizeof(MENUITEMINFOA), MIIM_ID, 77, FALSE, ERROR_MENU_ITEM_NOT_FOUND},
};

TEST_F(MenuRules, GetMenuItemInfoRefusals) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "One");
    HMENU dead = CreatePopupMenu();
    DestroyMenu(dead);
    for (const RefusalRow& row : REFUSAL_ROWS) {
        MENUITEMINFOA info = info_of(row.mask);
        info.cbSize = row.size;
        SetLastError(0xDEADBEEF);
        EXPECT_FALSE(
            GetMenuItemInfoA(row.bad_menu ? dead : menu, row.item, row.by_position, &info));
        // Wine reports a destroyed menu as a missing item; Windows checks
        // the handle first.
        if (!(row.bad_menu && running_under_wine())) {
            EXPECT_EQ(GetLastError(), row.error) << row.size << " " << row.item;
        }
    }
    MENUITEMINFOA mixed = info_of(MIIM_TYPE | MIIM_STRING);
    mixed.dwTypeData = (LPSTR) "x";
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(InsertMenuItemA(menu, 0, TRUE, &mixed)) << "MIIM_TYPE with MIIM_STRING";
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetMenuItemCount(menu), 1);
    DestroyMenu(menu);
}

// Menus nest only so deep, and never inside themselves; the refusal leaves
// the last error alone.
TEST_F(MenuRules, NestingIsLimited) {
    constexpr int COUNT = 100;
    HMENU menus[COUNT];
    for (HMENU& m : menus)
        m = CreatePopupMenu();
    SetLastError(0xDEADBEEF);
    int depth = 1;
    while (depth < COUNT && AppendMenuA(menus[depth], MF_POPUP, (UINT_PTR)menus[depth - 1], "s"))
        ++depth;
    EXPECT_LT(depth, COUNT) << "no limit on nesting";
    EXPECT_GE(depth, 20) << "a limit far below Windows'";
    EXPECT_EQ(GetLastError(), 0xDEADBEEFu);
    EXPECT_FALSE(AppendMenuA(menus[0], MF_POPUP, (UINT_PTR)menus[1], "loop"));
    EXPECT_FALSE(AppendMenuA(menus[2], MF_POPUP, (UINT_PTR)menus[2], "self"));
    for (HMENU m : menus)
        DestroyMenu(m);
}

// Keys posted when the menu drops down: they reach the menu's own loop.
UINT g_keys[3] = {};
LRESULT CALLBACK owner_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    if (message == WM_INITMENUPOPUP) {
        for (UINT key : g_keys)
            if (key != 0)
                PostMessageA(window, WM_KEYDOWN, key, 0);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

struct TrackRow {
    UINT flags;
    UINT keys[3];
    BOOL result;
    UINT posted_command; // 0: none
};

const TrackRow TRACK_ROWS[] = {
    {TPM_RETURNCMD, {VK_DOWN, VK_DOWN, VK_RETURN}, 202, 0},
    {TPM_RETURNCMD, {VK_ESCAPE, 0, 0}, 0, 0},
    {0, {VK_DOWN, VK_RETURN, 0}, TRUE, 201},
};

const ExpectedMessage TRACK_START[] = {
    {WM_ENTERMENULOOP, CHECK_W, TRUE, 0, MAIN},
    {WM_INITMENUPOPUP, MSG_ONLY, 0, 0, MAIN},
};

TEST_F(MenuRules, TrackPopupMenuChoosesByKeys) {
    register_test_class("ZandrelMenuOwner", owner_proc);
    HWND owner = make(MAIN, CAPTIONED_POPUP | WS_VISIBLE, 100, 100, 200, 150, nullptr, 0,
                      "ZandrelMenuOwner");
    settle();
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 201, "&First");
    AppendMenuA(menu, MF_STRING, 202, "&Second");
    for (const TrackRow& row : TRACK_ROWS) {
        SCOPED_TRACE(::testing::Message() << "flags " << row.flags << " key " << row.keys[0]);
        memcpy(g_keys, row.keys, sizeof g_keys);
        log_flush();
        BOOL result = TrackPopupMenu(menu, row.flags, 150, 150, 0, owner, nullptr);
        EXPECT_EQ(result, row.result);
        log_keep_only({WM_ENTERMENULOOP, WM_INITMENUPOPUP});
        expect_sequence(TRACK_START, "TrackPopupMenu opens");
        MSG msg;
        bool command = PeekMessageA(&msg, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE);
        EXPECT_EQ(command ? (UINT)msg.wParam : 0u, row.posted_command);
        pump_messages();
    }
    memset(g_keys, 0, sizeof g_keys);
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(TrackPopupMenu((HMENU)(ULONG_PTR)0xBAD0, 0, 0, 0, 0, owner, nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_MENU_HANDLE);
    DestroyMenu(menu);
}

} // namespace
