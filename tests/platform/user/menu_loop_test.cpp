// The messages of the menu loop, driven from the keyboard and the mouse:
// keys posted to the window before the loop starts are what the loop reads. Each case is
// the loop's messages to the owner, in order, up to the command it posts.
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

#include <ctype.h>

namespace {

constexpr UINT ID_NEW = 101;
constexpr UINT ID_OPEN = 102;
constexpr UINT ID_HELP = 200;
constexpr UINT ID_ABOUT = 301;

// A bar of "&Game" (New, Open), the command "&Help" and "&View" (About).
HMENU make_bar(HMENU* game, HMENU* view) {
    HMENU bar = CreateMenu();
    *game = CreatePopupMenu();
    *view = CreatePopupMenu();
    AppendMenuA(*game, MF_STRING, ID_NEW, "&New");
    AppendMenuA(*game, MF_STRING, ID_OPEN, "&Open");
    AppendMenuA(*view, MF_STRING, ID_ABOUT, "&About");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)*game, "&Game");
    AppendMenuA(bar, MF_STRING, ID_HELP, "&Help");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)*view, "&View");
    return bar;
}

// Rows name menus by role in lParam/wParam: these stand for the handles,
// replaced when a case runs.
constexpr LPARAM BAR = 1;
constexpr LPARAM GAME = 2;
constexpr LPARAM VIEW = 3;

constexpr unsigned MENU_ROW = CHECK_WL;
constexpr WPARAM NOTHING_SELECTED = MAKEWPARAM(0, 0xFFFF);

// The loop's start and end are the same in every case; F10 starts it with
// no letter.
#define F10_LOOP {WM_SYSCOMMAND, CHECK_WL, SC_KEYMENU, 0, MAIN}, ENTER_LOOP
#define ENTER_LOOP                                                                                 \
    {WM_ENTERMENULOOP, CHECK_W, FALSE, 0, MAIN}, {                                                 \
        WM_INITMENU, MENU_ROW, BAR, 0, MAIN                                                        \
    }
#define LEAVE_LOOP(command)                                                                        \
    {WM_MENUSELECT, MENU_ROW, NOTHING_SELECTED, 0, MAIN},                                          \
        {WM_EXITMENULOOP, CHECK_W, FALSE, 0, MAIN}, {                                              \
        WM_COMMAND, CHECK_WL, command, 0, MAIN                                                     \
    }

// Game opens by keyboard with its first item selected.
#define OPEN_GAME                                                                                  \
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(0, MF_POPUP | MF_HILITE), BAR, MAIN},                     \
        {WM_INITMENUPOPUP, MENU_ROW, GAME, MAKELPARAM(0, FALSE), MAIN}, {                          \
        WM_MENUSELECT, MENU_ROW, MAKEWPARAM(ID_NEW, MF_HILITE), GAME, MAIN                         \
    }

// F10, Down, Enter: the first drop-down opens with its first item, which
// Enter chooses.
const ExpectedMessage DOWN_ENTER[] = {
    F10_LOOP,
    OPEN_GAME,
    {WM_UNINITMENUPOPUP, CHECK_W, GAME, 0, MAIN},
    LEAVE_LOOP(ID_NEW),
};

// Right to a command on the bar, Enter chooses it.
const ExpectedMessage BAR_COMMAND[] = {
    F10_LOOP,
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(0, MF_POPUP | MF_HILITE), BAR, MAIN},
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(ID_HELP, MF_HILITE), BAR, MAIN},
    LEAVE_LOOP(ID_HELP),
};

// With a drop-down open, Right closes it and selects the command; from
// there Right selects the next drop-down without opening it, and Enter
// opens it. Down moves within a drop-down.
const ExpectedMessage ACROSS_AND_DOWN[] = {
    F10_LOOP,
    OPEN_GAME,
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(ID_OPEN, MF_HILITE), GAME, MAIN},
    {WM_UNINITMENUPOPUP, CHECK_W, GAME, 0, MAIN},
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(ID_HELP, MF_HILITE), BAR, MAIN},
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(2, MF_POPUP | MF_HILITE), BAR, MAIN},
    {WM_INITMENUPOPUP, MENU_ROW, VIEW, MAKELPARAM(2, FALSE), MAIN},
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(ID_ABOUT, MF_HILITE), VIEW, MAIN},
    {WM_UNINITMENUPOPUP, CHECK_W, VIEW, 0, MAIN},
    LEAVE_LOOP(ID_ABOUT),
};

// Escape twice: the drop-down closes, then the loop ends without a command.
const ExpectedMessage ESCAPED[] = {
    F10_LOOP,
    OPEN_GAME,
    {WM_UNINITMENUPOPUP, CHECK_W, GAME, 0, MAIN},
    {WM_MENUSELECT, MENU_ROW, NOTHING_SELECTED, 0, MAIN},
    {WM_EXITMENULOOP, CHECK_W, FALSE, 0, MAIN},
};

