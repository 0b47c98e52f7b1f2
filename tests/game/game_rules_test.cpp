// The rules of play, frame by frame on the virtual clock: a new game, the
// first frame, walls moving and passing, the crash, pause, spawning and the
// tick count's wrap.
#include "tests/game/game_fixture.h"

#include <string.h>

#include <ostream>

namespace game_test {
namespace {

using NewGameAndFirstFrame = GameTest;

TEST_F(NewGameAndFirstFrame, NewGameResetsTheGameButNotThePause) {
    GameState.score = 99;
    GameState.paused = 1;
    placeWall(4, 123, 50);
    drawLine(&GameState.mainWindow, 0, 50, 640, 50, colorRGB(255, 255, 0));
    headless_advance_clock_us(3'000'000);
    choose(MENU_NEW);
    EXPECT_EQ(GameState.gameOver, 0);
    EXPECT_EQ(GameState.paceFrame, 0);
    EXPECT_EQ(GameState.score, 0);
    EXPECT_EQ(GameState.paused, 1) << "a game started while paused starts paused";
    EXPECT_GE(GameState.ballX, 1);
    EXPECT_LE(GameState.ballX, 630);
    EXPECT_EQ(GameState.ballY, 320);
    EXPECT_EQ(GameState.spawnInterval, 2000);
    EXPECT_EQ(GameState.lastSpawnTick, GetTickCount());
    for (const WallSlot& wall : GameState.walls)
        EXPECT_EQ(wall.active, 0);
    EXPECT_EQ(GameState.walls[4].gapLeft, 123) << "only active is cleared";
    EXPECT_EQ(GameState.walls[4].row, 50);
    EXPECT_EQ(drawn(10, 50), BLUE) << "the drawing is cleared to blue";
}

TEST_F(NewGameAndFirstFrame, FirstFrameDrawsTheBallAt319AndScores1) {
    choose(MENU_NEW);
    int32_t x = GameState.ballX;
    frame();
    EXPECT_EQ(GameState.ballY, 319);
    EXPECT_EQ(GameState.score, 1);
    EXPECT_STREQ(printBuffer, "Score: 1\r\n");
    EXPECT_EQ(drawn(x + 5, 324), WHITE) << "the ball's fill";
    EXPECT_EQ(drawn(x + 4, 319), BLACK) << "its outline's top";
    EXPECT_EQ(drawn(x + 4, 328), BLACK) << "its outline's bottom";
    EXPECT_EQ(drawn(x + 4, 329), BLUE) << "the ball at 320 was erased";
    EXPECT_GT(countDrawn(1, 1, 60, 16, BLACK), 20) << "the score's text";
    EXPECT_GT(countDrawn(1, 1, 60, 16, WHITE), 20) << "on its opaque white ground";
    EXPECT_EQ(GameState.mainWindow.curPos.y, 1);
}

TEST_F(NewGameAndFirstFrame, ScoreGrowsByOnePerFrame) {
    choose(MENU_NEW);
    frames(57);
    EXPECT_EQ(GameState.score, 57);
    EXPECT_STREQ(printBuffer, "Score: 57\r\n");
    EXPECT_EQ(GameState.ballY, 320 - 57);
}

TEST_F(NewGameAndFirstFrame, FirstWallComesInTheFirstFrameMoreThan2000msAfterNew) {
    choose(MENU_NEW);
    DWORD start = GameState.lastSpawnTick;
    DWORD before = 0, at = 0;
    for (int i = 0; i < 500 && GameState.walls[0].active == 0; ++i) {
        before = at;
        at = frame();
    }
    ASSERT_EQ(GameState.walls[0].active, 1);
    EXPECT_GT(at - start, 2000u);
    EXPECT_LE(before - start, 2000u) << "the frame before was not yet due";
    const WallSlot& wall = GameState.walls[0];
    EXPECT_EQ(wall.row, 2) << "spawned at 1, moved once by its frame";
    EXPECT_EQ(wall.leftEnd, 0);
    EXPECT_EQ(wall.rightEnd, 640);
    EXPECT_EQ(wall.gapRight - wall.gapLeft, 40);
    EXPECT_GE(wall.gapLeft, 0);
    EXPECT_LE(wall.gapLeft, 600);
    EXPECT_EQ(GameState.walls[1].active, 0) << "one wall per spawn";
    EXPECT_EQ(GameState.spawnInterval, 1995);
    EXPECT_EQ(GameState.lastSpawnTick, at);
}

TEST_F(NewGameAndFirstFrame, BallStopsAtTheTopDrawnAtRow1) {
    choose(MENU_NEW);
    holdSpawning();
    GameState.ballY = 0;
    UpdateFrame();
    EXPECT_EQ(GameState.ballY, 1) << "set to 2, then risen by 1";
    UpdateFrame();
    EXPECT_EQ(GameState.ballY, 1);
}

using Walls = GameTest;

TEST_F(Walls, AWallIsTwoRowsThickWithAGapOf40) {
    choose(MENU_NEW);
    holdSpawning();
    GameState.ballX = 10;
    placeWall(0, 300, 100);
    UpdateFrame();
    UpdateFrame();
    EXPECT_EQ(GameState.walls[0].row, 102);
    EXPECT_EQ(drawn(0, 100), BLUE);
    EXPECT_EQ(drawn(0, 101), YELLOW);
    EXPECT_EQ(drawn(0, 102), YELLOW);
    EXPECT_EQ(drawn(0, 103), BLUE);
    EXPECT_EQ(drawn(299, 102), YELLOW);
    EXPECT_EQ(drawn(300, 102), BLUE);
    EXPECT_EQ(drawn(339, 102), BLUE);
    EXPECT_EQ(drawn(340, 102), YELLOW);
    EXPECT_EQ(drawn(639, 102), YELLOW);
}

TEST_F(Walls, RetiredPastRow360LeavingItsLastRow) {
    choose(MENU_NEW);
    holdSpawning();
    placeWall(0, 300, 359);
    UpdateFrame();
    EXPECT_EQ(GameState.walls[0].active, 1);
    EXPECT_EQ(drawn(0, 360), YELLOW);
    UpdateFrame();
    EXPECT_EQ(GameState.walls[0].active, 0);
    EXPECT_EQ(GameState.walls[0].row, 361);
    EXPECT_EQ(drawn(0, 359), BLUE);
    EXPECT_EQ(drawn(0, 360), YELLOW) << "stays until the window is cleared";
}

// The ball on the wall's upper row (y = row - 1 after the step) or lower
// row (y = row), at x from the gap's left edge.
struct GapCase {
    int32_t offset;
    int32_t rowAbove; // where the wall's row is before the step, relative to the ball
    bool pushed;
};

void PrintTo(const GapCase& c, std::ostream* out) {
    *out << "x = gap " << (c.offset < 0 ? "- " : "+ ") << (c.offset < 0 ? -c.offset : c.offset)
         << ", wall row " << c.rowAbove << " from the ball's y";
}

class GapPassing : public GameTest, public ::testing::WithParamInterface<GapCase> {};

TEST_P(GapPassing, BallFitsFromGapLeftToGapRightMinus10) {
    const GapCase& c = GetParam();
    choose(MENU_NEW);
    holdSpawning();
    GameState.ballX = 300 + c.offset;
    GameState.ballY = 200;
    placeWall(0, 300, 200 + c.rowAbove);
    UpdateFrame();
    EXPECT_EQ(GameState.ballY, c.pushed ? 201 : 199);
}

INSTANTIATE_TEST_SUITE_P(Walls, GapPassing,
                         ::testing::Values(GapCase{0, 0, false}, GapCase{30, 0, false},
                                           GapCase{-1, 0, true}, GapCase{31, 0, true},
                                           GapCase{0, -1, false}, GapCase{30, -1, false},
                                           GapCase{-1, -1, true}, GapCase{31, -1, true},
                                           GapCase{-1, 1, false}, GapCase{-1, -2, false}));

TEST_F(Walls, AWallDragsTheBallDownOneRowPerFrame) {
    choose(MENU_NEW);
    holdSpawning();
    GameState.ballX = 100;
    GameState.ballY = 150;
    placeWall(0, 400, 150);
    for (int i = 1; i <= 5; ++i) {
        frame();
        EXPECT_EQ(GameState.ballY, 150 + i);
        EXPECT_EQ(GameState.walls[0].row, 150 + i);
    }
    moveMouse(410, 10);
    frame();
    EXPECT_EQ(GameState.ballY, 154) << "steered into the gap, it rises again";
}

using Crash = GameTest;

TEST_F(Crash, BallAt320IsStillInPlay) {
    choose(MENU_NEW);
    holdSpawning();
    frame();
    GameState.ballY = 320;
    frame();
    EXPECT_EQ(GameState.gameOver, 0);
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ(GameState.ballY, 319);
}

// A wall drags the ball below 320: the box shows the score printed in the
// frame before; after OK the frame ends without rising or scoring.
TEST_F(Crash, DraggedBallCrashesWithThePreviousFramesScore) {
    choose(MENU_NEW);
    holdSpawning();
    frames(40);
    ASSERT_STREQ(printBuffer, "Score: 40\r\n");
    GameState.ballX = 100;
    GameState.ballY = 320;
    placeWall(0, 400, 320);
    GameState.paceFrame = 1;
    UpdateFrame();
    EXPECT_EQ(GameState.paceFrame, 0) << "the frame wait ends at once";
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].caption, "Alert");
    EXPECT_EQ(g_boxes[0].pushedText, "Crash!!!\r\nScore: 40");
    EXPECT_EQ(g_boxes[0].gameOverWhileUp, 1);
    EXPECT_EQ(GameState.gameOver, 1);
    EXPECT_EQ(GameState.score, 40);
    EXPECT_EQ(GameState.ballY, 322) << "pushed by 2, no rise after the crash";
    EXPECT_EQ(HeapStack.count, 0) << "the text was popped";
    EXPECT_STREQ(printBuffer, "Score: 40\r\n") << "the score is not printed again";
    EXPECT_EQ(drawn(105, 327), WHITE) << "the ball is drawn where it stopped";
}

