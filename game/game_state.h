// The game's process-wide state and its routines: start-up and the frame
// loop (program.cpp), the rules of play (game_rules.cpp) and the handler of
// the main window's events (game_handler.cpp).
#pragma once

#include "runtime/window/window_record.h"

#include <windows.h>

#include <stdint.h>

// One wall: a two-row band across the play area with one gap. Every field
// is 0 when the process starts.
struct WallSlot {
    int32_t gapLeft;  // x of the gap's left edge: 0 to 600, set at spawn
    int32_t leftEnd;  // x where the wall's left part starts: 0
    int32_t rightEnd; // x where the wall's right part ends: 640
    int32_t gapRight; // x of the gap's right edge: gapLeft + 40
    int32_t active;   // 1 while the wall is in play; 0 marks a free slot
    int32_t row;      // y of the wall's lower row; 1 at spawn, +1 per frame
};

constexpr int32_t WALL_SLOTS = 20;

// Everything the game knows, zero when the process starts. The field order
// and widths are fixed: 32-bit numbers, unsigned for tick counts.
struct GameStateRecord {
    WindowRecord mainWindow; // the game's only window; all drawing goes to it
    int32_t frameInterval;   // frame period and timer interval in ms: 5 from start-up
    uint32_t lastFrameTick;  // tick count at the end of the previous frame wait
    int32_t gameOver;        // 1 while no game is in progress (start-up, after a crash)
    int32_t running;         // the frame loop runs while nonzero; nothing clears it
    int32_t ballY;           // top edge of the ball's 10 by 10 box
    int32_t ballX;           // left edge of the ball's box; the mouse's x, unlimited
    int32_t score;           // frames survived in the current game
    uint32_t lastSpawnTick;  // start of the current spawn period
    int32_t spawnInterval;   // spawn period in ms: 2000 down to 200
    int32_t paused;          // 1 while paused; a new game leaves it as it is
    WallSlot walls[WALL_SLOTS];
    HMENU menuBar;     // the menu bar, valid only while it is built
    HMENU menuBuild;   // the drop-down menu being filled while the bar is built
    int32_t paceFrame; // 1 while the running frame wait must last a full period
};

extern GameStateRecord GameState;

// The process's exit code: nothing in the game changes it, so it is 0.
extern int32_t exitCode;

// Geometry and colours of play, in pixels of the main window's drawing.
constexpr int32_t PLAY_WIDTH = 640;
constexpr int32_t PLAY_BOTTOM = 360;
constexpr int32_t BALL_SIZE = 10;
constexpr int32_t GAP_WIDTH = 40;
constexpr int32_t BALL_START_Y = PLAY_BOTTOM - 40; // a ball below this line crashes
constexpr int32_t BALL_TOP_LIMIT = 2;
constexpr int32_t FIRST_SPAWN_INTERVAL = 2000;
constexpr int32_t SPAWN_INTERVAL_STEP = 5;
constexpr int32_t MIN_SPAWN_INTERVAL = 200;
constexpr int32_t FRAME_INTERVAL = 5;
constexpr UINT_PTR FRAME_TIMER_ID = 1;

// The main window's opening values.
constexpr int32_t MAIN_WINDOW_WIDTH = 640;
constexpr int32_t MAIN_WINDOW_HEIGHT = 368;
constexpr uint32_t MAIN_WINDOW_FLAGS = 0x20000; // WS_MINIMIZEBOX and no framework bits
constexpr const char* MAIN_WINDOW_CAPTION = "Zandrel";

// Command ids of the menu bar's items.
constexpr int32_t MENU_NEW = 1;
constexpr int32_t MENU_QUIT = 2;
constexpr int32_t MENU_PAUSE = 3;
constexpr int32_t MENU_RULES = 4;
constexpr int32_t MENU_ABOUT = 5;

extern const char* const RULES_TEXT;
extern const char* const ABOUT_TEXT;

// Whether `period` ms of tick count have passed since `stamp`: the count is
// greater than stamp + period, both wrapping at 32 bits. Near the wrap the
// sum wraps first, and the period then counts as passed at once. When the
// count wraps while the sum does not (the count jumps from just below the
// sum's value past 2^32 in one system tick, or passes it while a message
// box holds the frame loop), the count is below the stamp; the period has
// then passed too, where the plain comparison would wait for 49 days.
bool tickPeriodPassed(uint32_t now, uint32_t stamp, uint32_t period);

// Rules of play.
void NewGame();
void SpawnWall();
void UpdateFrame();

// The main window's HandlerProc; returns 0 for every event.
int32_t GameHandler();

// Start-up steps that set up the process: the floating-point unit, the
// private heap and, off Windows, the program's icon resource.
void setUpFloatingPoint();
void registerProgramIcon();
// Start-up steps that open the main window: window, centring, background,
// menu bar, the game's start values and the frame timer.
void openMainWindow();
// The main routine: start-up, the start wait, then the frame loop forever.
[[noreturn]] void runProgram();
// The last step of each frame: waits until a frame period has passed.
void WaitFrame();
// Ends the program from any depth: clean-up, then the process ends.
[[noreturn]] void endProgram();
