// The whole program as a child process on the headless host, driven by
// input scripts: how it ends (always with exit code 0, from every state),
// what it shows before the first game, the crash box, Rules and About, the
// tick count's wrap, minimising to the task bar and back, windows that stay
// within a person's reach, and the demo that tools/play runs.
#include "platform/host/headless/png_file.h"
#include "tests/support/image_compare.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace {

// The window's client area in a capture of the window alone.
constexpr int CLIENT_LEFT = 3;
constexpr int CLIENT_TOP = 41;
constexpr int CLIENT_WIDTH = 634;
constexpr int CLIENT_HEIGHT = 324;
constexpr uint32_t BLUE = 0x0000FF; // 0x00RRGGBB
constexpr uint32_t YELLOW = 0xFFFF00;

// Keyboard ways through the menu bar, as a person would type them; each
// needs the time of its first line before it.
const char* const NEW = "key F10\n+20 key Down\n+20 key Enter\n";
const char* const QUIT = "key Alt\n+20 key Down\n+20 key Down\n+20 key Enter\n";
const char* const PAUSE = "key F10\n+20 key Right\n+20 key Down\n+20 key Enter\n";
const char* const RULES = "key F10\n+20 key Left\n+20 key Down\n+20 key Enter\n";
const char* const ABOUT = "key F10\n+20 key Left\n+20 key Down\n+20 key Down\n+20 key Enter\n";
// The close box of the window centred at 192 180.
const char* const CLOSE_BOX = "click left 819 192\n";