// Alt+G arrives as WM_SYSCHAR; its default processing opens Game with its
// first item selected, and the letter O chooses Open.
const ExpectedMessage MNEMONICS[] = {
    {WM_SYSCHAR, CHECK_W, 'g', 0, MAIN},
    {WM_SYSCOMMAND, CHECK_WL, SC_KEYMENU, 'g', MAIN},
    ENTER_LOOP,
    OPEN_GAME,
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(ID_OPEN, MF_HILITE), GAME, MAIN},
    {WM_UNINITMENUPOPUP, CHECK_W, GAME, 0, MAIN},
    LEAVE_LOOP(ID_OPEN),
};

// Alt+H chooses the bar's command at once.
const ExpectedMessage MNEMONIC_OF_BAR_COMMAND[] = {
    {WM_SYSCHAR, CHECK_W, 'h', 0, MAIN},
    {WM_SYSCOMMAND, CHECK_WL, SC_KEYMENU, 'h', MAIN},
    ENTER_LOOP,
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(ID_HELP, MF_HILITE), BAR, MAIN},
    LEAVE_LOOP(ID_HELP),
};

// A click on the bar's command chooses it. Selections the mouse makes carry
// MF_MOUSESELECT on Windows; Wine 8 leaves the flag out (see
// without_mouse_select).
const ExpectedMessage CLICKED_BAR_COMMAND[] = {
    {WM_SYSCOMMAND, CHECK_W, SC_MOUSEMENU, 0, MAIN},
    ENTER_LOOP,
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(ID_HELP, MF_HILITE | MF_MOUSESELECT), BAR, MAIN},
    LEAVE_LOOP(ID_HELP),
};

// A click on Game opens it; Escape closes the drop-down, Escape again ends
// the loop.
const ExpectedMessage CLICKED_POPUP[] = {
    {WM_SYSCOMMAND, CHECK_W, SC_MOUSEMENU, 0, MAIN},
    ENTER_LOOP,
    {WM_MENUSELECT, MENU_ROW, MAKEWPARAM(0, MF_POPUP | MF_HILITE | MF_MOUSESELECT), BAR, MAIN},
    {WM_INITMENUPOPUP, MENU_ROW, GAME, MAKELPARAM(0, FALSE), MAIN},
    {WM_UNINITMENUPOPUP, CHECK_W, GAME, 0, MAIN},
    {WM_MENUSELECT, MENU_ROW, NOTHING_SELECTED, 0, MAIN},
    {WM_EXITMENULOOP, CHECK_W, FALSE, 0, MAIN},
};

struct Key {
    UINT message;
    WPARAM key;
};

struct LoopCase {
    const char* what;
    // 0: the loop starts as F10 starts it, and the keys are posted before.
    // Otherwise the letter typed with Alt; the keys are posted once the
    // drop-down has opened, as a user would type them.
    WPARAM alt_letter;
    Key keys[6]; // message 0 ends the list
    const ExpectedMessage* expected;
    size_t count;
    // Nonzero: the letter is typed, a posted WM_SYSKEYDOWN with this key
    // data that TranslateMessage turns into WM_SYSCHAR.
    LPARAM typed_key_data = 0;
    // 0 or more: the loop starts with a click on this bar item, and the keys
    // are posted once the drop-down has opened.
    int clicked_item = -1;
};

#define ROWS(table) table, sizeof table / sizeof table[0]

const LoopCase LOOP_CASES[] = {
    {"Down, Enter", 0, {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}}, ROWS(DOWN_ENTER)},
    {"Right to a bar command, Enter",
     0,
     {{WM_KEYDOWN, VK_RIGHT}, {WM_KEYDOWN, VK_RETURN}},
     ROWS(BAR_COMMAND)},
    {"Down, Down, Right, Right, Enter, Enter",
     0,
     {{WM_KEYDOWN, VK_DOWN},
      {WM_KEYDOWN, VK_DOWN},
      {WM_KEYDOWN, VK_RIGHT},
      {WM_KEYDOWN, VK_RIGHT},
      {WM_KEYDOWN, VK_RETURN},
      {WM_KEYDOWN, VK_RETURN}},
     ROWS(ACROSS_AND_DOWN)},
    {"Down, Escape, Escape",
     0,
     {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, VK_ESCAPE}},
     ROWS(ESCAPED)},
    {"Alt+G, O", 'g', {{WM_CHAR, 'o'}}, ROWS(MNEMONICS)},
    {"Alt+H", 'h', {}, ROWS(MNEMONIC_OF_BAR_COMMAND)},
    {"Alt+G typed, O", 'g', {{WM_CHAR, 'o'}}, ROWS(MNEMONICS), 0x20220001},
    {"click on Help", 0, {}, ROWS(CLICKED_BAR_COMMAND), 0, 1},
    {"click on Game, Escape, Escape",
     0,
     {{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, VK_ESCAPE}},
     ROWS(CLICKED_POPUP),
     0,
     0},
};

