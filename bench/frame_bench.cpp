// The game's busiest frame: the real UpdateFrame with all 20 walls in play,
// the ball and the score, on whatever the program is built against (the
// layer over the headless host, or Windows). It reports the time of one
// frame's drawing, the frames per second of play without the frame wait,
// and the process's peak resident memory.
#include "bench/frame_bench_system.h"
#include "bench/harness.h"
#include "game/game_state.h"
#include "runtime/core/heap.h"
#include "runtime/events/wait.h"
#include "runtime/window/window.h"

#include <windows.h>

#include <stdio.h>

namespace {

// Every wall has its gap here, and the ball sits in it, so that nothing
// collides and the game never crashes however long it runs.
constexpr int32_t GAP_LEFT = 300;
constexpr int32_t BALL_X = GAP_LEFT + 15;
constexpr int32_t WALL_SPACING = PLAY_BOTTOM / WALL_SLOTS;

void placeWall(WallSlot& wall, int32_t row) {
    wall = WallSlot{GAP_LEFT, 0, PLAY_WIDTH, GAP_LEFT + GAP_WIDTH, 1, row};
}

// A wall retired at the bottom comes back at the top, as a spawn would put
// it, so that all 20 slots stay in play.
void keepWallsInPlay() {
    for (WallSlot& wall : GameState.walls)
        if (wall.active == 0)
            placeWall(wall, 1);
}

// A game in progress with 20 walls spread over the play area.
void startBusyGame() {
    NewGame();
    GameState.ballX = BALL_X;
    for (int32_t i = 0; i < WALL_SLOTS; ++i)
        placeWall(GameState.walls[i], 1 + i * WALL_SPACING);
}

// The ball reaches the top after 320 frames and then stays there, erased
// twice and drawn once a frame; put it back low now and then so that the
// frames timed are mostly the common ones.
void keepBallLow() {
    if (GameState.ballY < 40)
        GameState.ballY = BALL_START_Y - 20;
}

void busyFrame(void*) {
    keepWallsInPlay();
    keepBallLow();
    UpdateFrame();
}

// A turn of the frame loop without its pause: spawn, update, and one pass
// over the queued messages.
void uncappedFrame(void*) {
    keepWallsInPlay();
    keepBallLow();
    GameState.paceFrame = 1;
    SpawnWall();
    UpdateFrame();
    waitEvents(1);
}

// Processor time per busy frame over `frames` frames: on a shared machine
// the clock also counts other programs' turns, this does not (but it leaves
// out the time a display server spends on the program's behalf).
double processorMicrosecondsPerFrame(int frames) {
    double start = processorSeconds();
    for (int i = 0; i < frames; ++i)
        busyFrame(nullptr);
    return (processorSeconds() - start) * 1e6 / frames;
}

int32_t wallsInPlay() {
    int32_t count = 0;
    for (const WallSlot& wall : GameState.walls)
        count += wall.active;
    return count;
}

} // namespace

int main() {
    setUpFloatingPoint();
    createPrivateHeap();
    registerProgramIcon();
    openMainWindow();
    waitEvents(1);
    startBusyGame();
    // Spawning is due at once, so SpawnWall does its whole work (all slots
    // are taken, so it places nothing).
    GameState.spawnInterval = MIN_SPAWN_INTERVAL;
    GameState.lastSpawnTick = GetTickCount() - 1000;

    BenchResult busy = bench_run("UpdateFrame, 20 walls, ball and score", busyFrame, nullptr);
    BenchResult uncapped = bench_run(
        "frame without its wait (SpawnWall, UpdateFrame, waitEvents(1))", uncappedFrame, nullptr);
    double processor = processorMicrosecondsPerFrame(busy.nanoseconds < 1e6 ? 2000 : 20);
    printf("microseconds per busy frame: %.1f (processor time: %.1f)\n", busy.nanoseconds / 1e3,
           processor);
    printf("uncapped frames per second:  %.0f\n", 1e9 / uncapped.nanoseconds);
    printf("peak resident memory:        %.1f MiB\n",
           (double)peakResidentBytes() / (1024.0 * 1024.0));

    // The figures mean something only if the game stayed busy throughout.
    keepWallsInPlay();
    bool busyThroughout = GameState.gameOver == 0 && wallsInPlay() == WALL_SLOTS;
    if (!busyThroughout)
        printf("the game left its busy state: the figures are not of a busy frame\n");
    closeWindow(&GameState.mainWindow);
    destroyPrivateHeap();
    return busyThroughout ? 0 : 1;
}
