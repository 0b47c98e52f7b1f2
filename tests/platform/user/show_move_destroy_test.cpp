// ShowWindow, SetWindowPos, MoveWindow, activation between two popups and
// DestroyWindow of a family: the messages each sends, in order.
#include "tests/platform/user/user_fixture.h"

namespace {

constexpr UINT NOSIZEMOVE = SWP_NOSIZE | SWP_NOMOVE;
// How DestroyWindow hides a window before destroying it.
constexpr UINT HIDE_QUIETLY = SWP_HIDEWINDOW | NOSIZEMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

// Hiding the active window sends the hide, then hands activation away.
const ExpectedMessage HIDE_ACTIVE_POPUP[] = {
    {WM_SHOWWINDOW, CHECK_WL, FALSE, 0, MAIN},
    {WM_WINDOWPOSCHANGING, CHECK_L, 0, SWP_HIDEWINDOW | NOSIZEMOVE, MAIN},
    // Whether SWP_NOZORDER is added here varies from run to run under Wine
    // (it depends on the X server's stacking), so the flags are not compared.
    {WM_WINDOWPOSCHANGED, MSG_ONLY, 0, 0, MAIN},
    {WM_NCACTIVATE, CHECK_W, FALSE, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ACTIVATE, CHECK_W, WA_INACTIVE, 0, MAIN},
    {WM_ACTIVATEAPP, CHECK_W, FALSE, 0, MAIN},
    {WM_KILLFOCUS, MSG_ONLY, 0, 0, MAIN},
};

const ExpectedMessage SHOW_HIDDEN_POPUP[] = {
    {WM_SHOWWINDOW, CHECK_WL, TRUE, 0, MAIN},
    {WM_WINDOWPOSCHANGING, CHECK_L, 0, SWP_SHOWWINDOW | NOSIZEMOVE, MAIN},
    {0x030F, MAYBE, 0, 0, MAIN}, // WM_QUERYNEWPALETTE
    {WM_WINDOWPOSCHANGING, CHECK_L | MAYBE, 0, NOSIZEMOVE, MAIN},
    {WM_ACTIVATEAPP, CHECK_W, TRUE, 0, MAIN},
    {WM_NCACTIVATE, CHECK_W, TRUE, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ACTIVATE, CHECK_W, WA_ACTIVE, 0, MAIN},
    {WM_SETFOCUS, CHECK_W, 0, 0, MAIN},
    {WM_NCPAINT, CHECK_W, 1, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ERASEBKGND, MSG_ONLY, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0, SWP_SHOWWINDOW | NOSIZEMOVE | SWP_NOZORDER, MAIN},
};

// Minimizing takes the focus away first; the window keeps its size in
// WINDOWPOS but its frame is recalculated (SWP_FRAMECHANGED) and the state
// change is flagged (0x8000, SWP_STATECHANGED).
const ExpectedMessage MINIMIZE_ACTIVE_POPUP[] = {
    {WM_KILLFOCUS, CHECK_W, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGING, CHECK_L, 0,
     0x8000 | SWP_NOCOPYBITS | SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER,
     MAIN},
    {WM_NCCALCSIZE, CHECK_W, TRUE, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0,
     0x8000 | SWP_NOCOPYBITS | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER, MAIN},
    {WM_MOVE, CHECK_W, 0, 0, MAIN},
    {WM_SIZE, CHECK_WL, SIZE_MINIMIZED, 0, MAIN},
    // Then the activation passes on: here to no window. Wine keeps the
    // window active.
    {WM_NCACTIVATE, CHECK_W | MAYBE, FALSE, 0, MAIN},
    {WM_ACTIVATE, CHECK_W | MAYBE, WA_INACTIVE, 0, MAIN},
    {WM_ACTIVATEAPP, CHECK_W | MAYBE, FALSE, 0, MAIN},
};

const ExpectedMessage MOVE_ONLY[] = {
    {WM_WINDOWPOSCHANGING, CHECK_L, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    {WM_MOVE, CHECK_W, 0, 0, MAIN},
};

// Showing a shown window changes nothing, so nothing is sent.
const ExpectedMessage SHOW_SHOWN_POPUP[] = {
    {WM_WINDOWPOSCHANGING, MAYBE, 0, 0, MAIN},
};

// SetWindowPos activates the window it moves unless SWP_NOACTIVATE, between
// WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED; activation raises the window,
// so SWP_NOZORDER is gone from the flags reported afterwards.
const ExpectedMessage SET_WINDOW_POS_ACTIVATES[] = {
    {WM_WINDOWPOSCHANGING, CHECK_L, 0, NOSIZEMOVE | SWP_NOZORDER, MAIN},
    {WM_NCACTIVATE, CHECK_W, FALSE, 0, SECOND},
    {WM_GETTEXT, MAYBE, 0, 0, SECOND}, // some versions read the title to draw it
    {WM_ACTIVATE, CHECK_W, WA_INACTIVE, 0, SECOND},
    {0x030F, MAYBE, 0, 0, MAIN}, // WM_QUERYNEWPALETTE
    {WM_NCACTIVATE, CHECK_W, TRUE, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ACTIVATE, CHECK_W, WA_ACTIVE, 0, MAIN},
    {WM_KILLFOCUS, MSG_ONLY, 0, 0, SECOND},
    {WM_SETFOCUS, MSG_ONLY, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0, NOSIZEMOVE, MAIN},
};

// A size change recalculates the frame (no WM_GETMINMAXINFO: the popup has
// no sizing border) and repaints frame and client before
// WM_WINDOWPOSCHANGED; WM_MOVE comes before WM_SIZE.
const ExpectedMessage SIZE_ONLY[] = {
    {WM_WINDOWPOSCHANGING, CHECK_L, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    {WM_NCCALCSIZE, CHECK_W, TRUE, 0, MAIN},
    {WM_NCPAINT, MSG_ONLY, 0, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ERASEBKGND, MSG_ONLY, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    {WM_SIZE, CHECK_W, SIZE_RESTORED, 0, MAIN},
};

// Moving and sizing with SWP_NOZORDER | SWP_NOACTIVATE; MoveWindow is
// SetWindowPos with those flags and sends the same.
const ExpectedMessage MOVE_AND_SIZE[] = {
    {WM_WINDOWPOSCHANGING, CHECK_L, 0, SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    {WM_NCCALCSIZE, CHECK_W, TRUE, 0, MAIN},
    {WM_NCPAINT, MSG_ONLY, 0, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ERASEBKGND, MSG_ONLY, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0, SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    {WM_MOVE, CHECK_W, 0, 0, MAIN},
    {WM_SIZE, CHECK_W, SIZE_RESTORED, 0, MAIN},
};

// Activating one popup deactivates the other: first the old one hears it is
// losing, then the new one that it gains; then focus moves. Raising the
// newly active window may come with WM_WINDOWPOS* messages.
const ExpectedMessage ACTIVATE_OTHER_POPUP[] = {
    {WM_WINDOWPOSCHANGING, CHECK_L | MAYBE, 0, NOSIZEMOVE, MAIN},
    {WM_NCACTIVATE, CHECK_W, FALSE, 0, SECOND},
    {WM_GETTEXT, MAYBE, 0, 0, SECOND}, // some versions read the title to draw it
    {WM_ACTIVATE, CHECK_W, WA_INACTIVE, 0, SECOND},
    {0x030F, MAYBE, 0, 0, MAIN}, // WM_QUERYNEWPALETTE
    {WM_NCACTIVATE, CHECK_W, TRUE, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ACTIVATE, CHECK_W, WA_ACTIVE, 0, MAIN},
    {WM_KILLFOCUS, MSG_ONLY, 0, 0, SECOND},
    {WM_SETFOCUS, MSG_ONLY, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, MAYBE, 0, 0, MAIN},
};

// DestroyWindow of a shown parent with two children: the parent is hidden
// (and deactivated), WM_DESTROY goes parent first then children in their
// order, WM_NCDESTROY children first then the parent.
const ExpectedMessage DESTROY_FAMILY[] = {
    {WM_WINDOWPOSCHANGING, CHECK_L, 0, HIDE_QUIETLY, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0, HIDE_QUIETLY, MAIN},
    {WM_NCACTIVATE, CHECK_W, FALSE, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ACTIVATE, CHECK_W, WA_INACTIVE, 0, MAIN},
    {WM_ACTIVATEAPP, CHECK_W, FALSE, 0, MAIN},
    {WM_KILLFOCUS, MSG_ONLY, 0, 0, MAIN},
    {WM_DESTROY, MSG_ONLY, 0, 0, MAIN},
    {WM_DESTROY, MSG_ONLY, 0, 0, CHILD},
    {WM_DESTROY, MSG_ONLY, 0, 0, CHILD2},
    {WM_NCDESTROY, MSG_ONLY, 0, 0, CHILD},
    {WM_NCDESTROY, MSG_ONLY, 0, 0, CHILD2},
    {WM_NCDESTROY, MSG_ONLY, 0, 0, MAIN},
};

// Destroying a child tells its parent first, while the child still exists;
// the child is hidden, and the parent erases the uncovered part at once.
const ExpectedMessage DESTROY_CHILD[] = {
    {WM_PARENTNOTIFY, CHECK_W, MAKEWPARAM(WM_DESTROY, 7), 0, MAIN},
    {WM_SHOWWINDOW, CHECK_WL, FALSE, 0, CHILD},
    {WM_WINDOWPOSCHANGING, CHECK_L, 0, HIDE_QUIETLY, CHILD},
    {WM_ERASEBKGND, MSG_ONLY, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0, HIDE_QUIETLY, CHILD},
    {WM_DESTROY, MSG_ONLY, 0, 0, CHILD},
    {WM_NCDESTROY, MSG_ONLY, 0, 0, CHILD},
};

class ShowMoveDestroy : public UserTest {};

TEST_F(ShowMoveDestroy, HideActivePopup) {
    HWND window = make_shown_popup();
    EXPECT_TRUE(ShowWindow(window, SW_HIDE)) << "it was visible";
    expect_sequence(HIDE_ACTIVE_POPUP, "ShowWindow(SW_HIDE) of the active popup");
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(ShowWindow(window, SW_HIDE)) << "already hidden";
    expect_no_messages("hiding a hidden window");
}

TEST_F(ShowMoveDestroy, ShowHiddenPopup) {
    HWND window = make(MAIN, CAPTIONED_POPUP, 100, 80, 200, 150);
    settle();
    EXPECT_FALSE(ShowWindow(window, SW_SHOW)) << "it was hidden";
    expect_sequence(SHOW_HIDDEN_POPUP, "ShowWindow(SW_SHOW) of a hidden popup");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetActiveWindow(), window);
}

TEST_F(ShowMoveDestroy, ShowVisiblePopupAgain) {
    HWND window = make_shown_popup();
    EXPECT_TRUE(ShowWindow(window, SW_SHOW)) << "it was visible";
    expect_sequence(SHOW_SHOWN_POPUP, "ShowWindow(SW_SHOW) of a visible, active popup");
}

TEST_F(ShowMoveDestroy, SetWindowPosActivatesUnlessAskedNotTo) {
    HWND first = make_shown_popup(MAIN, 100, 80);
    HWND second = make_shown_popup(SECOND, 300, 200);
    SetWindowPos(first, nullptr, 0, 0, 0, 0, NOSIZEMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), second) << "SWP_NOACTIVATE";
    const ExpectedMessage NOTHING_CHANGES[] = {
        {WM_WINDOWPOSCHANGING, CHECK_L, 0, NOSIZEMOVE | SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    };
    expect_sequence(NOTHING_CHANGES, "SetWindowPos that changes nothing");
    SetWindowPos(first, nullptr, 0, 0, 0, 0, NOSIZEMOVE | SWP_NOZORDER);
    EXPECT_EQ(GetActiveWindow(), first);
    expect_sequence(SET_WINDOW_POS_ACTIVATES, "SetWindowPos without SWP_NOACTIVATE");
}

TEST_F(ShowMoveDestroy, MinimizeActivePopup) {
    HWND window = make_shown_popup();
    EXPECT_TRUE(ShowWindow(window, SW_MINIMIZE));
    expect_sequence(MINIMIZE_ACTIVE_POPUP, "ShowWindow(SW_MINIMIZE)");
    EXPECT_TRUE(IsIconic(window));
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_MINIMIZE);
}

struct PosCase {
    const char* what;
    int x, y, width, height;
    UINT flags;
    const ExpectedMessage* expected;
    size_t rows;
    RECT window_after;
};

#define ROWS(t) t, sizeof t / sizeof t[0]
const PosCase POS_CASES[] = {
    {"move only",
     150,
     90,
     0,
     0,
     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE,
     ROWS(MOVE_ONLY),
     {150, 90, 350, 240}},
    {"size only",
     0,
     0,
     260,
     170,
     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE,
     ROWS(SIZE_ONLY),
     {100, 80, 360, 250}},
    {"move and size",
     40,
     30,
     220,
     160,
     SWP_NOZORDER | SWP_NOACTIVATE,
     ROWS(MOVE_AND_SIZE),
     {40, 30, 260, 190}},
};

TEST_F(ShowMoveDestroy, SetWindowPosTable) {
    for (const PosCase& c : POS_CASES) {
        HWND window = make_shown_popup();
        EXPECT_TRUE(SetWindowPos(window, nullptr, c.x, c.y, c.width, c.height, c.flags));
        expect_sequence_n(c.expected, c.rows, c.what);
        RECT rect;
        GetWindowRect(window, &rect);
        expect_rect(rect, c.window_after, c.what);
        DestroyWindow(window);
        settle();
    }
}

TEST_F(ShowMoveDestroy, MoveAndSizeReportClientGeometry) {
    HWND window = make_shown_popup();
    SetWindowPos(window, nullptr, 40, 30, 220, 160, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    auto moves = log_find(WM_MOVE);
    auto sizes = log_find(WM_SIZE);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(sizes.size(), 1u);
    // WM_MOVE gives the client area's origin in screen coordinates, WM_SIZE
    // the client area's size.
    EXPECT_EQ(moves[0].lparam, MAKELPARAM(origin.x, origin.y));
    EXPECT_EQ(sizes[0].lparam, MAKELPARAM(client.right, client.bottom));
    // The proposed rectangle travels in WINDOWPOS.
    auto changing = log_find(WM_WINDOWPOSCHANGING);
    ASSERT_EQ(changing.size(), 1u);
    EXPECT_EQ(changing[0].pos.x, 40);
    EXPECT_EQ(changing[0].pos.y, 30);
    EXPECT_EQ(changing[0].pos.cx, 220);
    EXPECT_EQ(changing[0].pos.cy, 160);
}

TEST_F(ShowMoveDestroy, MoveWindowMovesAndSizes) {
    HWND window = make_shown_popup();
    EXPECT_TRUE(MoveWindow(window, 60, 50, 210, 140, TRUE));
    expect_sequence(MOVE_AND_SIZE, "MoveWindow");
    RECT rect;
    GetWindowRect(window, &rect);
    expect_rect(rect, {60, 50, 270, 190}, "after MoveWindow");
}

TEST_F(ShowMoveDestroy, SetWindowPosToTheSamePlaceSendsOnlyTheChangeMessages) {
    HWND window = make_shown_popup();
    SetWindowPos(window, nullptr, 100, 80, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    // Nothing changed, so there is no WM_WINDOWPOSCHANGED.
    const ExpectedMessage SAME_PLACE[] = {
        {WM_WINDOWPOSCHANGING, CHECK_L, 0, SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    };
    expect_sequence(SAME_PLACE, "SetWindowPos to where the window already is");
}

TEST_F(ShowMoveDestroy, ActivateOtherPopup) {
    HWND first = make_shown_popup(MAIN, 100, 80);
    HWND second = make_shown_popup(SECOND, 300, 200);
    ASSERT_EQ(GetActiveWindow(), second);
    EXPECT_EQ(SetActiveWindow(first), second) << "returns the previously active window";
    expect_sequence(ACTIVATE_OTHER_POPUP, "SetActiveWindow of the other popup");
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(ShowMoveDestroy, ActivateCarriesTheOtherWindow) {
    HWND first = make_shown_popup(MAIN, 100, 80);
    HWND second = make_shown_popup(SECOND, 300, 200);
    SetActiveWindow(first);
    auto activate = log_find(WM_ACTIVATE);
    ASSERT_EQ(activate.size(), 2u);
    EXPECT_EQ(activate[0].window, second);
    EXPECT_EQ(activate[0].lparam, (LPARAM)first) << "the losing window hears who gains";
    EXPECT_EQ(activate[1].window, first);
    EXPECT_EQ(activate[1].lparam, (LPARAM)second) << "the gaining window hears who loses";
    auto kill = log_find(WM_KILLFOCUS);
    auto set = log_find(WM_SETFOCUS);
    ASSERT_EQ(kill.size(), 1u);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(kill[0].wparam, (WPARAM)first) << "WM_KILLFOCUS names the window gaining focus";
    EXPECT_EQ(set[0].wparam, (WPARAM)second) << "WM_SETFOCUS names the window losing it";
}

TEST_F(ShowMoveDestroy, DestroyParentWithChildren) {
    HWND parent = make_shown_popup();
    HWND child = make(CHILD, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent, 7);
    HWND child2 = make(CHILD2, WS_CHILD | WS_VISIBLE, 30, 0, 20, 20, parent, 8);
    settle();
    EXPECT_TRUE(DestroyWindow(parent));
    expect_sequence(DESTROY_FAMILY, "DestroyWindow of a shown parent with two children");
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(child2));
}

TEST_F(ShowMoveDestroy, DestroyChildNotifiesParent) {
    HWND parent = make_shown_popup();
    HWND child = make(CHILD, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent, 7);
    settle();
    EXPECT_TRUE(DestroyWindow(child));
    auto notes = log_find(WM_PARENTNOTIFY);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].lparam, (LPARAM)child);
    expect_sequence(DESTROY_CHILD, "DestroyWindow of a visible child");
}

// Maximising covers the work area with the frame just outside it, and the
// window's normal place comes back on restore, also after a minimise of the
// maximised window. Negative steps are system commands, others ShowWindow's.
struct MaximizeRow {
    const char* what;
    int steps[3];
    bool maximized;
};
const MaximizeRow MAXIMIZE_ROWS[] = {
    {"SC_MAXIMIZE", {-SC_MAXIMIZE}, true},
    {"SW_SHOWMAXIMIZED, SC_RESTORE", {SW_SHOWMAXIMIZED, -SC_RESTORE}, false},
    {"SC_MAXIMIZE, SW_MINIMIZE, SW_RESTORE", {-SC_MAXIMIZE, SW_MINIMIZE, SW_RESTORE}, true},
};

TEST_F(ShowMoveDestroy, MaximiseAndRestore) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    InflateRect(&work, GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME));
    for (const MaximizeRow& row : MAXIMIZE_ROWS) {
        HWND window = make(MAIN, CAPTIONED_POPUP | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_VISIBLE, 100,
                           80, 300, 200);
        settle();
        for (int step : row.steps) {
            if (step < 0)
                SendMessageA(window, WM_SYSCOMMAND, (WPARAM)-step, 0);
            else if (step > 0)
                ShowWindow(window, step);
        }
        RECT rect;
        GetWindowRect(window, &rect);
        expect_rect(rect, row.maximized ? work : RECT{100, 80, 400, 280}, row.what);
        EXPECT_EQ(IsZoomed(window) != 0, row.maximized) << row.what;
        auto sizes = log_find(WM_SIZE);
        ASSERT_FALSE(sizes.empty()) << row.what;
        EXPECT_EQ(sizes.back().wparam, (WPARAM)(row.maximized ? SIZE_MAXIMIZED : SIZE_RESTORED))
            << row.what;
        DestroyWindow(window);
        settle();
    }
}

} // namespace
