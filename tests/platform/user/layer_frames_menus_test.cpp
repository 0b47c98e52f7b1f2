// Frames, menus and message boxes on the headless host, driven by scripts
// as a person would drive them: the game's window with its menu bar, its
// Game menu open, a message box over it, the close box, choosing every
// menu item by mouse and by keyboard, and dismissing a box every way.
#include "platform/host/headless/headless.h"
#include "tests/support/image_compare.h"
#include "tests/support/platform_reset.h"

#include <layer/user.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

// What the window heard.
struct Heard {
    std::vector<WPARAM> commands;
    int closes = 0;
    int timer_ticks = 0;
    int mouse_messages = 0;
    int box_results[4] = {};
};
Heard g_heard;

LRESULT CALLBACK game_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        g_heard.commands.push_back(wparam);
        return 0;
    case WM_CLOSE:
        ++g_heard.closes;
        break;
    case WM_TIMER:
        ++g_heard.timer_ticks;
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
        ++g_heard.mouse_messages;
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

class FramesAndMenus : public ::testing::Test {
  protected:
    HWND window = nullptr;

    void SetUp() override {
        reset_platform();
        g_heard = {};
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = game_proc;
        wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 255));
        wc.lpszClassName = "ZandrelFrameTest";
        RegisterClassExA(&wc);
        brush_ = wc.hbrBackground;
        // The game's window: 640 by 368, centred on the work area.
        window = CreateWindowExA(0, "ZandrelFrameTest", "Zandrel",
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                                 192, 180, 640, 368, nullptr, nullptr, nullptr, nullptr);
        attach_game_menu();
    }

    void TearDown() override {
        if (IsWindow(window))
            DestroyWindow(window);
        layer_user_reset();
        UnregisterClassA("ZandrelFrameTest", nullptr);
        DeleteObject(brush_);
    }

    void attach_game_menu() {
        HMENU bar = CreateMenu(), game = CreateMenu(), options = CreateMenu(), help = CreateMenu();
        AppendMenuA(game, MF_STRING, 1, "New");
        AppendMenuA(game, MF_SEPARATOR, 0, "");
        AppendMenuA(game, MF_STRING, 2, "Quit");
        AppendMenuA(options, MF_STRING, 3, "Pause");
        AppendMenuA(help, MF_STRING, 4, "Rules");
        AppendMenuA(help, MF_STRING, 5, "About");
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)game, "Game");
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)options, "Options");
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)help, "Help");
        SetMenu(window, bar);
        DrawMenuBar(window);
    }

    // Screen x of the middle of the bar's item `index`.
    int bar_item_x(int index) {
        const char* names[] = {"Game", "Options", "Help"};
        HDC dc = CreateCompatibleDC(nullptr);
        int x = 192 + 3;
        for (int i = 0; i < index; ++i) {
            SIZE size;
            GetTextExtentPoint32A(dc, names[i], (int)strlen(names[i]), &size);
            x += size.cx + 16;
        }
        DeleteDC(dc);
        return x + 10;
    }

    // Runs the message loop until the script ends the run with `quit`.
    void run(const std::string& script) {
        std::string error;
        ASSERT_TRUE(headless_load_script(script.c_str(), "test", &error)) << error;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    std::string quit_at(int ms) { return "at " + std::to_string(ms) + " close \"Zandrel\"\n"; }

    HBRUSH brush_ = nullptr;
};

// Screen rows of the menu bar and of the drop-down's items.
constexpr int BAR_Y = 180 + 22 + 9;
constexpr int FIRST_ITEM_Y = 180 + 41 + 3 + 9;
constexpr int ITEM_STEP = 19;
constexpr int SEPARATOR = 9;

TEST_F(FramesAndMenus, GameWindowWithMenuBar) {
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 634);
    EXPECT_EQ(client.bottom, 324);
    run("at 100 capture-window \"Zandrel\" frame.png\n" + quit_at(200));
    Image picture;
    std::string error;
    ASSERT_TRUE(png_read_file("frame.png", &picture, &error)) << error;
    EXPECT_TRUE(matches_golden("tests/platform/user/golden/zandrel_window.png",
                               picture.pixels.data(), picture.width, picture.height,
                               picture.width));
}

TEST_F(FramesAndMenus, GameMenuOpen) {
    run("at 100 click left " + std::to_string(bar_item_x(0)) + " " + std::to_string(BAR_Y) +
        "\nat 300 capture menu.png\nat 400 key Escape\nat 500 key Escape\n" + quit_at(600));
    Image picture;
    std::string error;
    ASSERT_TRUE(png_read_file("menu.png", &picture, &error)) << error;
    EXPECT_TRUE(matches_golden("tests/platform/user/golden/game_menu_open.png",
                               picture.pixels.data(), picture.width, picture.height,
                               picture.width));
    EXPECT_TRUE(g_heard.commands.empty()) << "Escape chooses nothing";
}

