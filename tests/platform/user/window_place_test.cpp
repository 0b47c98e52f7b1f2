// What WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED tell a window about its
// place: the real rectangle where a call leaves place or size alone, the
// final rectangle afterwards, and whether the client area kept its size and
// place (SWP_NOCLIENTSIZE, SWP_NOCLIENTMOVE). Then what a frame change
// sends.
#include "tests/platform/user/user_fixture.h"

namespace {

constexpr UINT NOSIZEMOVE = SWP_NOSIZE | SWP_NOMOVE;
constexpr unsigned PLACE = CHECK_PLACE | CHECK_CLIENT;

// Both messages of one change, compared for place and client flags only:
// which z-order and activation flags come with them is tested elsewhere.
#define CHANGE_OF(role, client_flags)                                                              \
    {WM_WINDOWPOSCHANGING, CHECK_PLACE, 0, 0, role}, {                                             \
        WM_WINDOWPOSCHANGED, PLACE, 0, (client_flags), role                                        \
    }

// Creating a visible popup shows it; activating it may raise it once more.
const ExpectedMessage CREATE_SHOWN[] = {
    CHANGE_OF(MAIN, NOCLIENTCHANGE),
    {WM_WINDOWPOSCHANGING, CHECK_PLACE | MAYBE, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, PLACE | MAYBE, 0, NOCLIENTCHANGE, MAIN},
};
const ExpectedMessage SHOW_OR_HIDE[] = {CHANGE_OF(MAIN, NOCLIENTCHANGE)};
const ExpectedMessage MOVED[] = {CHANGE_OF(MAIN, SWP_NOCLIENTSIZE)};
const ExpectedMessage SIZED[] = {CHANGE_OF(MAIN, SWP_NOCLIENTMOVE)};
const ExpectedMessage MOVED_AND_SIZED[] = {CHANGE_OF(MAIN, 0)};
const ExpectedMessage CHILD_SHOW_OR_HIDE[] = {CHANGE_OF(CHILD, NOCLIENTCHANGE)};
const ExpectedMessage CHILD_MOVED[] = {CHANGE_OF(CHILD, SWP_NOCLIENTSIZE)};
const ExpectedMessage CHILD_SIZED[] = {CHANGE_OF(CHILD, SWP_NOCLIENTMOVE)};
// A child is hidden before it is destroyed.
const ExpectedMessage CHILD_DESTROYED[] = {CHANGE_OF(CHILD, NOCLIENTCHANGE)};

struct PlaceCase {
    const char* what;
    bool child;   // the action is on a visible child of a visible popup
    bool visible; // the window starts visible
    void (*action)(HWND* window, HWND parent);
    const ExpectedMessage* expected;
    size_t count;
};

#define ROWS(table) table, sizeof table / sizeof table[0]

void create_shown(HWND* window, HWND) {
    *window = CreateWindowExA(0, recording_class(), "shown", CAPTIONED_POPUP | WS_VISIBLE, 120, 90,
                              200, 150, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    log_watch(*window, MAIN);
}

const PlaceCase PLACE_CASES[] = {
    {"created with WS_VISIBLE", false, false, create_shown, ROWS(CREATE_SHOWN)},
    {"ShowWindow(SW_SHOWNA)", false, false, [](HWND* w, HWND) { ShowWindow(*w, SW_SHOWNA); },
     ROWS(SHOW_OR_HIDE)},
    {"ShowWindow(SW_HIDE)", false, true, [](HWND* w, HWND) { ShowWindow(*w, SW_HIDE); },
     ROWS(SHOW_OR_HIDE)},
    {"moved with SWP_NOSIZE", false, true,
     [](HWND* w, HWND) {
         SetWindowPos(*w, nullptr, 150, 95, 5, 5, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
     },
     ROWS(MOVED)},
    {"sized with SWP_NOMOVE", false, true,
     [](HWND* w, HWND) {
         SetWindowPos(*w, nullptr, 7, 7, 230, 170, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
     },
     ROWS(SIZED)},
    {"MoveWindow", false, true, [](HWND* w, HWND) { MoveWindow(*w, 90, 70, 210, 160, TRUE); },
     ROWS(MOVED_AND_SIZED)},
    {"child hidden", true, true, [](HWND* w, HWND) { ShowWindow(*w, SW_HIDE); },
     ROWS(CHILD_SHOW_OR_HIDE)},
    {"child shown", true, false, [](HWND* w, HWND) { ShowWindow(*w, SW_SHOW); },
     ROWS(CHILD_SHOW_OR_HIDE)},
    {"child moved", true, true,
     [](HWND* w, HWND) {
         SetWindowPos(*w, nullptr, 12, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
     },
     ROWS(CHILD_MOVED)},
    {"child sized", true, true,
     [](HWND* w, HWND) {
         SetWindowPos(*w, nullptr, 0, 0, 44, 33, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
     },
     ROWS(CHILD_SIZED)},
    {"child destroyed", true, true, [](HWND* w, HWND) { DestroyWindow(*w); },
     ROWS(CHILD_DESTROYED)},
};

class WindowPlace : public UserTest {};

TEST_F(WindowPlace, WindowPosCarriesTheRealPlaceAndClientFlags) {
    for (const PlaceCase& c : PLACE_CASES) {
        HWND parent = nullptr;
        HWND window = nullptr;
        DWORD shown = c.visible ? WS_VISIBLE : 0;
        if (c.child) {
            parent = make(SECOND, CAPTIONED_POPUP | WS_VISIBLE, 60, 60, 200, 150);
            window = make(CHILD, WS_CHILD | shown, 5, 6, 40, 30, parent, 9);
        } else if (c.action != create_shown) {
            window = make(MAIN, CAPTIONED_POPUP | shown, 100, 80, 200, 150);
        }
        settle();
        c.action(&window, parent);
        log_keep_only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED});
        expect_sequence_n(c.expected, c.count, c.what);
        if (IsWindow(window))
            DestroyWindow(window);
        if (parent != nullptr)
            DestroyWindow(parent);
        settle();
    }
}

// WM_MOVE and WM_SIZE follow the client flags: a frame change that keeps
// the client area where it was sends neither.
const ExpectedMessage FRAME_CHANGED_VISIBLE[] = {
    {WM_WINDOWPOSCHANGING, CHECK_L | CHECK_PLACE, 0,
     SWP_FRAMECHANGED | NOSIZEMOVE | SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    {WM_NCCALCSIZE, CHECK_W, TRUE, 0, MAIN},
    {WM_NCPAINT, MSG_ONLY, 0, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ERASEBKGND, MAYBE, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L | PLACE, 0,
     SWP_FRAMECHANGED | NOSIZEMOVE | SWP_NOZORDER | SWP_NOACTIVATE | NOCLIENTCHANGE, MAIN},
};

// Hidden windows have nothing to paint, and WM_WINDOWPOSCHANGED says so
// with SWP_NOREDRAW.
const ExpectedMessage FRAME_CHANGED_HIDDEN[] = {
    {WM_WINDOWPOSCHANGING, CHECK_L | CHECK_PLACE, 0,
     SWP_FRAMECHANGED | NOSIZEMOVE | SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    {WM_NCCALCSIZE, CHECK_W, TRUE, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L | PLACE, 0,
     SWP_FRAMECHANGED | NOSIZEMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | NOCLIENTCHANGE,
     MAIN},
};

struct FrameCase {
    const char* what;
    bool visible;
    bool with_menu;
    BOOL(WINAPI* action)(HWND window);
    const ExpectedMessage* expected;
    size_t count;
};

BOOL WINAPI frame_changed(HWND window) {
    return SetWindowPos(window, nullptr, 0, 0, 0, 0,
                        SWP_FRAMECHANGED | NOSIZEMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const FrameCase FRAME_CASES[] = {
    {"SWP_FRAMECHANGED, visible", true, false, frame_changed, ROWS(FRAME_CHANGED_VISIBLE)},
    {"SWP_FRAMECHANGED, hidden", false, false, frame_changed, ROWS(FRAME_CHANGED_HIDDEN)},
    {"DrawMenuBar, visible", true, true, DrawMenuBar, ROWS(FRAME_CHANGED_VISIBLE)},
    {"DrawMenuBar, hidden", false, true, DrawMenuBar, ROWS(FRAME_CHANGED_HIDDEN)},
    {"DrawMenuBar without a menu", true, false, DrawMenuBar, ROWS(FRAME_CHANGED_VISIBLE)},
};

TEST_F(WindowPlace, FrameChangesRecomputeTheNonClientArea) {
    for (const FrameCase& c : FRAME_CASES) {
        HWND window = make(MAIN, CAPTIONED_POPUP | (c.visible ? WS_VISIBLE : 0), 100, 80, 200, 150);
        HMENU bar = nullptr;
        if (c.with_menu) {
            bar = CreateMenu();
            AppendMenuA(bar, MF_STRING, 1, "&Go");
            SetMenu(window, bar);
        }
        settle();
        EXPECT_TRUE(c.action(window)) << c.what;
        expect_sequence_n(c.expected, c.count, c.what);
        DestroyWindow(window);
        settle();
    }
}

// A menu added by SetMenu takes its rows from the client area, which moves
// down and shrinks: WM_MOVE and WM_SIZE report the new client area.
TEST_F(WindowPlace, SetMenuMovesAndShrinksTheClientArea) {
    HWND window = make_shown_popup();
    RECT before;
    GetClientRect(window, &before);
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_STRING, 1, "&Go");
    ASSERT_TRUE(SetMenu(window, bar));
    RECT after;
    GetClientRect(window, &after);
    EXPECT_EQ(after.bottom, before.bottom - GetSystemMetrics(SM_CYMENU));
    auto sizes = log_find(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].lparam, MAKELPARAM(after.right, after.bottom));
    auto changed = log_find(WM_WINDOWPOSCHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_FALSE(changed[0].pos.flags & SWP_NOCLIENTSIZE);
}

} // namespace