TEST_F(Crash, AfterTheCrashTheWallsFreezeAndTheBallIsRedrawn) {
    choose(MENU_NEW);
    GameState.ballX = 100;
    GameState.ballY = 320;
    placeWall(0, 400, 320);
    placeWall(1, 200, 40);
    frame();
    ASSERT_EQ(GameState.gameOver, 1);
    GameState.lastSpawnTick = GetTickCount() - 5000;
    WallSlot before[WALL_SLOTS];
    memcpy(before, GameState.walls, sizeof before);
    // Paint over the ball: the next frames draw it again.
    drawRect(&GameState.mainWindow, 100, 322, 10, 10, BLUE, BLUE);
    moveMouse(500, 10);
    frames(10);
    EXPECT_EQ(memcmp(before, GameState.walls, sizeof before), 0) << "no step, no spawn";
    EXPECT_EQ(GameState.ballX, 100) << "no steering";
    EXPECT_EQ(GameState.ballY, 322);
    EXPECT_EQ(GameState.score, 0);
    EXPECT_EQ(drawn(105, 327), WHITE);
    EXPECT_EQ(g_boxes.size(), 1u) << "one crash box only";
}

using Pause = GameTest;

TEST_F(Pause, FreezesEverythingAndPrintsPausedEveryFrame) {
    choose(MENU_NEW);
    holdSpawning();
    frames(5);
    placeWall(0, 300, 100);
    frame();
    choose(MENU_PAUSE);
    EXPECT_EQ(GameState.paused, 1);
    GameState.lastSpawnTick = GetTickCount() - 5000; // due, yet nothing spawns
    GameStateRecord before = GameState;
    for (int i = 0; i < 5; ++i) {
        printBuffer[0] = 0;
        frame();
        EXPECT_STREQ(printBuffer, "Paused...\r\n") << "frame " << i;
        EXPECT_EQ(GameState.mainWindow.curPos.y, 14);
    }
    EXPECT_EQ(GameState.ballY, before.ballY);
    EXPECT_EQ(GameState.score, before.score);
    EXPECT_EQ(memcmp(before.walls, GameState.walls, sizeof before.walls), 0);
    EXPECT_EQ(GameState.spawnInterval, 2000);
    EXPECT_GT(countDrawn(1, 14, 60, 16, BLACK), 20) << "the notice at (1, 14)";
    EXPECT_EQ(drawn(0, 101), YELLOW) << "the frozen scene stays";
}

