// The keyboard in a dialog: Tab among tab stops, arrows within a group,
// Enter and Escape as commands, and keys that a control wants for itself.
#include "tests/platform/user/user_fixture.h"

namespace {

LRESULT g_default_id = 0; // the dialog's answer to DM_GETDEFID

// A dialog procedure of the program's own, with what a dialog manager
// would do for WM_NEXTDLGCTL (Windows sends it for Tab).
LRESULT CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    if (message == DM_GETDEFID)
        return g_default_id;
    if (message == WM_NEXTDLGCTL) {
        SetFocus(lparam ? (HWND)wparam : GetNextDlgTabItem(window, GetFocus(), (BOOL)wparam));
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// A control answers WM_GETDLGCODE with what its user data holds.
LRESULT CALLBACK control_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    if (message == WM_GETDLGCODE)
        return GetWindowLongPtrA(window, GWLP_USERDATA);
    return DefWindowProcA(window, message, wparam, lparam);
}

class DialogKeys : public UserTest {
  protected:
    HWND dialog = nullptr;
    HWND a = nullptr, b = nullptr, c = nullptr, d = nullptr, e = nullptr;

    void SetUp() override {
        UserTest::SetUp();
        register_test_class("zandrel_dialog", dialog_proc);
        register_test_class("zandrel_control", control_proc);
        g_default_id = 0;
        dialog = make(MAIN, CAPTIONED_POPUP | WS_VISIBLE, 100, 80, 300, 200, nullptr, 0,
                      "zandrel_dialog");
        // Two groups: a b c, then d e; c is no tab stop and e is disabled.
        a = control(11, WS_TABSTOP | WS_GROUP, 0);
        b = control(12, WS_TABSTOP, 1);
        c = control(13, 0, 2);
        d = control(14, WS_TABSTOP | WS_GROUP, 3);
        e = control(15, WS_TABSTOP | WS_DISABLED, 4);
        settle();
    }

    HWND control(int id, DWORD style, int row) {
        return make(CHILD, WS_CHILD | WS_VISIBLE | style, 10, 10 + 25 * row, 80, 20, dialog,
                    (UINT_PTR)id, "zandrel_control");
    }

    BOOL press(UINT key, HWND target = nullptr) {
        MSG msg{target ? target : GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
        return IsDialogMessageA(dialog, &msg);
    }

    std::vector<LoggedMessage> commands() {
        auto found = log_find(WM_COMMAND);
        log_flush();
        return found;
    }
};

TEST_F(DialogKeys, TabVisitsTabStopsInOrder) {
    SetFocus(a);
    EXPECT_TRUE(press(VK_TAB));
    EXPECT_EQ(GetFocus(), b);
    EXPECT_TRUE(press(VK_TAB));
    EXPECT_EQ(GetFocus(), d) << "c is no tab stop";
    EXPECT_TRUE(press(VK_TAB));
    EXPECT_EQ(GetFocus(), a) << "e is disabled; around to the start";
    set_key(VK_SHIFT, true);
    EXPECT_TRUE(press(VK_TAB));
    set_key(VK_SHIFT, false);
    EXPECT_EQ(GetFocus(), d) << "Shift+Tab goes back";
}

TEST_F(DialogKeys, ArrowsStayInTheGroup) {
    SetFocus(a);
    EXPECT_TRUE(press(VK_DOWN));
    EXPECT_EQ(GetFocus(), b);
    EXPECT_TRUE(press(VK_RIGHT));
    EXPECT_EQ(GetFocus(), c) << "arrows reach controls that are no tab stops";
    EXPECT_TRUE(press(VK_DOWN));
    EXPECT_EQ(GetFocus(), a) << "and wrap within the group";
    EXPECT_TRUE(press(VK_UP));
    EXPECT_EQ(GetFocus(), c);
}

TEST_F(DialogKeys, EnterAndEscapeAreCommands) {
    SetFocus(a);
    log_flush();
    EXPECT_TRUE(press(VK_RETURN));
    auto sent = commands();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].window, dialog);
    EXPECT_EQ(sent[0].wparam, MAKEWPARAM(IDOK, BN_CLICKED)) << "no default: IDOK";
    EXPECT_TRUE(press(VK_ESCAPE));
    sent = commands();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].wparam, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    g_default_id = MAKELONG(14, DC_HASDEFID);
    EXPECT_TRUE(press(VK_RETURN));
    sent = commands();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].wparam, MAKEWPARAM(14, BN_CLICKED)) << "the dialog's default";
    EXPECT_EQ(sent[0].lparam, (LPARAM)d) << "with the button's window";
}

TEST_F(DialogKeys, ControlsKeepTheKeysTheyWant) {
    SetWindowLongPtrA(b, GWLP_USERDATA, DLGC_WANTTAB | DLGC_WANTARROWS);
    SetFocus(b);
    log_flush();
    EXPECT_TRUE(press(VK_TAB)) << "handled by dispatching it";
    EXPECT_TRUE(press(VK_DOWN));
    EXPECT_EQ(GetFocus(), b);
    auto keys = log_find(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].window, b);
    EXPECT_EQ(keys[0].wparam, (WPARAM)VK_TAB);
    EXPECT_EQ(keys[1].wparam, (WPARAM)VK_DOWN);
    EXPECT_EQ(log_count(WM_GETDLGCODE), 2u) << "the control was asked each time";
}

TEST_F(DialogKeys, OtherMessagesAreDispatched) {
    SetFocus(a);
    log_flush();
    EXPECT_TRUE(press('X'));
    auto keys = log_find(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].window, a);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, a, WM_CHAR, WM_CHAR, PM_REMOVE)) << "and translated";
    HWND outsider = make(SECOND, WS_POPUP, 0, 0, 10, 10);
    log_flush();
    MSG other{outsider, WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_FALSE(IsDialogMessageA(dialog, &other)) << "not the dialog's";
    expect_no_messages("a message for another window is left alone");
}

} // namespace
