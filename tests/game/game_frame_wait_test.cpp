// The frame wait and its timer: start-up starts timer 1 on the main window,
// which wakes the wait every system tick; a frame lasts one tick of tick
// count, and New or a resume ends the running wait after the current pass.
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using FrameWait = GameTest;

// The main window's frame-timer messages queued now; taken off the queue.
int takeFrameTimerMessages() {
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, GameState.mainWindow.hwnd, WM_TIMER, WM_TIMER, PM_REMOVE))
        count += msg.wParam == 1;
    return count;
}

// A 5 ms timer fires on every system tick (15.625 ms); one of 16 ms or more
// would miss the first.
TEST_F(FrameWait, StartUpStartsTimer1OnTheMainWindowEveryTick) {
    takeFrameTimerMessages();
    for (int tick = 0; tick < 4; ++tick) {
        headless_advance_clock_us(15625);
        EXPECT_EQ(takeFrameTimerMessages(), 1) << "tick " << tick;
    }
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE))
        << "no timer of the game's on any other window";
}

TEST_F(FrameWait, AFrameLastsOneTickOfTickCount) {
    choose(1);
    frame();
    for (int i = 0; i < 20; ++i) {
        DWORD before = GameState.lastFrameTick;
        frame();
        DWORD elapsed = GameState.lastFrameTick - before;
        EXPECT_GT(elapsed, 5u) << "frame " << i;
        EXPECT_LE(elapsed, 16u) << "frame " << i;
    }
}

// The command arrives during the wait; the wait ends after the pass of
// waitEvents that handled it, before the frame period is over.
TEST_F(FrameWait, NewOrResumeEndsTheRunningWait) {
    static const struct {
        const char* what;
        int32_t pausedBefore;
        WPARAM command;
        bool endsAtOnce;
    } CASES[] = {
        {"nothing", 0, 0, false}, {"New", 0, 1, true},    {"New while paused", 1, 1, true},
        {"resume", 1, 3, true},   {"pause", 0, 3, false},
    };
    for (const auto& c : CASES) {
        SCOPED_TRACE(c.what);
        choose(1);
        frame();
        if (c.pausedBefore != GameState.paused)
            choose(3);
        ASSERT_EQ(GameState.paused, c.pausedBefore);
        GameState.paceFrame = 1;
        if (c.command)
            PostMessageA(GameState.mainWindow.hwnd, WM_COMMAND, c.command, 0);
        DWORD before = GameState.lastFrameTick;
        WaitFrame();
        DWORD elapsed = GameState.lastFrameTick - before;
        if (c.endsAtOnce)
            EXPECT_LE(elapsed, 5u);
        else
            EXPECT_GT(elapsed, 5u);
        EXPECT_EQ(GameState.paceFrame, 0);
        if (GameState.paused)
            choose(3);
    }
}

} // namespace
} // namespace game_test
