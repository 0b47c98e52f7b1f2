// The main window's events: the create event's seed, steering, the menu
// bar and its commands, and the Rules and About boxes.
#include "tests/game/game_fixture.h"

#include "resources/icon.h"
#include "runtime/events/random.h"

#include <layer/user.h>

#include <string.h>

#include <string>
#include <utility>
#include <vector>

namespace game_test {
namespace {

using Startup = GameTest;

TEST_F(Startup, OpensTheBlueWindowCentredWithTheGamesValues) {
    RECT rect;
    ASSERT_TRUE(desktop_window_rect(GameState.mainWindow.hwnd, &rect));
    EXPECT_EQ(rect.left, 192);
    EXPECT_EQ(rect.top, 180);
    EXPECT_EQ(rect.right - rect.left, 640);
    EXPECT_EQ(rect.bottom - rect.top, 368);
    EXPECT_STREQ(desktop_window_title(GameState.mainWindow.hwnd), "Zandrel");
    EXPECT_EQ(GameState.gameOver, 1);
    EXPECT_EQ(GameState.running, 1);
    EXPECT_EQ(GameState.frameInterval, 5);
    EXPECT_EQ(GameState.mainWindow.windowColor, BLUE);
    EXPECT_EQ(countDrawn(0, 0, 640, 360, BLUE), 640 * 360);
}

TEST_F(Startup, TheCreateEventSeedsFromTickSeconds) {
    closeWindow(&GameState.mainWindow);
    headless_set_tick_count(7500);
    randomSeeded = 0;
    randomState = 12345;
    openMainWindow();
    EXPECT_EQ(randomSeeded, 1);
    EXPECT_EQ(randomState, 7u);
}

TEST_F(Startup, TheMenuBarHasTheGamesCommands) {
    HMENU bar = GetMenu(GameState.mainWindow.hwnd);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, GameState.menuBar);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    struct Expected {
        const char* title;
        std::vector<std::pair<std::string, UINT>> items;
    } expected[] = {
        {"Game", {{"New", 1}, {"", 0}, {"Quit", 2}}},
        {"Options", {{"Pause", 3}}},
        {"Help", {{"Rules", 4}, {"About", 5}}},
    };
    for (int i = 0; i < 3; ++i) {
        char text[32] = {};
        GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, expected[i].title);
        HMENU drop = GetSubMenu(bar, i);
        ASSERT_NE(drop, nullptr);
        ASSERT_EQ(GetMenuItemCount(drop), (int)expected[i].items.size());
        for (int j = 0; j < GetMenuItemCount(drop); ++j) {
            GetMenuStringA(drop, j, text, sizeof text, MF_BYPOSITION);
            EXPECT_EQ(text, expected[i].items[j].first);
            UINT state = GetMenuState(drop, j, MF_BYPOSITION);
            bool separator = expected[i].items[j].first.empty();
            EXPECT_EQ((state & MF_SEPARATOR) != 0, separator) << text;
            if (!separator) {
                EXPECT_EQ(state & (MF_CHECKED | MF_GRAYED), 0u) << text;
                EXPECT_EQ(GetMenuItemID(drop, j), expected[i].items[j].second);
            }
        }
    }
}

TEST_F(Startup, ResourceIcon101IsTheProgramsIcon) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101));
    ASSERT_NE(icon, nullptr);
    uint32_t pixels[16 * 16], expected[16 * 16];
    ASSERT_TRUE(layer_icon_pixels(icon, pixels));
    programIconPixels(expected);
    EXPECT_EQ(memcmp(pixels, expected, sizeof pixels), 0);
}

using Steering = GameTest;

TEST_F(Steering, MovesBeforeTheFirstGameChangeNothing) {
    moveMouse(100, 100);
    moveMouse(300, 50);
    EXPECT_EQ(GameState.ballX, 0);
    EXPECT_EQ(GameState.ballY, 0);
    EXPECT_EQ(countDrawn(0, 0, 640, 360, BLUE), 640 * 360);
}