class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/zandrel-game-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }

    void TearDown() override {
        std::string command = "rm -rf '" + dir_ + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }

    // Runs the game with the script; returns its exit code. `limit` is the
    // virtual time allowed: a game that does not end runs into it (code 4).
    int run(const std::string& script, const char* limit = "30", const char* tickStart = nullptr) {
        std::string path = dir_ + "/play.txt";
        std::ofstream(path) << script;
        std::string command = "ZANDREL_SCRIPT='" + path + "' ZANDREL_CAPTURE_DIR='" + dir_ +
                              "' ZANDREL_TIME_LIMIT=" + limit;
        if (tickStart != nullptr)
            command += std::string(" ZANDREL_TICK_START=") + tickStart;
        command += " timeout 60 '" ZANDREL_GAME_PROGRAM "' 2>'" + dir_ + "/stderr.txt'";
        int status = system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string stderrText() {
        std::ifstream in(dir_ + "/stderr.txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    Image capture(const char* name) {
        Image image;
        std::string error;
        EXPECT_TRUE(png_read_file((dir_ + "/" + name).c_str(), &image, &error)) << error;
        return image;
    }

    static int countClient(const Image& window, uint32_t colour) {
        int count = 0;
        for (int y = CLIENT_TOP; y < CLIENT_TOP + CLIENT_HEIGHT; ++y)
            for (int x = CLIENT_LEFT; x < CLIENT_LEFT + CLIENT_WIDTH; ++x)
                count += (window.at(x, y) & 0xFFFFFF) == colour;
        return count;
    }

    std::string dir_;
};

constexpr int CLIENT_PIXELS = CLIENT_WIDTH * CLIENT_HEIGHT;

using Ending = Program;

TEST_F(Ending, QuitBeforeTheFirstGameExits0AndNoFrameRan) {
    std::string script = "at 300 capture-window \"Zandrel\" before.png\n";
    EXPECT_EQ(run(script + "+0 " + QUIT, "3"), 0) << stderrText();
    ASSERT_EQ(capture("before.png").width, 640);
    EXPECT_EQ(countClient(capture("before.png"), BLUE), CLIENT_PIXELS) << "plain blue";
}

TEST_F(Ending, CloseBoxBeforeTheFirstGameExits0) {
    EXPECT_EQ(run(std::string("at 300 ") + CLOSE_BOX, "3"), 0) << stderrText();
}

TEST_F(Ending, WithoutQuitTheGameGoesOn) {
    // The frame loop never ends by itself: the host's time limit ends it.
    EXPECT_EQ(run(std::string("at 100 ") + NEW, "2"), 4);
}

TEST_F(Ending, MovesBeforeTheFirstGameDrawNothing) {
    std::string script = "at 200 move 300 300\n+50 move 500 400\n+50 move 700 260\n"
                         "+200 capture-window \"Zandrel\" moved.png\n";
    EXPECT_EQ(run(script + "+0 " + CLOSE_BOX, "3"), 0) << stderrText();
    EXPECT_EQ(countClient(capture("moved.png"), BLUE), CLIENT_PIXELS);
}

// The captures show the game moving before the pause and standing still
// during it, so the ending comes from a paused game.
TEST_F(Ending, QuitAndCloseWhilePausedExit0) {
    std::string game = std::string("at 100 ") + NEW +
                       "+400 capture-window \"Zandrel\" play1.png\n" +
                       "+100 capture-window \"Zandrel\" play2.png\n+0 " + PAUSE +
                       "+300 capture-window \"Zandrel\" paused1.png\n" +
                       "+300 capture-window \"Zandrel\" paused2.png\n+0 ";
    for (const char* ending : {QUIT, CLOSE_BOX}) {
        SCOPED_TRACE(ending);
        EXPECT_EQ(run(game + ending), 0) << stderrText();
        EXPECT_NE(capture("play1.png").pixels, capture("play2.png").pixels) << "in play";
        EXPECT_EQ(capture("paused1.png").pixels, capture("paused2.png").pixels) << "paused";
    }
}

// Left alone, the ball rises to the top and the first wall that meets it
// outside its gap drags it down to a crash, well within 12 s.
std::string crashThen(const std::string& after) {
    return std::string("at 100 ") + NEW +
           "at 12000 capture-window \"Alert\" alert.png\n"
           "+100 key Enter\n"
           "+200 capture-window \"Zandrel\" after1.png\n"
           "+1000 capture-window \"Zandrel\" after2.png\n+0 " +
           after;
}

TEST_F(Ending, AfterACrashAnsweredWithOkTheSceneFreezesAndQuitExits0) {
    EXPECT_EQ(run(crashThen(QUIT)), 0) << stderrText();
    Image alert = capture("alert.png");
    EXPECT_GT(alert.width, 0);
    EXPECT_LT(alert.width, 640);
    Image first = capture("after1.png"), second = capture("after2.png");
    EXPECT_GT(countClient(first, YELLOW), 0) << "walls are on screen";
    EXPECT_EQ(first.pixels, second.pixels) << "nothing moves after the crash";
}

TEST_F(Ending, AfterACrashTheCloseBoxExits0) {
    EXPECT_EQ(run(crashThen(CLOSE_BOX)), 0) << stderrText();
    Image alert = capture("alert.png");
    EXPECT_GT(alert.width, 0) << "the crash box was up";
    EXPECT_LT(alert.width, 640);
    EXPECT_EQ(capture("after1.png").pixels, capture("after2.png").pixels) << "the game is over";
}

using Boxes = Program;

TEST_F(Boxes, RulesAndAboutComeUpAndGoWithOk) {
    std::string script = std::string("at 200 ") + RULES +
                         "+200 capture-window \"Rules\" rules.png\n+0 key Enter\n+200 " + ABOUT +
                         "+200 capture-window \"About\" about.png\n+0 key Enter\n"
                         "+200 capture-window \"Zandrel\" after.png\n+0 " +
                         QUIT;
    EXPECT_EQ(run(script, "5"), 0) << stderrText();
    Image rules = capture("rules.png"), about = capture("about.png");
    EXPECT_GT(rules.width, about.width) << "the rules are one long line";
    EXPECT_GT(about.height, rules.height) << "the About text has five lines";
    EXPECT_EQ(countClient(capture("after.png"), BLUE), CLIENT_PIXELS);
}

using TickCount = Program;

TEST_F(TickCount, PlayGoesOnAcrossTheWrap) {
    std::string script =
        std::string("at 100 ") + NEW + "at 3500 capture-window \"Zandrel\" wrapped.png\n+0 " + QUIT;
    EXPECT_EQ(run(script, "10", "4294967000"), 0) << stderrText();
    EXPECT_GT(countClient(capture("wrapped.png"), YELLOW), 100)
        << "a wall came after the count wrapped";
}

// The minimise box sends the window to the task bar below the work area;
// its button brings it back as it was, and play goes on.
using Minimise = Program;

const char* const MINIMIZE_BOX = "click left 785 192\n";
const char* const TASK_BAR_BUTTON = "click left 84 748\n";
constexpr int TASK_BAR_TOP = 728;

TEST_F(Minimise, TheTaskBarButtonRestoresTheWindowAsItWas) {
    std::string script = std::string("at 100 ") + NEW + "+500 " + PAUSE +
                         "+300 capture-window \"Zandrel\" before.png\n+0 " + MINIMIZE_BOX +
                         "+300 capture minimised.png\n+0 " + TASK_BAR_BUTTON +
                         "+300 capture restored.png\n"
                         "+0 capture-window \"Zandrel\" after.png\n+0 " +
                         PAUSE + "+1000 capture-window \"Zandrel\" running.png\n+0 " + QUIT;
    EXPECT_EQ(run(script, "10"), 0) << stderrText();
    Image minimised = capture("minimised.png"), restored = capture("restored.png");
    ASSERT_EQ(minimised.width, 1024);
    ASSERT_EQ(restored.width, 1024);
    int desktop = 0;
    for (int y = 0; y < TASK_BAR_TOP; ++y)
        for (int x = 0; x < 1024; ++x)
            desktop += (minimised.at(x, y) & 0xFFFFFF) == 0x008080;
    EXPECT_EQ(desktop, 1024 * TASK_BAR_TOP) << "nothing but the desktop above the task bar";
    const int row = TASK_BAR_TOP * 1024;
    EXPECT_TRUE(matches_golden("tests/game/golden/task_bar_minimised.png", &minimised.pixels[row],
                               1024, 40, 1024));
    EXPECT_TRUE(matches_golden("tests/game/golden/task_bar_active.png", &restored.pixels[row], 1024,
                               40, 1024));
    Image before = capture("before.png"), after = capture("after.png");
    EXPECT_EQ(before.pixels, after.pixels) << "the window comes back with its picture";
    EXPECT_NE(after.pixels, capture("running.png").pixels) << "and the game goes on";
}

// What a person must always be able to reach with the mouse: the crash
// box that came while the window was minimised, once the task bar restores
// the window, and a window dragged by its caption down onto the task bar.
using Reach = Program;

constexpr uint32_t ACTIVE_CAPTION = 0x000080;
constexpr uint32_t FACE = 0xC0C0C0;

uint32_t screen_at(const Image& screen, int x, int y) {
    return screen.at(x, y) & 0xFFFFFF;
}

TEST_F(Reach, ACrashBoxThatCameWhileMinimisedIsAboveItsWindowWhenRestored) {
    // Drag the window to the top left, start a game, minimise it by the task
    // bar and let the crash come; the box opens at 0,0 above the window.
    std::string script = "at 200 down left 400 190\n+50 move 208 10\n+50 up left 208 10\n"
                         "+50 click left 28 31\n+50 click left 38 52\n+100 " +
                         std::string(TASK_BAR_BUTTON) + "+30000 " + TASK_BAR_BUTTON +
                         "+200 capture restored.png\n+0 click left 80 86\n"
                         "+200 capture answered.png\n+0 " +
                         QUIT;
    EXPECT_EQ(run(script, "40"), 0) << stderrText();
    Image restored = capture("restored.png");
    ASSERT_EQ(restored.width, 1024);
    EXPECT_EQ(screen_at(restored, 100, 60), FACE) << "the box is above the window";
    EXPECT_EQ(screen_at(restored, 60, 10), ACTIVE_CAPTION) << "and active";
    EXPECT_NE(screen_at(capture("answered.png"), 100, 60), FACE) << "its OK takes a click";
}

TEST_F(Reach, ADragOntoTheTaskBarLeavesTheCaptionWithinReach) {
    std::string script = "at 200 capture before.png\n+0 down left 400 190\n+50 move 400 767\n"
                         "+50 up left 400 767\n+100 capture dropped.png\n"
                         "+0 down left 400 727\n+50 move 400 190\n+50 up left 400 190\n"
                         "+100 capture back.png\n+0 " +
                         std::string(QUIT);
    EXPECT_EQ(run(script, "5"), 0) << stderrText();
    EXPECT_EQ(screen_at(capture("dropped.png"), 400, TASK_BAR_TOP - 1), ACTIVE_CAPTION);
    EXPECT_EQ(capture("before.png").pixels, capture("back.png").pixels)
        << "the caption was taken again and the window dragged back";
}

using Demo = Program;

TEST_F(Demo, TheScriptOfToolsPlayRunsToTheEnd) {
    std::ifstream in(ZANDREL_SOURCE_DIR "/tools/demo.txt");
    std::string script(std::istreambuf_iterator<char>(in), {});
    ASSERT_FALSE(script.empty());
    EXPECT_EQ(run(script, "60"), 0) << stderrText();
    Image crash = capture("4-crash.png");
    EXPECT_EQ(crash.width, 1024);
}

} // namespace
