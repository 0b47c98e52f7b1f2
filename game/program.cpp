// The program's main routine: start-up, the wait for the first game, the
// frame loop and its pacing, and the end of the program.
#include "game/game_state.h"

#include "resources/icon.h"
#include "runtime/core/heap.h"
#include "runtime/core/program_end.h"
#include "runtime/events/wait.h"
#include "runtime/graphics/shapes.h"
#include "runtime/window/window.h"

#ifndef _WIN32
#include <layer/user.h>
#endif

#include <fenv.h>

namespace {

// The x87 control word of the program: every exception masked (bits 0-5),
// 64-bit mantissa precision (bits 8-9 = 3), round to nearest (bits 10-11 = 0).
[[maybe_unused]] constexpr uint16_t X87_CONTROL_WORD = 0x033F;

void loadX87ControlWord() {
#if defined(__i386__) || defined(__x86_64__)
    // Reset the unit, drop pending exceptions, then load the control word.
    // On x86_64 the x87 unit only serves long double; SSE is set up below.
    uint16_t word = X87_CONTROL_WORD;
    __asm__ __volatile__("fninit\n\tfnclex\n\tfldcw %0" : : "m"(word));
#endif
}

// The menu bar: for each drop-down, its title and its items in order.
struct MenuItem {
    const char* text;
    uint32_t flags;
    int32_t id;
};
struct DropDown {
    const char* title;
    MenuItem items[3];
    int32_t itemCount;
};
const DropDown MENU_BAR[] = {
    {"Game",
     {{"New", MF_STRING, MENU_NEW}, {"", MF_SEPARATOR, 0}, {"Quit", MF_STRING, MENU_QUIT}},
     3},
    {"Options", {{"Pause", MF_STRING, MENU_PAUSE}}, 1},
    {"Help", {{"Rules", MF_STRING, MENU_RULES}, {"About", MF_STRING, MENU_ABOUT}}, 2},
};

void buildMenuBar() {
    GameState.menuBar = newMenu(0);
    for (const DropDown& drop : MENU_BAR) {
        GameState.menuBuild = newMenu(0);
        appendMenuItem(GameState.menuBar, drop.title, MF_POPUP, (UINT_PTR)GameState.menuBuild);
        for (int32_t i = 0; i < drop.itemCount; ++i) {
            const MenuItem& item = drop.items[i];
            appendMenuItem(GameState.menuBuild, item.text, item.flags, (UINT_PTR)item.id);
        }
    }
    setMenuBar(&GameState.mainWindow, GameState.menuBar);
}

// Nothing moves and only the blue window shows until Game > New.
void waitForFirstGame() {
    while (GameState.gameOver != 0)
        waitEvents(0);
}

} // namespace

bool tickPeriodPassed(uint32_t now, uint32_t stamp, uint32_t period) {
    return now > stamp + period || now < stamp;
}

// Masked exceptions and rounding to nearest are what the program's number
// formatting and arithmetic assume. On x86 the x87 control word is loaded as
// well, since the fenv calls leave its precision alone; elsewhere the fenv
// calls are the whole set-up: feholdexcept clears the flags and masks every
// exception, fesetround picks rounding to nearest.
void setUpFloatingPoint() {
    loadX87ControlWord();
    fenv_t saved;
    feholdexcept(&saved);
    fesetround(FE_TONEAREST);
}

#ifdef _WIN32
// On Windows the icon is resource 101 of the executable, resources/zandrel.ico.
void registerProgramIcon() {}
#else
void registerProgramIcon() {
    uint32_t pixels[PROGRAM_ICON_SIZE * PROGRAM_ICON_SIZE];
    programIconPixels(pixels);
    layer_register_icon(PROGRAM_ICON_ID, pixels);
}
#endif

void openMainWindow() {
    openWindow(&GameState.mainWindow, 0, 0, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT,
               MAIN_WINDOW_FLAGS, nullptr, MAIN_WINDOW_CAPTION, GameHandler);
    centerWindow(&GameState.mainWindow);
    setWindowColor(&GameState.mainWindow, colorRGB(0, 0, 255));
    buildMenuBar();
    GameState.running = 1;
    GameState.gameOver = 1;
    GameState.frameInterval = FRAME_INTERVAL;
    startTimer(&GameState.mainWindow, GameState.frameInterval, FRAME_TIMER_ID, nullptr);
}

// endProgram never comes back here, and it needs no recorded state to
// return to (see endProgram), so start-up records none.
void runProgram() {
    setUpFloatingPoint();
    createPrivateHeap();
    registerProgramIcon();
    openMainWindow();
    waitForFirstGame();
    while (GameState.running != 0) {
        GameState.paceFrame = 1;
        SpawnWall();
        UpdateFrame();
        WaitFrame();
    }
    closeWindow(&GameState.mainWindow);
    endProgram();
}

void WaitFrame() {
    do {
        waitEvents(0);
    } while (GameState.paceFrame != 0 && !tickPeriodPassed(GetTickCount(), GameState.lastFrameTick,
                                                           (uint32_t)GameState.frameInterval));
    GameState.lastFrameTick = GetTickCount();
    GameState.paceFrame = 0;
}

// The program ends from wherever it is, often deep inside a window
// procedure; endRuntimeProgram runs the clean-up there and ends the process
// without returning or unwinding.
void endProgram() {
    // The runtime keeps no dialog records: this program opens no dialog, so
    // the list that the dialog library would release here is empty.
    endRuntimeProgram(exitCode);
}