std::vector<Key> g_keys_after_popup;
bool g_loop_ended = false;

void pump_translated() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Input through the system reaches the queue some time later on Windows:
// pumps until the loop has ended, or for about two seconds.
void pump_until_the_loop_ends() {
    for (int i = 0; i < 200 && !g_loop_ended; ++i) {
        pump_translated();
        if (!g_loop_ended)
            let_time_pass(10);
    }
    pump_translated();
}

void click_bar_item(HWND window, HMENU bar, int item) {
    RECT rect{};
    ASSERT_TRUE(GetMenuItemRect(window, bar, (UINT)item, &rect));
    click_at({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void post_keys(HWND window, const std::vector<Key>& keys) {
    for (const Key& key : keys)
        if (key.message != 0)
            PostMessageA(window, key.message, key.key, 1);
}

LRESULT CALLBACK typing_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    if (message == WM_EXITMENULOOP)
        g_loop_ended = true;
    if (message == WM_INITMENUPOPUP) {
        post_keys(window, g_keys_after_popup);
        g_keys_after_popup.clear();
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

class MenuLoop : public UserTest {
  protected:
    static const char* typing_class() {
        static ATOM atom =
            register_test_class("ZandrelMenuTyping", typing_proc, 0, (HBRUSH)(COLOR_WINDOW + 1));
        return atom != 0 ? "ZandrelMenuTyping" : nullptr;
    }
};

// The menu handles stand in rows as BAR, GAME and VIEW.
void name_menus(std::vector<ExpectedMessage>* rows, HMENU bar, HMENU game, HMENU view) {
    auto handle = [&](LPARAM role) {
        return role == BAR ? (LPARAM)bar : role == GAME ? (LPARAM)game : (LPARAM)view;
    };
    for (ExpectedMessage& row : *rows) {
        if (row.message == WM_INITMENU || row.message == WM_INITMENUPOPUP ||
            row.message == WM_UNINITMENUPOPUP)
            row.wparam = (WPARAM)handle((LPARAM)row.wparam);
        if (row.message == WM_MENUSELECT && row.lparam != 0)
            row.lparam = handle(row.lparam);
    }
}

// Wine 8 never sets MF_MOUSESELECT in WM_MENUSELECT; Windows does, and so
// does the layer. Under Wine the rest of each row is still checked.
void without_mouse_select(std::vector<ExpectedMessage>* rows) {
    for (ExpectedMessage& row : *rows)
        if (row.message == WM_MENUSELECT && row.wparam != NOTHING_SELECTED)
            row.wparam &= ~(WPARAM)MAKEWPARAM(0, MF_MOUSESELECT);
}

TEST_F(MenuLoop, KeyboardAndMouseSequences) {
    for (const LoopCase& c : LOOP_CASES) {
        HWND window =
            make(MAIN, CAPTIONED_POPUP | WS_VISIBLE, 100, 80, 260, 150, nullptr, 0, typing_class());
        HMENU game, view;
        HMENU bar = make_bar(&game, &view);
        ASSERT_TRUE(SetMenu(window, bar));
        settle();
        std::vector<Key> keys(c.keys, c.keys + 6);
        if (c.alt_letter != 0 || c.clicked_item >= 0)
            g_keys_after_popup = keys;
        else
            post_keys(window, keys);
        g_loop_ended = false;
        if (c.clicked_item >= 0)
            click_bar_item(window, bar, c.clicked_item);
        else if (c.typed_key_data != 0)
            PostMessageA(window, WM_SYSKEYDOWN, toupper((int)c.alt_letter), c.typed_key_data);
        else if (c.alt_letter != 0)
            SendMessageA(window, WM_SYSCHAR, c.alt_letter, 1 | (1 << 29));
        else
            SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
        pump_until_the_loop_ends();
        log_keep_only({WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT,
                       WM_UNINITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND, WM_SYSCHAR, WM_SYSCOMMAND});
        std::vector<ExpectedMessage> rows(c.expected, c.expected + c.count);
        name_menus(&rows, bar, game, view);
        if (running_under_wine())
            without_mouse_select(&rows);
        expect_sequence_n(rows.data(), rows.size(), c.what);
        DestroyWindow(window);
        settle();
    }
}

} // namespace
