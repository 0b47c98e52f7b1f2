// Timers: WM_TIMER with its id, one pending WM_TIMER per timer however long
// the program is busy, the 10 ms minimum, timer routines, and the end of a
// window's timers with the window.
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

namespace {

class Timer : public UserTest {
  protected:
    HWND window = nullptr;
    void SetUp() override {
        UserTest::SetUp();
        window = make(MAIN, WS_POPUP, 0, 0, 50, 50);
        settle();
    }
};

size_t count_queued_timers(HWND window) {
    size_t count = 0;
    MSG msg;
    while (PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE))
        ++count;
    return count;
}

TEST_F(Timer, WindowTimerReturnsItsIdAndPostsWmTimer) {
    EXPECT_EQ(SetTimer(window, 5, 10, nullptr), 5u);
    MSG msg;
    ASSERT_GT(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, (UINT)WM_TIMER);
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(msg.lParam, 0) << "no routine";
    DispatchMessageA(&msg);
    const ExpectedMessage DISPATCHED[] = {{WM_TIMER, CHECK_WL, 5, 0, MAIN}};
    expect_sequence(DISPATCHED, "a dispatched WM_TIMER");
    EXPECT_TRUE(KillTimer(window, 5));
}

TEST_F(Timer, OnlyOneWmTimerIsPendingPerTimer) {
    SetTimer(window, 1, 10, nullptr);
    SetTimer(window, 2, 10, nullptr);
    let_time_pass(120);
    EXPECT_EQ(count_queued_timers(window), 2u) << "one per timer after many intervals";
    KillTimer(window, 1);
    KillTimer(window, 2);
}

TEST_F(Timer, KilledTimerPostsNoMore) {
    SetTimer(window, 1, 10, nullptr);
    let_time_pass(30);
    EXPECT_TRUE(KillTimer(window, 1));
    EXPECT_EQ(count_queued_timers(window), 0u) << "killing also removes the pending one";
}

// A program that waits by polling, never blocking, sees time pass: for its
// timer, with PM_REMOVE, or for the tick count, with PM_NOREMOVE. The cap on
// polls only keeps a fault from hanging the test.
TEST_F(Timer, BusyWaitsOnPeekMessageEnd) {
    static const struct Row {
        const char* what;
        UINT remove;
        bool for_timer;
    } rows[] = {{"WM_TIMER, PM_REMOVE", PM_REMOVE, true},
                {"the tick count, PM_NOREMOVE", PM_NOREMOVE, false}};
    for (const Row& row : rows) {
        SetTimer(window, 1, 50, nullptr);
        DWORD start = GetTickCount();
        MSG msg{};
        bool done = false;
        for (long polls = 0; !done && polls < 20'000'000; ++polls) {
            bool got = PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, row.remove);
            done = row.for_timer ? got : GetTickCount() - start >= 50;
        }
        EXPECT_TRUE(done) << row.what;
        EXPECT_GE(GetTickCount() - start, 50u - 16u) << row.what << ": not before its time";
        KillTimer(window, 1);
        count_queued_timers(window);
    }
}

#ifndef _WIN32
// A program busy with its own posted messages is not waiting: its polls
// find something, and the clock stays where it is.
TEST_F(Timer, PostedMessageRoundTripsLetNoTimePass) {
    uint64_t before = headless_clock_us();
    MSG msg;
    for (int i = 0; i < 10'000; ++i) {
        PostMessageA(window, WM_APP, 0, 0);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    EXPECT_EQ(headless_clock_us(), before);
}
#endif

TEST_F(Timer, KillUnknownTimerFails) {
    SetLastError(0);
    EXPECT_FALSE(KillTimer(window, 1234));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

TEST_F(Timer, SettingAgainReplacesTheTimer) {
    SetTimer(window, 1, 10, nullptr);
    let_time_pass(30);
    EXPECT_EQ(SetTimer(window, 1, 100000, nullptr), 1u);
    EXPECT_EQ(count_queued_timers(window), 0u) << "reset: the old expiry is gone";
    KillTimer(window, 1);
}

TEST_F(Timer, ShortIntervalsAreRaisedToTenMilliseconds) {
    // Coarse: 20 firings of a 1 ms timer take at least 20 * 10 ms, less a
    // margin for the tick granularity.
    SetTimer(window, 1, 1, nullptr);
    DWORD start = GetTickCount();
    MSG msg;
    for (int fired = 0; fired < 20;) {
        GetMessageA(&msg, nullptr, 0, 0);
        if (msg.message == WM_TIMER)
            ++fired;
    }
    DWORD elapsed = GetTickCount() - start;
    KillTimer(window, 1);
    EXPECT_GE(elapsed, 180u);
}

UINT_PTR routine_id = 0;
HWND routine_window = nullptr;
int routine_calls = 0;
VOID CALLBACK timer_routine(HWND window, UINT message, UINT_PTR id, DWORD) {
    ++routine_calls;
    routine_window = window;
    routine_id = id;
    EXPECT_EQ(message, (UINT)WM_TIMER);
}

TEST_F(Timer, RoutineIsCalledByDispatchNotTheWindowProcedure) {
    routine_calls = 0;
    SetTimer(window, 3, 10, timer_routine);
    MSG msg;
    do {
        GetMessageA(&msg, nullptr, 0, 0);
    } while (msg.message != WM_TIMER);
    // Windows puts the routine's address in lParam; Wine puts a handle that
    // stands for it. Either way DispatchMessageA finds the routine from it.
    if (running_under_wine())
        EXPECT_NE(msg.lParam, 0);
    else
        EXPECT_EQ(msg.lParam, (LPARAM)timer_routine);
    EXPECT_EQ(routine_calls, 0) << "not yet dispatched";
    DispatchMessageA(&msg);
    EXPECT_EQ(routine_calls, 1);
    EXPECT_EQ(routine_window, window);
    EXPECT_EQ(routine_id, 3u);
    expect_no_messages("the window procedure does not see it");
    KillTimer(window, 3);
}

TEST_F(Timer, ThreadTimerGetsANewIdAndNoWindow) {
    routine_calls = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 10, timer_routine);
    EXPECT_NE(id, 0u);
    MSG msg;
    do {
        GetMessageA(&msg, nullptr, 0, 0);
    } while (msg.message != WM_TIMER);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, id);
    DispatchMessageA(&msg);
    EXPECT_EQ(routine_calls, 1);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(Timer, DestroyedWindowsTimersEnd) {
    HWND doomed = make(SECOND, WS_POPUP, 0, 0, 10, 10);
    SetTimer(doomed, 1, 10, nullptr);
    let_time_pass(30);
    DestroyWindow(doomed);
    let_time_pass(30);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    SetLastError(0);
    EXPECT_FALSE(KillTimer(doomed, 1));
}

} // namespace
