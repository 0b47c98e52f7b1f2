// Z-order, activation, focus and capture: an owned window above its owner
// whichever way either comes forward, the last active popup, which windows
// can be made active, where the focus goes on minimise and restore, what
// hiding and minimising do to the order and the activation, and who holds
// the capture.
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

#include <algorithm>

namespace {

class ZOrder : public UserTest {
  protected:
    HWND owner_ = nullptr, other_ = nullptr, box_ = nullptr;

    // An owner, an unrelated window above it, and a popup the owner owns
    // above both: box, other, owner.
    void make_three() {
        owner_ = make_shown_popup(MAIN, 100, 80);
        other_ = make_shown_popup(SECOND, 150, 120);
        box_ = make(OWNED, CAPTIONED_POPUP | WS_VISIBLE, 200, 160, 150, 100, owner_);
        settle();
    }

    // Our windows, topmost first, as GetWindow walks the z-order.
    std::vector<HWND> order() {
        std::vector<HWND> ours;
        for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
            if (w == owner_ || w == other_ || w == box_)
                ours.push_back(w);
        return ours;
    }
};

// Whatever brings the owner or the box forward or back, the box stays
// above its owner; the owner takes the box up with it.
TEST_F(ZOrder, AnOwnedPopupStaysAboveItsOwner) {
    enum Act { SWP_OWNER_TOP, SWP_BOX_BOTTOM, BRING_OWNER, ACTIVATE_OWNER, MIN_RESTORE_OWNER };
    enum Expect { BOX_OWNER_OTHER, OTHER_BOX_OWNER, BOX_OTHER_OWNER };
    static const struct Row {
        const char* how;
        Act act;
        UINT flags; // beside SWP_NOMOVE | SWP_NOSIZE
        Expect expect;
        bool wine_differs; // Wine keeps the z-order: BOX_OTHER_OWNER
    } rows[] = {
        {"SetWindowPos(owner, HWND_TOP)", SWP_OWNER_TOP, 0, BOX_OWNER_OTHER, false},
        {"SetWindowPos(owner, HWND_TOP, SWP_NOACTIVATE)", SWP_OWNER_TOP, SWP_NOACTIVATE,
         BOX_OWNER_OTHER, false},
        {"SWP_NOOWNERZORDER takes the box along too", SWP_OWNER_TOP,
         SWP_NOACTIVATE | SWP_NOOWNERZORDER, BOX_OWNER_OTHER, false},
        {"BringWindowToTop(owner)", BRING_OWNER, 0, BOX_OWNER_OTHER, false},
        // Windows raises the window it activates; Wine leaves it in place.
        {"SetActiveWindow(owner)", ACTIVATE_OWNER, 0, BOX_OWNER_OTHER, true},
        {"minimise and restore the owner", MIN_RESTORE_OWNER, 0, BOX_OWNER_OTHER, false},
        {"SetWindowPos(box, HWND_BOTTOM)", SWP_BOX_BOTTOM, SWP_NOACTIVATE, OTHER_BOX_OWNER, false},
    };
    for (const Row& row : rows) {
        make_three();
        UINT flags = SWP_NOMOVE | SWP_NOSIZE | row.flags;
        if (row.act == SWP_OWNER_TOP || row.act == SWP_BOX_BOTTOM)
            SetWindowPos(row.act == SWP_OWNER_TOP ? owner_ : box_,
                         row.act == SWP_OWNER_TOP ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, flags);
        if (row.act == BRING_OWNER)
            BringWindowToTop(owner_);
        if (row.act == ACTIVATE_OWNER)
            SetActiveWindow(owner_);
        if (row.act == MIN_RESTORE_OWNER) {
            ShowWindow(owner_, SW_MINIMIZE);
            ShowWindow(owner_, SW_RESTORE);
        }
        pump_messages();
        std::vector<HWND> expected[] = {
            {box_, owner_, other_}, {other_, box_, owner_}, {box_, other_, owner_}};
        Expect expect = row.wine_differs && running_under_wine() ? BOX_OTHER_OWNER : row.expect;
        EXPECT_EQ(order(), expected[expect]) << row.how;
        TearDown();
        windows_.clear();
    }
}

// A window disabled by its modal box remembers the box as its last active
// popup; the box is what a click on the owner or the task bar activates.
TEST_F(ZOrder, TheLastActivePopupIsTheBoxThatWasActive) {
    make_three();
    EXPECT_EQ(GetLastActivePopup(owner_), box_) << "the box was active last";
    EXPECT_EQ(GetLastActivePopup(other_), other_) << "a window that owns nothing";
    EnableWindow(owner_, FALSE);
    SetActiveWindow(other_);
    EXPECT_EQ(GetLastActivePopup(owner_), box_) << "still, while another window is active";
    ShowWindow(owner_, SW_MINIMIZE);
    ShowWindow(owner_, SW_RESTORE);
    EXPECT_EQ(order().front(), box_) << "restored, the box is on top";
    EnableWindow(owner_, TRUE);
    DestroyWindow(box_);
    EXPECT_EQ(GetLastActivePopup(owner_), owner_) << "the box is gone";
    SetLastError(0);
    EXPECT_EQ(GetLastActivePopup(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
}

// What can be made active, and how a z-order request with a window that is
// not a sibling ends: refused for the desktop, ignored for any other.
TEST_F(ZOrder, WhatCanBeActiveAndWhatCanBeInsertedAfter) {
    HWND main = make_shown_popup(MAIN, 100, 80);
    HWND child = make(CHILD, WS_CHILD | WS_VISIBLE, 5, 5, 40, 30, main, 1);
    HWND hidden = make(SECOND, CAPTIONED_POPUP, 150, 120, 100, 80);
    HWND desktop = GetDesktopWindow();
    settle();
    EXPECT_EQ(SetActiveWindow(child), running_under_wine() ? main : nullptr)
        << "a child cannot be active (Wine answers with the active window)";
    EXPECT_EQ(GetActiveWindow(), main);
    SetActiveWindow(desktop);
    EXPECT_EQ(GetActiveWindow(), main) << "nor can the desktop";
    struct Row {
        const char* how;
        HWND window, after;
        BOOL result;
    } rows[] = {
        {"a child after the desktop", child, desktop, FALSE},
        {"a child after a top-level window", child, hidden, TRUE},
        {"a top-level window after a child", hidden, child, TRUE},
        {"a top-level window after the desktop", hidden, desktop, FALSE},
    };
    for (const Row& row : rows) {
        HWND next = GetWindow(row.window, GW_HWNDNEXT);
        UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
        EXPECT_EQ(SetWindowPos(row.window, row.after, 0, 0, 0, 0, flags), row.result) << row.how;
        EXPECT_EQ(GetWindow(row.window, GW_HWNDNEXT), next) << row.how << ": place kept";
    }
    EXPECT_TRUE(SetWindowPos(hidden, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetActiveWindow(), hidden) << "SetWindowPos activates a hidden window";
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_TRUE(SetForegroundWindow(desktop));
    EXPECT_NE(GetForegroundWindow(), hidden) << "the desktop in front: the program is not";
}

// Activation moves the window to the top and tells it so: the move begins
// before the old window hears it is inactive and ends once the new one is
// active. Wine raises without a word.
TEST_F(ZOrder, ActivationIsAMoveToTheTop) {
    HWND main = make_shown_popup(MAIN, 100, 80);
    make_shown_popup(SECOND, 150, 120);
    log_flush();
    SetActiveWindow(main);
    log_keep_only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE});
    unsigned raise = running_under_wine() ? CHECK_L | MAYBE : CHECK_L;
    const ExpectedMessage activated_from_below[] = {
        {WM_WINDOWPOSCHANGING, raise, 0, SWP_NOSIZE | SWP_NOMOVE, MAIN},
        {WM_NCACTIVATE, CHECK_W, FALSE, 0, SECOND},
        {WM_ACTIVATE, CHECK_W, WA_INACTIVE, 0, SECOND},
        {WM_NCACTIVATE, CHECK_W, TRUE, 0, MAIN},
        {WM_ACTIVATE, CHECK_W, WA_ACTIVE, 0, MAIN},
        {WM_WINDOWPOSCHANGED, raise, 0, SWP_NOSIZE | SWP_NOMOVE, MAIN},
    };
    expect_sequence(activated_from_below, "SetActiveWindow of a window below another");
}

// Where the focus is after minimising and restoring.
TEST_F(ZOrder, FocusAfterMinimiseAndRestore) {
    HWND main = make_shown_popup(MAIN, 100, 80);
    HWND child = make(CHILD, WS_CHILD | WS_VISIBLE, 5, 5, 40, 30, main, 1);
    HWND other = make_shown_popup(SECOND, 150, 120);
    SetActiveWindow(main);
    SetFocus(child);
    ShowWindow(child, SW_MINIMIZE);
    EXPECT_EQ(GetFocus(), main) << "a minimised child gives the focus to its parent";
    ShowWindow(child, SW_RESTORE);
    SetFocus(child);
    ShowWindow(other, SW_MINIMIZE);
    EXPECT_EQ(GetFocus(), child) << "another window minimised: the focus stays";
    ShowWindow(main, SW_SHOWMINIMIZED);
    EXPECT_EQ(GetActiveWindow(), main);
    // Wine leaves the focus on the child; Windows takes it away.
    if (!running_under_wine()) {
        EXPECT_EQ(GetFocus(), nullptr) << "a minimised window holds no focus";
    }
    ShowWindow(main, SW_RESTORE);
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(GetFocus(), main) << "restored, the window takes the focus back";
}

// Mouse capture ends with WM_CANCELMODE and with a tracking button's
// focus; taking it again tells the holder.
TEST_F(ZOrder, CaptureEnds) {
    HWND main = make_shown_popup(MAIN, 100, 80);
    SetCapture(main);
    DefWindowProcA(main, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr) << "DefWindowProc(WM_CANCELMODE)";

    SetCapture(main);
    log_flush();
    EXPECT_EQ(SetCapture(main), main);
    const ExpectedMessage again[] = {{WM_CAPTURECHANGED, CHECK_L, 0, (LPARAM)main, MAIN}};
    log_keep_only({WM_CAPTURECHANGED});
    expect_sequence(again, "SetCapture on the window that has it");
    ReleaseCapture();

    HWND button = CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 5, 5,
                                  60, 20, main, (HMENU)1, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(button, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), button) << "a pressed button tracks the mouse";
    SendMessageA(button, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr) << "and lets it go with the focus";
}

// Children created maximised go on top of their siblings, others below;
// changing the style keeps a minimised window minimised.
TEST_F(ZOrder, MaximisedChildrenOnTopAndTheMinimisedStyleStays) {
    HWND main = make_shown_popup(MAIN, 100, 80);
    HWND first = make(CHILD, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, main, 1);
    HWND plain = make(CHILD2, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, main, 2);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), plain) << "a new child goes below";
    HWND big = make(CHILD2, WS_CHILD | WS_VISIBLE | WS_MAXIMIZE, 0, 0, 20, 20, main, 3);
    EXPECT_EQ(GetTopWindow(main), big) << "a maximised one on top";

    ShowWindow(main, SW_MINIMIZE);
    SetWindowLongA(main, GWL_STYLE, GetWindowLongA(main, GWL_STYLE) & ~WS_MINIMIZE);
    EXPECT_TRUE(GetWindowLongA(main, GWL_STYLE) & WS_MINIMIZE);
    EXPECT_TRUE(IsIconic(main));
}

