// The layer's windows on a desktop it does not own alone: moves, activation,
// minimising and restoring that come from the host's window manager, and
// the task bar that the layer draws where it composes the desktop itself.
#include "tests/platform/user/user_fixture.h"

#include "platform/host/headless/headless.h"

namespace {

// The first task bar button, and the second, on the 1024 by 768 screen
// whose bar fills the 40 rows below the work area.
constexpr POINT FIRST_BUTTON = {84, 748};
constexpr POINT SECOND_BUTTON = {247, 748};

void push_window_event(HostEventType type, HWND window, POINT point = {}) {
    HostEvent event{};
    event.type = type;
    event.window = window;
    event.point = point;
    headless_push_event(event);
    pump_messages();
}

void click(POINT at) {
    click_at(at);
    // The bar posts its command while the queue is being read: a second
    // look finds it.
    pump_messages();
    pump_messages();
}

class Desktop : public UserTest {};

const ExpectedMessage MOVED_BY_WINDOW_MANAGER[] = {
    {WM_WINDOWPOSCHANGING, MSG_ONLY, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, MAIN},
    {WM_MOVE, CHECK_L, 0, MAKELPARAM(303, 222), MAIN},
};

TEST_F(Desktop, AMoveByTheWindowManagerIsAMoveOfTheWindow) {
    HWND window = make_shown_popup();
    push_window_event(HOST_MOVED, window, {300, 200});
    expect_sequence(MOVED_BY_WINDOW_MANAGER, "the window manager moved the window");
    RECT rect;
    GetWindowRect(window, &rect);
    expect_rect(rect, {300, 200, 500, 350}, "the window's place");
    ASSERT_TRUE(desktop_window_rect(window, &rect));
    expect_rect(rect, {300, 200, 500, 350}, "the place the host knows");
    push_window_event(HOST_MOVED, window, {300, 200});
    expect_no_messages("a move to where the window is");
}

const ExpectedMessage DEACTIVATED_BY_ANOTHER_PROGRAM[] = {
    {WM_NCACTIVATE, CHECK_W, FALSE, 0, MAIN},
    {WM_ACTIVATE, CHECK_WL, WA_INACTIVE, 0, MAIN},
    {WM_ACTIVATEAPP, CHECK_W, FALSE, 0, MAIN},
    {WM_KILLFOCUS, CHECK_W, 0, 0, MAIN},
};
const ExpectedMessage ACTIVATED_AGAIN[] = {
    {WM_ACTIVATEAPP, CHECK_W, TRUE, 0, MAIN},
    {WM_NCACTIVATE, CHECK_W, TRUE, 0, MAIN},
    {WM_ACTIVATE, CHECK_WL, WA_ACTIVE, 0, MAIN},
    {WM_SETFOCUS, CHECK_W, 0, 0, MAIN},
};

TEST_F(Desktop, AnotherProgramTakingTheFocusDeactivatesAndComingBackActivates) {
    HWND window = make_shown_popup();
    ASSERT_EQ(GetActiveWindow(), window);
    push_window_event(HOST_DEACTIVATE, nullptr);
    expect_sequence(DEACTIVATED_BY_ANOTHER_PROGRAM, "focus went to another program");
    EXPECT_EQ(GetActiveWindow(), nullptr);
    push_window_event(HOST_ACTIVATE, window);
    expect_sequence(ACTIVATED_AGAIN, "the window manager activated the window again");
    EXPECT_EQ(GetActiveWindow(), window);
}

TEST_F(Desktop, ActivatingAnOwnerDisabledByItsBoxActivatesTheBox) {
    HWND owner = make_shown_popup(MAIN);
    HWND box = CreateWindowExA(0, recording_class(), "box", CAPTIONED_POPUP | WS_VISIBLE, 150, 120,
                               100, 80, owner, nullptr, nullptr, nullptr);
    windows_.push_back(box);
    EnableWindow(owner, FALSE);
    settle();
    push_window_event(HOST_DEACTIVATE, nullptr);
    push_window_event(HOST_ACTIVATE, owner);
    EXPECT_EQ(GetActiveWindow(), box);
    EXPECT_EQ(desktop_top_window(), box) << "the box stays above its owner";
    EnableWindow(owner, TRUE);
}

// A window manager focuses a drop-down menu's real window in passing; the
// layer's activation stays with the window the menu belongs to.
TEST_F(Desktop, FocusOnACaptionlessPopupLeavesTheActivation) {
    HWND window = make_shown_popup(MAIN);
    HWND popup =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, recording_class(), "",
                        WS_POPUP | WS_VISIBLE, 120, 100, 60, 40, window, nullptr, nullptr, nullptr);
    windows_.push_back(popup);
    SetActiveWindow(window);
    settle();
    push_window_event(HOST_ACTIVATE, popup);
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(log_count(WM_NCACTIVATE), 0u);
}

