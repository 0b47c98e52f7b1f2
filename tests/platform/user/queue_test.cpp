// The thread's message queue: posting and peeking with filters, messages
// posted to the thread, the order in which kinds of messages come out, sent
// messages inside sent messages, WaitMessage, and WM_QUIT.
#include "tests/platform/user/user_fixture.h"

namespace {

class Queue : public UserTest {
  protected:
    HWND window = nullptr;
    HWND other = nullptr;
    void SetUp() override {
        UserTest::SetUp();
        window = make(MAIN, WS_POPUP, 0, 0, 50, 50);
        other = make(SECOND, WS_POPUP, 60, 0, 50, 50);
        settle();
    }
};

TEST_F(Queue, PostedMessagesComeOutInOrderAndAreNotSent) {
    EXPECT_TRUE(PostMessageA(window, WM_USER, 1, 10));
    EXPECT_TRUE(PostMessageA(window, WM_USER + 1, 2, 20));
    expect_no_messages("posting calls no window procedure");
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, (UINT)WM_USER);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.lParam, 10);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_USER + 1);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, NoRemoveLeavesTheMessage) {
    PostMessageA(window, WM_USER, 5, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, WindowFilterSkipsOtherWindows) {
    PostMessageA(window, WM_USER, 1, 0);
    PostMessageA(other, WM_USER, 2, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, other, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_FALSE(PeekMessageA(&msg, other, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
}

TEST_F(Queue, RangeFilterIsInclusive) {
    PostMessageA(window, WM_USER, 0, 0);
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostMessageA(window, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_USER + 1);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_USER + 2);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 2, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
}

TEST_F(Queue, PostToNullWindowIsAThreadMessage) {
    EXPECT_TRUE(PostMessageA(nullptr, WM_USER, 3, 0));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) << "not for the window";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, 3u);
}

// A message posted to the thread arrives without a window; another
// thread id is refused.
TEST_F(Queue, PostThreadMessageReachesTheQueue) {
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP, 7, 8));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.lParam, 8);
    EXPECT_FALSE(PostThreadMessageA(GetCurrentThreadId() + 1000, WM_APP, 0, 0));
}

TEST_F(Queue, SendMessageCallsTheProcedureAtOnce) {
    PostMessageA(window, WM_USER, 1, 0);
    EXPECT_EQ(SendMessageA(window, WM_USER + 1, 2, 3), 0);
    const ExpectedMessage SENT_ONLY[] = {{WM_USER + 1, CHECK_WL, 2, 3, MAIN}};
    expect_sequence(SENT_ONLY, "a sent message bypasses the posted one");
}

// A procedure that sends a second message to another window from inside a
// sent one, and returns a value of its own.
LRESULT CALLBACK nesting_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    if (message == WM_USER) {
        LRESULT inner = SendMessageA((HWND)lparam, WM_USER + 1, 0, 0);
        log_mark(inner);
        return 77;
    }
    if (message == WM_USER + 1)
        return 42;
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(Queue, SendMessageNestsInsideASentMessage) {
    register_test_class("ZandrelNesting", nesting_proc);
    HWND a = make(MAIN, WS_POPUP, 0, 0, 10, 10, nullptr, 0, "ZandrelNesting");
    HWND b = make(SECOND, WS_POPUP, 0, 0, 10, 10, nullptr, 0, "ZandrelNesting");
    settle();
    EXPECT_EQ(SendMessageA(a, WM_USER, 0, (LPARAM)b), 77);
    const ExpectedMessage NESTED[] = {
        {WM_USER, MSG_ONLY, 0, 0, MAIN},
        {WM_USER + 1, MSG_ONLY, 0, 0, SECOND},
        {LOG_MARK, CHECK_W, 42, 0, ANY_WINDOW},
    };
    expect_sequence(NESTED, "SendMessageA inside SendMessageA");
    EXPECT_FALSE(InSendMessage()) << "same-thread sends are plain calls";
}

TEST_F(Queue, PostedBeforePaintBeforeTimer) {
    ShowWindow(window, SW_SHOWNA);
    settle();
    SetTimer(window, 1, 10, nullptr);
    let_time_pass(50);
    InvalidateRect(window, nullptr, FALSE);
    PostMessageA(window, WM_USER, 0, 0);
    MSG msg;
    std::vector<UINT> order;
    while (order.size() < 3 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    KillTimer(window, 1);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], (UINT)WM_USER) << "posted first";
    EXPECT_EQ(order[1], (UINT)WM_PAINT) << "then paint";
    EXPECT_EQ(order[2], (UINT)WM_TIMER) << "timers last";
}

TEST_F(Queue, TimerIsFoundByARangeThatExcludesPaint) {
    // Paint outranks timers only among the messages the filter lets through.
    SetTimer(window, 1, 10, nullptr);
    let_time_pass(30);
    ShowWindow(window, SW_SHOWNA);
    InvalidateRect(window, nullptr, FALSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_TIMER);
    KillTimer(window, 1);
}

TEST_F(Queue, GetMessageReturnsZeroForQuit) {
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(3);
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, (UINT)WM_USER) << "posted messages before WM_QUIT";
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, (UINT)WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "WM_QUIT comes out once";
}

TEST_F(Queue, QuitComesAfterLaterPostedMessages) {
    // PostQuitMessage only sets a flag: messages posted after it still come
    // out first.
    PostQuitMessage(0);
    PostMessageA(window, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_USER);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_QUIT);
}

TEST_F(Queue, WaitMessageReturnsForANewMessage) {
    PostMessageA(window, WM_USER, 0, 0);
    EXPECT_TRUE(WaitMessage()) << "a message nobody has looked at yet";
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, WaitMessageIgnoresMessagesAlreadySeen) {
    // After PeekMessageA has seen the posted message, WaitMessage blocks
    // until something new arrives; a timer provides the new arrival.
    PostMessageA(window, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    SetTimer(window, 9, 100, nullptr);
    DWORD start = GetTickCount();
    EXPECT_TRUE(WaitMessage());
    DWORD waited = GetTickCount() - start;
    KillTimer(window, 9);
    EXPECT_GE(waited, 50u) << "woke for the timer, not the old message";
    pump_messages();
}

TEST_F(Queue, DispatchReturnsTheProcedureResult) {
    register_test_class("ZandrelNestingDispatch", nesting_proc);
    HWND a = make(MAIN, WS_POPUP, 0, 0, 10, 10, nullptr, 0, "ZandrelNestingDispatch");
    MSG msg{a, WM_USER + 1, 0, 0, 0, {0, 0}};
    EXPECT_EQ(DispatchMessageA(&msg), 42);
}

TEST_F(Queue, PeekDeliversPendingSentMessagesOnly) {
    // GetQueueStatus reports posted messages by kind.
    PostMessageA(window, WM_USER, 0, 0);
    DWORD status = GetQueueStatus(0x04FF); // QS_ALLINPUT
    EXPECT_TRUE(HIWORD(status) & 0x0008) << "QS_POSTMESSAGE is set";
    pump_messages();
    status = GetQueueStatus(0x04FF);
    EXPECT_EQ(HIWORD(status) & 0x0008, 0) << "nothing posted is left";
}

} // namespace