// Three shown popups A, B and C, made in that order: C is on top and
// active. Each row hides, shows or minimises some of them; the z-order of
// the three (h: hidden, m: minimised), the active window and the focus
// follow. A hidden top-level window goes to the top of the z-order; the
// window activated in place of another is raised. SW_MINIMIZE passes the
// activation on to the next window, SW_SHOWMINIMIZED keeps it (without the
// focus), SW_SHOWMINNOACTIVE leaves it alone.
TEST_F(ZOrder, HidingAndMinimisingPassActivationOn) {
    constexpr int SWP_HIDE = -1; // SetWindowPos with SWP_HIDEWINDOW, no z-order, no activation
    // Wine activates without raising, keeps the active window active on
    // SW_MINIMIZE and leaves the focus on a window SW_SHOWMINIMIZED activates.
    static const struct Row {
        const char* how;
        char window;
        int command, then; // `then` for the same window afterwards, or 0
        const char* order;
        const char* active_focus; // '0': none
        bool wine_differs;
    } rows[] = {
        {"hide the middle one", 'B', SW_HIDE, 0, "BhCA", "CC", false},
        {"hide the bottom one", 'A', SW_HIDE, 0, "AhCB", "CC", false},
        {"hide the active one", 'C', SW_HIDE, 0, "BChA", "BB", true},
        {"SetWindowPos hides in place", 'C', SWP_HIDE, 0, "ChBA", "CC", false},
        {"hide, then SW_SHOWNA", 'C', SW_HIDE, SW_SHOWNA, "CBA", "BB", false},
        {"hide, then SW_SHOW", 'C', SW_HIDE, SW_SHOW, "CBA", "CC", false},
        {"SW_MINIMIZE the active one", 'C', SW_MINIMIZE, 0, "BCmA", "BB", true},
        {"SW_MINIMIZE another", 'B', SW_MINIMIZE, 0, "CBmA", "CC", false},
        {"SW_SHOWMINIMIZED the active one", 'C', SW_SHOWMINIMIZED, 0, "CmBA", "C0", false},
        {"SW_SHOWMINIMIZED another", 'B', SW_SHOWMINIMIZED, 0, "BmCA", "B0", true},
        {"SW_SHOWMINNOACTIVE the active one", 'C', SW_SHOWMINNOACTIVE, 0, "CmBA", "C0", false},
        {"then SW_SHOWNOACTIVATE restores", 'C', SW_SHOWMINNOACTIVE, SW_SHOWNOACTIVATE, "CBA", "CC",
         false},
    };
    for (const Row& row : rows) {
        if (row.wine_differs && running_under_wine())
            continue;
        HWND made[3] = {make_shown_popup(MAIN, 100, 80), make_shown_popup(SECOND, 150, 120),
                        make_shown_popup(OWNED, 200, 160)};
        auto name = [&made](HWND w) {
            int i = (int)(std::find(made, made + 3, w) - made);
            return w == nullptr ? '0' : (char)('A' + i); // 'D': not ours
        };
        HWND window = made[row.window - 'A'];
        if (row.command == SWP_HIDE)
            SetWindowPos(window, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            ShowWindow(window, row.command);
        if (row.then != 0)
            ShowWindow(window, row.then);
        let_time_pass(20); // Wine restacks its windows through the X server a moment later
        pump_messages();
        std::string order;
        for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
            if (name(w) != 'D')
                order =
                    order + name(w) + (IsWindowVisible(w) ? "" : "h") + (IsIconic(w) ? "m" : "");
        EXPECT_EQ(order, row.order) << row.how;
        std::string active_focus = {name(GetActiveWindow()), name(GetFocus())};
        EXPECT_EQ(active_focus, row.active_focus) << row.how;
        TearDown();
        windows_.clear();
    }
}

// A hidden child keeps its place among its siblings.
TEST_F(ZOrder, AHiddenChildKeepsItsPlace) {
    HWND main = make_shown_popup(MAIN, 100, 80);
    HWND first = make(CHILD, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, main, 1);
    HWND last = make(CHILD2, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, main, 2);
    ShowWindow(last, SW_HIDE);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), last);
}

} // namespace
