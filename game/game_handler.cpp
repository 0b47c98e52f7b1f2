// The main window's event handler: it seeds the random numbers, steers the
// ball, and carries out the menu commands and the close request.
#include "game/game_state.h"

#include "runtime/events/random.h"
#include "runtime/graphics/message_box.h"
#include "runtime/graphics/shapes.h"
#include "runtime/window/event_state.h"
#include "runtime/window/window.h"

const char* const RULES_TEXT =
    "Try going for a high score by guiding the ball through the walls with your mouse. "
    "Don't let the ball touch the bottom or it will crash!";

const char* const ABOUT_TEXT = "Zandrel\r\n"
                               "\r\n"
                               "Written by the Zandrel developers\r\n"
                               "Zandrel 2026\r\n"
                               "zandrel.example";

namespace {

// Only during play: the ball is erased where it is and drawn at the mouse's
// x by the next frame.
void steer() {
    if (GameState.gameOver != 0 || GameState.paused != 0)
        return;
    uint32_t blue = colorRGB(0, 0, 255);
    drawEllipse(&GameState.mainWindow, GameState.ballX, GameState.ballY, BALL_SIZE, BALL_SIZE, blue,
                blue);
    GameState.ballX = mouseX;
}

// Pausing only raises the flag, so the frozen scene stays on screen.
// Resuming clears the picture, ends the running frame wait and restarts the
// spawn clock, so that the next wall is a full period away.
void togglePause() {
    if (GameState.paused == 0) {
        GameState.paused = 1;
        return;
    }
    GameState.paused = 0;
    GameState.paceFrame = 0;
    GameState.lastSpawnTick = GetTickCount();
    setWindowColor(&GameState.mainWindow, colorRGB(0, 0, 255));
}

[[noreturn]] void quit() {
    closeWindow(&GameState.mainWindow);
    endProgram();
}

void menuCommand(int32_t id) {
    switch (id) {
    case MENU_NEW:
        NewGame();
        break;
    case MENU_QUIT:
        quit();
    case MENU_PAUSE:
        togglePause();
        break;
    case MENU_RULES:
        messageBox(&GameState.mainWindow, RULES_TEXT, "Rules", 0);
        break;
    case MENU_ABOUT:
        messageBox(&GameState.mainWindow, ABOUT_TEXT, "About", 0);
        break;
    default:
        break;
    }
}

} // namespace

int32_t GameHandler() {
    switch (eventId) {
    case WM_CREATE:
        seedRandom(tickSeconds());
        break;
    case EVENT_CLOSE:
        quit();
    case WM_MOUSEMOVE:
        steer();
        break;
    case EVENT_MENU:
        menuCommand(menuId);
        break;
    default:
        break;
    }
    return 0;
}
