// The messages that CreateWindowExA sends, in order, for the kinds of
// window the runtime makes: a visible captioned popup, a hidden one, and a
// child, whose parent hears of it through WM_PARENTNOTIFY.
#include "tests/platform/user/user_fixture.h"

namespace {

// A popup without WS_THICKFRAME gets no WM_GETMINMAXINFO. Creation sends
// WM_SIZE and WM_MOVE itself, before showing (client 194 by 125 at 103,102
// with the classic frame of 3 and caption of 19); the show then neither
// moves nor sizes, so WM_WINDOWPOSCHANGED is not followed by them. The show
// activates the new window, paints its frame (WM_NCPAINT with wParam 1: the
// whole frame) and erases its client area before WM_WINDOWPOSCHANGED.
const ExpectedMessage CREATE_VISIBLE_POPUP[] = {
    {WM_NCCREATE, MSG_ONLY, 0, 0, MAIN},
    {WM_NCCALCSIZE, CHECK_W, FALSE, 0, MAIN},
    {WM_CREATE, MSG_ONLY, 0, 0, MAIN},
    {WM_SIZE, CHECK_WL, SIZE_RESTORED, MAKELPARAM(194, 125), MAIN},
    {WM_MOVE, CHECK_WL, 0, MAKELPARAM(103, 102), MAIN},
    {WM_SHOWWINDOW, CHECK_WL, TRUE, 0, MAIN},
    {WM_WINDOWPOSCHANGING, CHECK_L, 0, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE, MAIN},
    {0x030F, MAYBE, 0, 0, MAIN}, // WM_QUERYNEWPALETTE
    // Some versions bring the window to the top in a second step.
    {WM_WINDOWPOSCHANGING, CHECK_L | MAYBE, 0, SWP_NOSIZE | SWP_NOMOVE, MAIN},
    {WM_ACTIVATEAPP, CHECK_W, TRUE, 0, MAIN},
    {WM_NCACTIVATE, CHECK_W, TRUE, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ACTIVATE, CHECK_WL, WA_ACTIVE, 0, MAIN},
    {WM_SETFOCUS, CHECK_W, 0, 0, MAIN},
    {WM_NCPAINT, CHECK_W, 1, 0, MAIN},
    {WM_GETTEXT, MAYBE, 0, 0, MAIN}, // some versions read the title to draw it
    {WM_ERASEBKGND, MSG_ONLY, 0, 0, MAIN},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER,
     MAIN},
};

const ExpectedMessage CREATE_HIDDEN_POPUP[] = {
    {WM_NCCREATE, MSG_ONLY, 0, 0, MAIN},
    {WM_NCCALCSIZE, CHECK_W, FALSE, 0, MAIN},
    {WM_CREATE, MSG_ONLY, 0, 0, MAIN},
    {WM_SIZE, CHECK_WL, SIZE_RESTORED, MAKELPARAM(194, 125), MAIN},
    {WM_MOVE, CHECK_WL, 0, MAKELPARAM(103, 102), MAIN},
};

// A window that can be resized (WS_THICKFRAME) is asked for its limits first.
const ExpectedMessage CREATE_HIDDEN_SIZABLE[] = {
    {WM_GETMINMAXINFO, MSG_ONLY, 0, 0, MAIN},   {WM_NCCREATE, MSG_ONLY, 0, 0, MAIN},
    {WM_NCCALCSIZE, CHECK_W, FALSE, 0, MAIN},   {WM_CREATE, MSG_ONLY, 0, 0, MAIN},
    {WM_SIZE, CHECK_W, SIZE_RESTORED, 0, MAIN}, {WM_MOVE, CHECK_W, 0, 0, MAIN},
};

// A child gets no WM_GETMINMAXINFO; the parent hears WM_PARENTNOTIFY with
// WM_CREATE and the child's id in wParam, the child's handle in lParam. A
// visible child is shown without activation.
const ExpectedMessage CREATE_VISIBLE_CHILD[] = {
    {WM_NCCREATE, MSG_ONLY, 0, 0, CHILD},
    {WM_NCCALCSIZE, CHECK_W, FALSE, 0, CHILD},
    {WM_CREATE, MSG_ONLY, 0, 0, CHILD},
    {WM_SIZE, CHECK_WL, SIZE_RESTORED, MAKELPARAM(50, 40), CHILD},
    {WM_MOVE, CHECK_WL, 0, MAKELPARAM(10, 20), CHILD},
    {WM_PARENTNOTIFY, CHECK_W, MAKEWPARAM(WM_CREATE, 7), 0, MAIN},
    {WM_SHOWWINDOW, CHECK_WL, TRUE, 0, CHILD},
    {WM_WINDOWPOSCHANGING, CHECK_L, 0,
     SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER, CHILD},
    {WM_NCPAINT, CHECK_W, 1, 0, CHILD},
    {WM_GETTEXT, MAYBE, 0, 0, CHILD}, // some versions read the title to draw it
    {WM_ERASEBKGND, MSG_ONLY, 0, 0, CHILD},
    {WM_WINDOWPOSCHANGED, CHECK_L, 0,
     SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER, CHILD},
};