TEST_F(Steering, AMoveErasesTheBallAtOnceAndTheNextFrameDrawsItAtTheMousesX) {
    choose(MENU_NEW);
    holdSpawning();
    GameState.ballX = 500;
    frame();
    ASSERT_EQ(drawn(505, 324), WHITE);
    moveMouse(100, 50);
    EXPECT_EQ(GameState.ballX, 100);
    EXPECT_EQ(GameState.ballY, 319) << "the height is not touched";
    EXPECT_EQ(drawn(505, 324), BLUE) << "erased at once";
    EXPECT_EQ(drawn(105, 324), BLUE) << "not drawn by the move";
    frame();
    EXPECT_EQ(drawn(105, 323), WHITE);
    EXPECT_EQ(GameState.ballY, 318);
}

TEST_F(Steering, TheMousesXIsNotLimited) {
    choose(MENU_NEW);
    moveMouse(700, 5);
    EXPECT_EQ(GameState.ballX, 700);
}

TEST_F(Steering, MovesWhilePausedChangeNothing) {
    choose(MENU_NEW);
    frame();
    choose(MENU_PAUSE);
    int32_t x = GameState.ballX;
    moveMouse(x + 200, 50);
    EXPECT_EQ(GameState.ballX, x);
    EXPECT_EQ(drawn(x + 5, 324), WHITE) << "not erased";
}

using Commands = GameTest;

TEST_F(Commands, NewDuringPlayRestartsAtOnce) {
    choose(MENU_NEW);
    holdSpawning();
    placeWall(0, 300, 50);
    placeWall(7, 100, 80);
    frames(30);
    ASSERT_EQ(drawn(0, 80), YELLOW);
    choose(MENU_NEW);
    for (const WallSlot& wall : GameState.walls)
        EXPECT_EQ(wall.active, 0);
    EXPECT_EQ(GameState.score, 0);
    EXPECT_EQ(drawn(0, 80), BLUE);
    frame();
    EXPECT_EQ(GameState.score, 1);
    EXPECT_EQ(drawn(0, 81), BLUE) << "no wall is painted";
}

TEST_F(Commands, PauseTwiceDuringPlayClearsTheWindow) {
    choose(MENU_NEW);
    frames(3);
    choose(MENU_PAUSE);
    choose(MENU_PAUSE);
    EXPECT_EQ(GameState.paused, 0);
    EXPECT_EQ(countDrawn(0, 0, 640, 360, BLUE), 640 * 360);
    frame();
    EXPECT_STREQ(printBuffer, "Score: 4\r\n");
}

TEST_F(Commands, RulesShowsItsText) {
    choose(MENU_NEW);
    frames(2);
    choose(MENU_RULES);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].caption, "Rules");
    EXPECT_STREQ(RULES_TEXT, "Try going for a high score by guiding the ball through the walls "
                             "with your mouse. Don't let the ball touch the bottom or it will "
                             "crash!");
    EXPECT_EQ(GameState.score, 2) << "no frame ran meanwhile";
}

TEST_F(Commands, AboutShowsFiveLines) {
    choose(MENU_ABOUT);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].caption, "About");
    std::string text = ABOUT_TEXT;
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Zandrel");
    EXPECT_EQ(lines[1], "");
    for (int i = 2; i < 5; ++i)
        EXPECT_FALSE(lines[i].empty()) << "line " << i;
    EXPECT_EQ(text.find('\n', start), std::string::npos) << "no line end after the last";
}

TEST_F(Commands, OtherIdsAndEventsDoNothing) {
    choose(MENU_NEW);
    frames(2);
    GameStateRecord before = GameState;
    choose(6);
    choose(0);
    SendMessageA(GameState.mainWindow.hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(GameState.score, before.score);
    EXPECT_EQ(GameState.ballX, before.ballX);
    EXPECT_EQ(GameState.ballY, before.ballY);
    EXPECT_EQ(GameState.gameOver, before.gameOver);
    EXPECT_EQ(GameState.paused, before.paused);
    EXPECT_EQ(GameState.lastSpawnTick, before.lastSpawnTick);
    EXPECT_EQ(memcmp(before.walls, GameState.walls, sizeof before.walls), 0);
    EXPECT_TRUE(g_boxes.empty());
}

} // namespace
} // namespace game_test