TEST_F(FramesAndMenus, CloseBoxDeliversClose) {
    run("at 100 click left 819 192\n");
    EXPECT_EQ(g_heard.closes, 1);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(FramesAndMenus, CloseFromTheSystemMenu) {
    // The icon opens the system menu below the caption; Close is its last item.
    run("at 100 click left 203 192\nat 200 capture-window \"Zandrel\" sysmenu.png\n"
        "at 300 click left 215 318\n");
    EXPECT_EQ(g_heard.closes, 1);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(FramesAndMenus, AltSpaceOpensTheSystemMenu) {
    run("at 100 keydown Alt\n+10 key Space\n+10 keyup Alt\n+100 key Up\n+10 key Enter\n");
    EXPECT_EQ(g_heard.closes, 1) << "Up from nothing selects the last item, Close";
}

TEST_F(FramesAndMenus, AltF4DeliversClose) {
    run("at 100 keydown Alt\n+10 key F4\n+10 keyup Alt\n");
    EXPECT_EQ(g_heard.closes, 1);
}

TEST_F(FramesAndMenus, EveryItemByMouse) {
    std::string script;
    int t = 100;
    struct Choice {
        int bar;
        int item_y;
    } choices[] = {{0, FIRST_ITEM_Y},
                   {0, FIRST_ITEM_Y + ITEM_STEP + SEPARATOR},
                   {1, FIRST_ITEM_Y},
                   {2, FIRST_ITEM_Y},
                   {2, FIRST_ITEM_Y + ITEM_STEP}};
    for (const Choice& c : choices) {
        script += "at " + std::to_string(t) + " click left " + std::to_string(bar_item_x(c.bar)) +
                  " " + std::to_string(BAR_Y) + "\n";
        script += "at " + std::to_string(t + 100) + " click left " +
                  std::to_string(bar_item_x(c.bar) + 5) + " " + std::to_string(c.item_y) + "\n";
        t += 300;
    }
    // A click on the separator chooses nothing and leaves the menu open.
    script += "at " + std::to_string(t) + " click left " + std::to_string(bar_item_x(0)) + " " +
              std::to_string(BAR_Y) + "\n+100 click left " + std::to_string(bar_item_x(0)) + " " +
              std::to_string(FIRST_ITEM_Y + ITEM_STEP - 5) + "\n+100 key Escape\n+100 key Escape\n";
    run(script + quit_at(t + 600));
    EXPECT_EQ(g_heard.commands, (std::vector<WPARAM>{1, 2, 3, 4, 5}));
}

TEST_F(FramesAndMenus, EveryItemByKeyboard) {
    std::string script = "at 100 key F10\n+10 key Down\n+10 key Enter\n"              // New
                         "+100 key Alt\n+10 key Down\n+10 key Down\n+10 key Enter\n"  // Quit
                         "+100 key F10\n+10 key Right\n+10 key Down\n+10 key Enter\n" // Pause
                         "+100 key F10\n+10 key Left\n+10 key Down\n+10 key Enter\n"  // Rules
                         "+100 key F10\n+10 key Left\n+10 key Down\n+10 key Up\n+10 key Enter\n";
    run(script + quit_at(2000));
    EXPECT_EQ(g_heard.commands, (std::vector<WPARAM>{1, 2, 3, 4, 5}));
}

// The box from a timer tick of the window, while a 5 ms timer runs.
int show_box_on_timer(HWND window, const std::string& script) {
    std::string error;
    EXPECT_TRUE(headless_load_script(script.c_str(), "box", &error)) << error;
    SetTimer(window, 1, 5, nullptr);
    int ticks_before = g_heard.timer_ticks;
    int mouse_before = g_heard.mouse_messages;
    int result = MessageBoxA(window, "Crash!!!\r\nScore: 57", "Alert", MB_OK | MB_ICONEXCLAMATION);
    EXPECT_GT(g_heard.timer_ticks - ticks_before, 10) << "the owner's timer kept firing";
    EXPECT_EQ(g_heard.mouse_messages, mouse_before) << "the owner got no mouse input";
    KillTimer(window, 1);
    return result;
}

TEST_F(FramesAndMenus, MessageBoxOverItsOwner) {
    std::string script = "at 300 capture box.png\nat 400 click left " +
                         std::to_string(bar_item_x(0)) + " " + std::to_string(BAR_Y) +
                         "\nat 450 click left 300 300\nat 500 key Enter\n";
    EXPECT_EQ(show_box_on_timer(window, script), IDOK);
    EXPECT_TRUE(g_heard.commands.empty()) << "the owner's menu is out of reach";
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(GetActiveWindow(), window);
    Image picture;
    std::string error;
    ASSERT_TRUE(png_read_file("box.png", &picture, &error)) << error;
    EXPECT_TRUE(matches_golden("tests/platform/user/golden/message_box.png", picture.pixels.data(),
                               picture.width, picture.height, picture.width));
}

TEST_F(FramesAndMenus, MessageBoxDismissedEveryWay) {
    // The box is centred on the work area; its OK button and close box:
    // a click on OK, Enter, Space, and the close box all answer IDOK.
    const char* ways[] = {"+300 click left 512 393\n", "+300 key Enter\n", "+300 key Space\n",
                          "+300 click left 572 318\n"};
    for (const char* way : ways) {
        EXPECT_EQ(show_box_on_timer(window, way), IDOK) << way;
    }
}

} // namespace
