// What a program can do with the mouse by itself: capture, coordinate
// mapping, and the packing of mouse coordinates in posted messages.
#include "tests/platform/user/user_fixture.h"

namespace {

class Input : public UserTest {
  protected:
    HWND window = nullptr;
    void SetUp() override {
        UserTest::SetUp();
        window = make_shown_popup(MAIN, 100, 80);
    }
};

TEST_F(Input, CaptureSetGetRelease) {
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SetCapture(window), nullptr) << "nobody had it";
    EXPECT_EQ(GetCapture(), window);
    expect_no_messages("taking capture tells nobody when nobody had it");
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    const ExpectedMessage RELEASED[] = {{WM_CAPTURECHANGED, CHECK_WL, 0, 0, MAIN}};
    expect_sequence(RELEASED, "ReleaseCapture");
}

TEST_F(Input, CaptureMovesBetweenWindows) {
    HWND other = make(SECOND, WS_POPUP | WS_VISIBLE, 400, 80, 50, 50);
    settle();
    SetCapture(window);
    EXPECT_EQ(SetCapture(other), window);
    auto changed = log_find(WM_CAPTURECHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].window, window) << "the loser hears of it";
    EXPECT_EQ(changed[0].lparam, (LPARAM)other) << "and who gains";
    log_flush();
    ReleaseCapture();
    const ExpectedMessage RELEASED[] = {{WM_CAPTURECHANGED, CHECK_WL, 0, 0, SECOND}};
    expect_sequence(RELEASED, "ReleaseCapture by the second window");
}

TEST_F(Input, ReleaseWithoutCaptureSucceedsSilently) {
    EXPECT_TRUE(ReleaseCapture());
    expect_no_messages("nothing to release");
}

TEST_F(Input, DestroyingTheCaptureWindowReleasesIt) {
    HWND other = make(SECOND, WS_POPUP | WS_VISIBLE, 400, 80, 50, 50);
    settle();
    SetCapture(other);
    DestroyWindow(other);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, ClientToScreenAndBack) {
    RECT rect;
    GetWindowRect(window, &rect);
    int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
    int caption = GetSystemMetrics(SM_CYCAPTION);
    POINT p{5, 7};
    EXPECT_TRUE(ClientToScreen(window, &p));
    EXPECT_EQ(p.x, rect.left + frame + 5);
    EXPECT_EQ(p.y, rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + caption + 7);
    EXPECT_TRUE(ScreenToClient(window, &p));
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 7);
}

TEST_F(Input, MapWindowPointsBetweenSiblingsAndToScreen) {
    HWND child = make(CHILD, WS_CHILD | WS_VISIBLE, 10, 20, 50, 40, window, 1);
    HWND child2 = make(CHILD2, WS_CHILD | WS_VISIBLE, 70, 5, 50, 40, window, 2);
    POINT points[2] = {{0, 0}, {3, 4}};
    int offset = MapWindowPoints(child, child2, points, 2);
    EXPECT_EQ(points[0].x, -60);
    EXPECT_EQ(points[0].y, 15);
    EXPECT_EQ(points[1].x, -57);
    EXPECT_EQ(points[1].y, 19);
    // The return packs the horizontal offset in the low word and the
    // vertical one in the high word.
    EXPECT_EQ((short)LOWORD(offset), -60);
    EXPECT_EQ((short)HIWORD(offset), 15);
    POINT origin{0, 0};
    MapWindowPoints(child, HWND_DESKTOP, &origin, 1);
    POINT parent_origin{10, 20};
    ClientToScreen(window, &parent_origin);
    EXPECT_EQ(origin.x, parent_origin.x);
    EXPECT_EQ(origin.y, parent_origin.y);
}

TEST_F(Input, PostedMouseMoveKeepsNegativeCoordinatesPacked) {
    PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-3, 40));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    EXPECT_EQ(LOWORD(msg.lParam), 65533);
    EXPECT_EQ((short)LOWORD(msg.lParam), -3);
    EXPECT_EQ((short)HIWORD(msg.lParam), 40);
    EXPECT_EQ(msg.wParam, (WPARAM)MK_LBUTTON);
    DispatchMessageA(&msg);
    const ExpectedMessage MOVE[] = {
        {WM_MOUSEMOVE, CHECK_WL, MK_LBUTTON, 0xFFFD | (40 << 16), MAIN}};
    expect_sequence(MOVE, "dispatching a posted WM_MOUSEMOVE");
}

// A key going down or up as the keyboard sends it: through the host on the
// layer, through SendInput on Windows, where it reaches the queue some time
// later.
MSG type_key(UINT key, bool down) {
#ifdef _WIN32
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = (WORD)key;
    input.ki.wScan = (WORD)MapVirtualKeyA(key, 0 /* MAPVK_VK_TO_VSC */);
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (key == VK_DOWN ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof input);
#else
    push_key(key, down);
#endif
    MSG msg{};
    for (int i = 0; i < 200; ++i) {
        if (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
            return msg;
        let_time_pass(10);
    }
    return MSG{};
}

// Keys from the keyboard carry a repeat count of 1, the scan code, the
// context bit while Alt is down, the previous state and the transition.
// Alt+G and its release, then Alt alone.
TEST_F(Input, KeyMessagesCarryWindowsKeyData) {
    const struct {
        UINT key;
        bool down;
        UINT message;
        LPARAM data;
    } KEYS[] = {
        {VK_MENU, true, WM_SYSKEYDOWN, 0x20380001},
        {'G', true, WM_SYSKEYDOWN, 0x20220001},
        {'G', true, WM_SYSKEYDOWN, 0x60220001}, // held: the key was down before
        {'G', false, WM_SYSKEYUP, (LPARAM)0xE0220001u},
        // Another key went up while Alt was held: Alt's release is no
        // longer a system key, and does not open the menu bar.
        {VK_MENU, false, WM_KEYUP, (LPARAM)0xC0380001u},
        {VK_MENU, true, WM_SYSKEYDOWN, 0x20380001},
        {VK_MENU, false, WM_SYSKEYUP, (LPARAM)0xC0380001u}, // alone
        {VK_DOWN, true, WM_KEYDOWN, 0x01500001},            // an extended key
        {VK_DOWN, false, WM_KEYUP, (LPARAM)0xC1500001u},
    };
    for (const auto& k : KEYS) {
        MSG msg = type_key(k.key, k.down);
        EXPECT_EQ(msg.message, k.message) << k.key;
        EXPECT_EQ((DWORD)msg.lParam, (DWORD)k.data) << k.key << (k.down ? " down" : " up");
    }
}

} // namespace