TEST_F(Pause, ResumeClearsAndRestartsTheSpawnClock) {
    choose(MENU_NEW);
    holdSpawning();
    frames(3);
    placeWall(0, 300, 100);
    frame();
    choose(MENU_PAUSE);
    frames(200); // over 3 s
    GameState.paceFrame = 1;
    choose(MENU_PAUSE);
    EXPECT_EQ(GameState.paused, 0);
    EXPECT_EQ(GameState.paceFrame, 0) << "ends the running frame wait";
    EXPECT_EQ(GameState.lastSpawnTick, GetTickCount());
    EXPECT_EQ(drawn(0, 101), BLUE) << "cleared";
    EXPECT_EQ(countDrawn(1, 14, 60, 16, BLACK), 0) << "the notice is gone";
    int32_t score = GameState.score;
    frame();
    EXPECT_EQ(GameState.walls[0].row, 102);
    EXPECT_EQ(drawn(0, 102), YELLOW);
    EXPECT_EQ(GameState.score, score + 1);
    EXPECT_EQ(GameState.walls[1].active, 0) << "the spawn clock restarted";
}

TEST_F(Pause, NewWhilePausedStartsPaused) {
    choose(MENU_NEW);
    frames(3);
    choose(MENU_PAUSE);
    frames(2);
    choose(MENU_NEW);
    EXPECT_EQ(GameState.paused, 1);
    EXPECT_EQ(GameState.score, 0);
    int32_t y = GameState.ballY;
    frames(3);
    EXPECT_EQ(GameState.ballY, y);
    EXPECT_EQ(GameState.score, 0);
    EXPECT_STREQ(printBuffer, "Paused...\r\n");
}