TEST_F(Desktop, TheWindowManagersMinimiseAndRestoreAreSystemCommands) {
    HWND window = make_shown_popup();
    push_window_event(HOST_MINIMIZE, window);
    ASSERT_EQ(log_find(WM_SYSCOMMAND).size(), 1u);
    EXPECT_EQ(log_find(WM_SYSCOMMAND)[0].wparam, (WPARAM)SC_MINIMIZE);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_TRUE(desktop_window_minimized(window));
    EXPECT_FALSE(desktop_window_visible(window));
    log_flush();
    push_window_event(HOST_MINIMIZE, window);
    expect_no_messages("minimising a minimised window");
    push_window_event(HOST_RESTORE, window);
    std::vector<LoggedMessage> commands = log_find(WM_SYSCOMMAND);
    std::vector<LoggedMessage> sizes = log_find(WM_SIZE);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wparam, (WPARAM)SC_RESTORE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].wparam, (WPARAM)SIZE_RESTORED);
    EXPECT_EQ(log_count(WM_PAINT), 1u) << "the restored window paints itself again";
    EXPECT_FALSE(IsIconic(window));
    EXPECT_FALSE(desktop_window_minimized(window));
    EXPECT_TRUE(desktop_window_visible(window));
    RECT rect;
    GetWindowRect(window, &rect);
    expect_rect(rect, {100, 80, 300, 230}, "back at its place");
}

// What a click on a program window's task bar button does, from each state.
struct ButtonCase {
    const char* state;
    bool minimized_before;
    bool active_before;
    WPARAM command; // the system command the window gets; 0 for none
    bool minimized_after;
    bool active_after;
};

const ButtonCase BUTTON_CASES[] = {
    {"minimised", true, false, SC_RESTORE, false, true},
    {"active", false, true, SC_MINIMIZE, true, false}, // the other window takes over
    {"behind another", false, false, 0, false, true},
};

TEST_F(Desktop, TaskBarButtonsRestoreMinimiseOrActivate) {
    for (const ButtonCase& c : BUTTON_CASES) {
        HWND window = make_shown_popup(MAIN, 100, 80);
        HWND other = make_shown_popup(SECOND, 400, 80);
        if (c.active_before)
            SetActiveWindow(window);
        if (c.minimized_before)
            ShowWindow(window, SW_MINIMIZE);
        settle();
        click(FIRST_BUTTON);
        std::vector<LoggedMessage> commands = log_find(WM_SYSCOMMAND);
        if (c.command == 0) {
            EXPECT_TRUE(commands.empty()) << c.state;
        } else {
            ASSERT_EQ(commands.size(), 1u) << c.state;
            EXPECT_EQ(commands[0].wparam, c.command) << c.state;
        }
        EXPECT_EQ(IsIconic(window) != FALSE, c.minimized_after) << c.state;
        EXPECT_EQ(GetActiveWindow() == window, c.active_after) << c.state;
        DestroyWindow(other);
        DestroyWindow(window);
        settle();
    }
}

TEST_F(Desktop, OnlyUnownedCaptionedWindowsHaveButtons) {
    HWND window = make_shown_popup(MAIN, 100, 80);
    HWND owned = CreateWindowExA(0, recording_class(), "owned", CAPTIONED_POPUP | WS_VISIBLE, 400,
                                 80, 100, 80, window, nullptr, nullptr, nullptr);
    HWND plain = make(SECOND, WS_POPUP | WS_VISIBLE, 400, 300, 100, 80);
    windows_.push_back(owned);
    SetActiveWindow(window);
    settle();
    click(SECOND_BUTTON);
    EXPECT_EQ(GetActiveWindow(), window) << "no second button to click";
    EXPECT_EQ(log_count(WM_SYSCOMMAND), 0u);
    DestroyWindow(plain);
}

} // namespace

namespace {

// Dragging a sizing frame by one of its edges or corners: the opposite
// edges stay, the window procedure hears each new rectangle as WM_SIZING
// with the edge, and the size never goes below the minimum tracking size
// (112 by 27).
struct FrameDrag {
    const char* what;
    POINT grab; // on the frame of a window at 100, 80, 200 by 150
    POINT drop;
    WPARAM edge;
    RECT expected;
};
const FrameDrag FRAME_DRAGS[] = {
    {"bottom-right corner", {298, 228}, {348, 268}, WMSZ_BOTTOMRIGHT, {100, 80, 350, 270}},
    {"left edge", {101, 150}, {81, 170}, WMSZ_LEFT, {80, 80, 300, 230}},
    {"top-left corner", {101, 81}, {131, 101}, WMSZ_TOPLEFT, {130, 100, 300, 230}},
    {"bottom edge past the top", {200, 228}, {200, 20}, WMSZ_BOTTOM, {100, 80, 300, 107}},
};

TEST_F(Desktop, DraggingTheSizingFrameSizesTheWindow) {
    for (const FrameDrag& row : FRAME_DRAGS) {
        HWND window = make(MAIN, CAPTIONED_POPUP | WS_THICKFRAME | WS_VISIBLE, 100, 80, 200, 150);
        settle();
        std::string script = "+0 down left " + std::to_string(row.grab.x) + " " +
                             std::to_string(row.grab.y) + "\n+0 move " +
                             std::to_string(row.drop.x) + " " + std::to_string(row.drop.y) +
                             "\n+0 up left\n";
        std::string error;
        ASSERT_TRUE(headless_load_script(script.c_str(), row.what, &error)) << error;
        pump_messages();
        RECT rect;
        GetWindowRect(window, &rect);
        expect_rect(rect, row.expected, row.what);
        auto sizing = log_find(WM_SIZING);
        ASSERT_FALSE(sizing.empty()) << row.what;
        EXPECT_EQ(sizing.back().wparam, row.edge) << row.what;
        EXPECT_EQ(log_count(WM_EXITSIZEMOVE), 1u) << row.what;
        DestroyWindow(window);
        settle();
    }
}

} // namespace
