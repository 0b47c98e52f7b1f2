// The rules of play: a new game, the spawning of walls, and one frame of
// movement, collision, crash and scoring.
#include "game/game_state.h"

#include "runtime/core/heap.h"
#include "runtime/core/heap_stack.h"
#include "runtime/core/text.h"
#include "runtime/events/random.h"
#include "runtime/graphics/message_box.h"
#include "runtime/graphics/shapes.h"
#include "runtime/graphics/text_output.h"

namespace {

uint32_t backgroundColour() {
    return colorRGB(0, 0, 255);
}

bool inPlay() {
    return GameState.gameOver == 0 && GameState.paused == 0;
}

void eraseBall() {
    uint32_t blue = backgroundColour();
    drawEllipse(&GameState.mainWindow, GameState.ballX, GameState.ballY, BALL_SIZE, BALL_SIZE, blue,
                blue);
}

void drawBall() {
    drawEllipse(&GameState.mainWindow, GameState.ballX, GameState.ballY, BALL_SIZE, BALL_SIZE,
                colorRGB(0, 0, 0), colorRGB(255, 255, 255));
}

// Both parts of one row of a wall; the gap stays as it is.
void paintWallRow(const WallSlot& wall, int32_t y, uint32_t colour) {
    drawLine(&GameState.mainWindow, wall.leftEnd, y, wall.gapLeft, y, colour);
    drawLine(&GameState.mainWindow, wall.gapRight, y, wall.rightEnd, y, colour);
}

// The label followed by the score's text, as a string on the heap that the
// caller pushes and pops. Intermediates are released as soon as they are
// used up, so that only the joined text is left.
char* scoreText(const char* label) {
    char* number = numberToText((double)GameState.score);
    char* copy = duplicateString(number);
    heapFree(number);
    char* joined = concatStrings(label, copy);
    heapFree(copy);
    return joined;
}

// Prints `text` and a line end into the main window at (x, y).
void printAt(int32_t x, int32_t y, const char* text) {
    moveToPoint(&GameState.mainWindow, x, y);
    printItems(4, PRINT_TARGET, &GameState.mainWindow, PRINT_TEXT, text, PRINT_CHAR, 13, PRINT_CHAR,
               10);
}

// The ball touches one of the wall's two rows outside the gap: it is
// pushed down by 2 (it rises by 1 later in the frame).
void pushBallIfHit(const WallSlot& wall) {
    bool onWall = GameState.ballY == wall.row - 1 || GameState.ballY == wall.row;
    bool fits = GameState.ballX >= wall.gapLeft && GameState.ballX <= wall.gapRight - BALL_SIZE;
    if (onWall && !fits) {
        eraseBall();
        GameState.ballY += 2;
    }
}

// Steps every wall in play down one row. Pause and game over are tested for
// every slot, as a crash box shown earlier in the frame could change them.
void stepWalls() {
    uint32_t blue = backgroundColour();
    uint32_t yellow = colorRGB(255, 255, 0);
    for (WallSlot& wall : GameState.walls) {
        if (!inPlay())
            break;
        if (wall.active == 0)
            continue;
        paintWallRow(wall, wall.row - 1, blue);
        wall.row += 1;
        pushBallIfHit(wall);
        if (wall.row > PLAY_BOTTOM)
            wall.active = 0;
        else
            paintWallRow(wall, wall.row, yellow);
    }
}

// A ball pushed below the start line ends the game with the crash box,
// which is modal: the frame goes on only when the player dismisses it.
void crashIfTooLow() {
    if (GameState.ballY <= BALL_START_Y || GameState.gameOver != 0)
        return;
    GameState.paceFrame = 0;
    GameState.gameOver = 1;
    char* text = scoreText("Crash!!!\r\nScore:");
    heapStackPush(text);
    messageBox(&GameState.mainWindow, text, "Alert", 0);
    heapStackPop(1);
}

void riseAndScore() {
    if (GameState.ballY < BALL_TOP_LIMIT) {
        eraseBall();
        GameState.ballY = BALL_TOP_LIMIT;
    }
    if (inPlay()) {
        eraseBall();
        GameState.ballY -= 1;
        GameState.score += 1;
    }
}

void printNotices() {
    if (GameState.paused == 1)
        printAt(1, 14, "Paused...");
    if (inPlay()) {
        char* text = scoreText("Score:");
        heapStackPush(text);
        printAt(1, 1, text);
        heapStackPop(1);
    }
}

} // namespace

void NewGame() {
    GameState.gameOver = 0;
    GameState.paceFrame = 0;
    GameState.score = 0;
    GameState.ballX = randomInRange(1, PLAY_WIDTH - BALL_SIZE);
    GameState.ballY = BALL_START_Y;
    GameState.spawnInterval = FIRST_SPAWN_INTERVAL;
    GameState.lastSpawnTick = GetTickCount();
    for (WallSlot& wall : GameState.walls)
        wall.active = 0;
    setWindowColor(&GameState.mainWindow, backgroundColour());
}

void SpawnWall() {
    if (!tickPeriodPassed(GetTickCount(), GameState.lastSpawnTick,
                          (uint32_t)GameState.spawnInterval) ||
        !inPlay())
        return;
    GameState.lastSpawnTick = GetTickCount();
    if (GameState.spawnInterval > MIN_SPAWN_INTERVAL)
        GameState.spawnInterval -= SPAWN_INTERVAL_STEP;
    for (WallSlot& wall : GameState.walls) {
        if (wall.active != 0)
            continue;
        wall.active = 1;
        wall.leftEnd = 0;
        wall.gapLeft = randomInRange(PLAY_WIDTH - GAP_WIDTH, 0);
        wall.gapRight = wall.gapLeft + GAP_WIDTH;
        wall.rightEnd = PLAY_WIDTH;
        wall.row = 1;
        return;
    }
}

void UpdateFrame() {
    stepWalls();
    crashIfTooLow();
    riseAndScore();
    drawBall();
    printNotices();
}