TEST_F(Pause, PauseBeforeTheFirstGameMakesItStartPaused) {
    choose(MENU_PAUSE);
    EXPECT_EQ(GameState.paused, 1);
    choose(MENU_NEW);
    frames(2);
    EXPECT_EQ(GameState.score, 0);
    EXPECT_EQ(GameState.ballY, 320);
    choose(MENU_PAUSE);
    frame();
    EXPECT_EQ(GameState.score, 1);
}

using Spawning = GameTest;

TEST_F(Spawning, IntervalShrinksBy5DownTo200) {
    choose(MENU_NEW);
    GameState.spawnInterval = 210;
    int32_t expected[] = {205, 200, 200, 200};
    for (int32_t interval : expected) {
        GameState.lastSpawnTick = GetTickCount() - 5000;
        for (WallSlot& wall : GameState.walls)
            wall.active = 0;
        SpawnWall();
        EXPECT_EQ(GameState.spawnInterval, interval);
        EXPECT_EQ(GameState.walls[0].active, 1);
    }
}

TEST_F(Spawning, DueWithAll20InPlayMakesNoneButRestartsTheClock) {
    choose(MENU_NEW);
    for (int i = 0; i < WALL_SLOTS; ++i)
        placeWall(i, 10 * i, 5 + i);
    WallSlot before[WALL_SLOTS];
    memcpy(before, GameState.walls, sizeof before);
    headless_advance_clock_us(100'000);
    GameState.lastSpawnTick = GetTickCount() - 2001;
    SpawnWall();
    EXPECT_EQ(memcmp(before, GameState.walls, sizeof before), 0);
    EXPECT_EQ(GameState.spawnInterval, 1995);
    EXPECT_EQ(GameState.lastSpawnTick, GetTickCount());
}

TEST_F(Spawning, TakesTheFirstFreeSlotOnlyWhenStrictlyDue) {
    choose(MENU_NEW);
    placeWall(0, 0, 10);
    placeWall(2, 0, 10);
    headless_advance_clock_us(100'000);
    GameState.lastSpawnTick = GetTickCount() - 2000;
    SpawnWall();
    EXPECT_EQ(GameState.walls[1].active, 0) << "equal is not greater";
    EXPECT_EQ(GameState.spawnInterval, 2000);
    GameState.lastSpawnTick -= 1;
    SpawnWall();
    EXPECT_EQ(GameState.walls[1].active, 1);
    EXPECT_EQ(GameState.walls[1].row, 1);
    EXPECT_EQ(GameState.walls[3].active, 0);
}

TEST_F(Spawning, NoneBeforeTheFirstGame) {
    GameState.lastSpawnTick = GetTickCount() - 5000;
    GameState.spawnInterval = 2000;
    SpawnWall();
    EXPECT_EQ(GameState.walls[0].active, 0);
    EXPECT_EQ(GameState.spawnInterval, 2000);
}

struct PeriodCase {
    uint32_t now, stamp, period;
    bool passed;
};

TEST(TickPeriod, PassedWhenGreaterThanStampPlusPeriodWrapping) {
    const PeriodCase cases[] = {
        {105, 100, 5, false},
        {106, 100, 5, true},
        {0xFFFFFFF0u, 0xFFFFFFF0u, 5, false},
        {0xFFFFFFFFu, 0xFFFFFFF0u, 15, false},
        // The sum wraps to a small value: passed at once.
        {0xFFFFFFFEu, 0xFFFFFFFEu, 5, true},
        // The count wraps while the sum does not: passed, no 49-day wait.
        {0, 0xFFFFFFF1u, 5, true},
        {3, 0xFFFFF000u, 2000, true},
        {0xFFFFF7D0u, 0xFFFFF000u, 2000, false},
        {0xFFFFF7D1u, 0xFFFFF000u, 2000, true},
    };
    for (const PeriodCase& c : cases)
        EXPECT_EQ(tickPeriodPassed(c.now, c.stamp, c.period), c.passed)
            << c.now << " " << c.stamp << " " << c.period;
}

using TickWrap = GameTest;

// Every frame wait across the wrap ends within two system ticks, and
// walls keep coming.
TEST_F(TickWrap, FramesAndSpawningGoOnAcrossTheWrap) {
    headless_set_tick_count(0xFFFFFFFFu - 1000);
    headless_set_time_limit_us(30'000'000); // a stalled wait ends the program
    choose(MENU_NEW);
    holdSpawning();
    bool wrapped = false;
    for (int i = 0; i < 260; ++i) {
        uint64_t before = headless_clock_us();
        DWORD tick = frame();
        EXPECT_LE(headless_clock_us() - before, 31'250u) << "frame " << i << " at tick " << tick;
        wrapped = wrapped || GetTickCount() < tick;
    }
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(GameState.walls[0].active, 1) << "the first wall came after the wrap";
    EXPECT_EQ(GameState.gameOver, 0);
    EXPECT_EQ(GameState.score, 260);
}

// The spawn stamp just before the wrap, its due time not wrapping, and the
// count jumping past the wrap in one system tick.
TEST_F(TickWrap, SpawnDueJustBeforeTheWrapIsNotLost) {
    headless_set_tick_count(0xFFFFFFF0u);
    choose(MENU_NEW);
    GameState.lastSpawnTick = GetTickCount() - 2000 + 1; // due at 2^32 - 1 or so
    headless_set_time_limit_us(30'000'000);
    frames(3);
    EXPECT_LT(GetTickCount(), 0x1000u);
    EXPECT_EQ(GameState.walls[0].active, 1);
}

} // namespace
} // namespace game_test