class Creation : public UserTest {};

TEST_F(Creation, VisibleCaptionedPopupMessagesInOrder) {
    HWND window = CreateWindowExA(0, recording_class(), "popup", CAPTIONED_POPUP | WS_VISIBLE, 100,
                                  80, 200, 150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    windows_.push_back(window);
    // The log names windows by role, and the window's handle is known only
    // now: give every recorded message of this handle the main role.
    log_watch(window, MAIN);
    expect_sequence(CREATE_VISIBLE_POPUP, "CreateWindowExA of a visible captioned popup");
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(GetFocus(), window);
}

TEST_F(Creation, HiddenPopupIsNeitherShownNorActivated) {
    HWND before = GetActiveWindow();
    HWND window = CreateWindowExA(0, recording_class(), "popup", CAPTIONED_POPUP, 100, 80, 200, 150,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    windows_.push_back(window);
    log_watch(window, MAIN);
    expect_sequence(CREATE_HIDDEN_POPUP, "CreateWindowExA of a hidden captioned popup");
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetActiveWindow(), before);
}

TEST_F(Creation, SizablePopupIsAskedForItsLimits) {
    HWND window = CreateWindowExA(0, recording_class(), "popup", WS_POPUP | WS_THICKFRAME, 100, 80,
                                  200, 150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    windows_.push_back(window);
    log_watch(window, MAIN);
    expect_sequence(CREATE_HIDDEN_SIZABLE, "CreateWindowExA of a hidden sizable popup");
}

TEST_F(Creation, VisibleChildNotifiesItsParent) {
    HWND parent = make_shown_popup();
    HWND child = CreateWindowExA(0, recording_class(), "child", WS_CHILD | WS_VISIBLE, 10, 20, 50,
                                 40, parent, (HMENU)7, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    log_watch(child, CHILD);
    std::vector<LoggedMessage> notes = log_find(WM_PARENTNOTIFY);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].lparam, (LPARAM)child);
    expect_sequence(CREATE_VISIBLE_CHILD, "CreateWindowExA of a visible child");
    EXPECT_EQ(GetActiveWindow(), parent) << "a child does not take activation";
}

// WM_NCCREATE and WM_CREATE carry a CREATESTRUCTA with the arguments of the
// call, the size as given (not yet adjusted) and the parameter pointer.
CREATESTRUCTA seen_create{};
LRESULT CALLBACK keep_createstruct(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE)
        seen_create = *reinterpret_cast<CREATESTRUCTA*>(lparam);
    return recording_window_proc(window, message, wparam, lparam);
}

TEST_F(Creation, CreateStructCarriesTheArguments) {
    register_test_class("ZandrelCreateStruct", keep_createstruct);
    int param = 0;
    HWND window =
        CreateWindowExA(WS_EX_TOOLWINDOW, "ZandrelCreateStruct", "title", CAPTIONED_POPUP, 11, 22,
                        133, 144, nullptr, nullptr, GetModuleHandleA(nullptr), &param);
    ASSERT_NE(window, nullptr);
    windows_.push_back(window);
    EXPECT_EQ(seen_create.lpCreateParams, &param);
    EXPECT_EQ(seen_create.x, 11);
    EXPECT_EQ(seen_create.y, 22);
    EXPECT_EQ(seen_create.cx, 133);
    EXPECT_EQ(seen_create.cy, 144);
    EXPECT_EQ((DWORD)seen_create.style, CAPTIONED_POPUP);
    EXPECT_EQ(seen_create.dwExStyle & WS_EX_TOOLWINDOW, (DWORD)WS_EX_TOOLWINDOW);
    EXPECT_STREQ(seen_create.lpszName, "title");
}

// A window procedure that refuses WM_CREATE makes CreateWindowExA fail; the
// window never existed for its procedure, so it gets WM_NCDESTROY only, not
// WM_DESTROY.
LRESULT CALLBACK refuse_create(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    if (message == WM_CREATE)
        return -1;
    return DefWindowProcA(window, message, wparam, lparam);
}

const ExpectedMessage REFUSED_CREATE[] = {
    {WM_NCCREATE, MSG_ONLY, 0, 0, ANY_WINDOW},
    {WM_NCCALCSIZE, CHECK_W, FALSE, 0, ANY_WINDOW},
    {WM_CREATE, MSG_ONLY, 0, 0, ANY_WINDOW},
    {WM_NCDESTROY, MSG_ONLY, 0, 0, ANY_WINDOW},
};

TEST_F(Creation, RefusedCreateDestroysTheWindow) {
    register_test_class("ZandrelRefuseCreate", refuse_create);
    HWND window = CreateWindowExA(0, "ZandrelRefuseCreate", "no", CAPTIONED_POPUP | WS_VISIBLE, 0,
                                  0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(window, nullptr);
    expect_sequence(REFUSED_CREATE, "WM_CREATE returning -1");
}

TEST_F(Creation, UnknownClassFails) {
    SetLastError(0);
    HWND window = CreateWindowExA(0, "ZandrelNoSuchClass", "no", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_CLASS_DOES_NOT_EXIST);
}

} // namespace
