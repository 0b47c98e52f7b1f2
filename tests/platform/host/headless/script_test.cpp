// The input script's language: what each command becomes, and the one-line
// message, with its line number, for each way a line can be wrong.
#include "platform/host/headless/headless.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

std::vector<ScriptStep> parse(const char* text) {
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_TRUE(headless_parse_script(text, "play.txt", &steps, &error)) << error;
    return steps;
}

void expect_key(const ScriptStep& step, uint64_t time_us, UINT key, bool down) {
    EXPECT_EQ(step.action, ScriptAction::Input);
    EXPECT_EQ(step.event.type, HOST_KEY);
    EXPECT_EQ(step.time_us, time_us);
    EXPECT_EQ(step.event.time_us, time_us);
    EXPECT_EQ(step.event.key, key);
    EXPECT_EQ(step.event.down, down);
}

void expect_mouse(const ScriptStep& step, HostEventType type, LONG x, LONG y, int button = 0,
                  bool down = false) {
    EXPECT_EQ(step.event.type, type);
    EXPECT_EQ(step.event.point.x, x);
    EXPECT_EQ(step.event.point.y, y);
    if (type == HOST_MOUSE_BUTTON) {
        EXPECT_EQ(step.event.button, button);
        EXPECT_EQ(step.event.down, down);
    }
}

TEST(ScriptTimes, AbsoluteAndRelativeTimesCommentsAndBlankLines) {
    auto steps = parse("# a comment\n"
                       "\n"
                       "at 2500 keydown Enter   # trailing comment\r\n"
                       "+100 keyup Enter\n"
                       "   \n"
                       "+0 keydown Space\n"
                       "at 2600 keyup Space\n"
                       "at 3000 keydown Tab");
    ASSERT_EQ(steps.size(), 5u);
    expect_key(steps[0], 2'500'000, VK_RETURN, true);
    expect_key(steps[1], 2'600'000, VK_RETURN, false);
    expect_key(steps[2], 2'600'000, VK_SPACE, true);
    expect_key(steps[3], 2'600'000, VK_SPACE, false);
    expect_key(steps[4], 3'000'000, VK_TAB, true);
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_EQ(steps[4].line, 8);
}

TEST(ScriptCommands, KeysGiveDownAndUpWithTheirVirtualKeyCodes) {
    static const struct {
        const char* name;
        UINT key;
    } NAMES[] = {{"Alt", VK_MENU},
                 {"F1", VK_F1},
                 {"F10", VK_F10},
                 {"F12", VK_F12},
                 {"Left", VK_LEFT},
                 {"Right", VK_RIGHT},
                 {"Up", VK_UP},
                 {"Down", VK_DOWN},
                 {"Enter", VK_RETURN},
                 {"Space", VK_SPACE},
                 {"Escape", VK_ESCAPE},
                 {"Tab", VK_TAB},
                 {"Backspace", VK_BACK},
                 {"Shift", VK_SHIFT},
                 {"Control", VK_CONTROL},
                 {"a", 'A'},
                 {"Q", 'Q'},
                 {"7", '7'},
                 {"escape", VK_ESCAPE}};
    for (const auto& entry : NAMES) {
        std::string line = std::string("at 5 key ") + entry.name;
        auto steps = parse(line.c_str());
        ASSERT_EQ(steps.size(), 2u) << entry.name;
        expect_key(steps[0], 5000, entry.key, true);
        expect_key(steps[1], 5000, entry.key, false);
    }
}

TEST(ScriptCommands, PointerCommandsTrackThePointer) {
    auto steps = parse("at 0 down left\n" // at the pointer's start, mid-screen
                       "+10 up left\n"
                       "+10 move 100 200\n"
                       "+10 down right\n"
                       "+10 up right 100 200\n" // same place: no move
                       "+10 click middle 5 6\n" // moves, then down and up
                       "+10 click left\n"
                       "+10 up left 1023 767\n");
    ASSERT_EQ(steps.size(), 12u);
    expect_mouse(steps[0], HOST_MOUSE_BUTTON, 512, 384, HOST_BUTTON_LEFT, true);
    expect_mouse(steps[1], HOST_MOUSE_BUTTON, 512, 384, HOST_BUTTON_LEFT, false);
    expect_mouse(steps[2], HOST_MOUSE_MOVE, 100, 200);
    expect_mouse(steps[3], HOST_MOUSE_BUTTON, 100, 200, HOST_BUTTON_RIGHT, true);
    expect_mouse(steps[4], HOST_MOUSE_BUTTON, 100, 200, HOST_BUTTON_RIGHT, false);
    expect_mouse(steps[5], HOST_MOUSE_MOVE, 5, 6);
    expect_mouse(steps[6], HOST_MOUSE_BUTTON, 5, 6, HOST_BUTTON_MIDDLE, true);
    expect_mouse(steps[7], HOST_MOUSE_BUTTON, 5, 6, HOST_BUTTON_MIDDLE, false);
    EXPECT_EQ(steps[7].time_us, 50'000u);
    expect_mouse(steps[8], HOST_MOUSE_BUTTON, 5, 6, HOST_BUTTON_LEFT, true);
    expect_mouse(steps[9], HOST_MOUSE_BUTTON, 5, 6, HOST_BUTTON_LEFT, false);
    expect_mouse(steps[10], HOST_MOUSE_MOVE, 1023, 767);
    expect_mouse(steps[11], HOST_MOUSE_BUTTON, 1023, 767, HOST_BUTTON_LEFT, false);
}

TEST(ScriptCommands, CloseAndCapturesAreHostSteps) {
    auto steps = parse("at 1 close\n"
                       "at 2 close \"Zandrel Rules\"\n"
                       "at 3 capture start.png\n"
                       "at 4 capture \"with space.PNG\"\n"
                       "at 5 capture-window \"Zandrel\" game.png\n");
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0].action, ScriptAction::Close);
    EXPECT_EQ(steps[0].title, "");
    EXPECT_EQ(steps[1].action, ScriptAction::Close);
    EXPECT_EQ(steps[1].title, "Zandrel Rules");
    EXPECT_EQ(steps[2].action, ScriptAction::Capture);
    EXPECT_EQ(steps[2].file, "start.png");
    EXPECT_EQ(steps[3].file, "with space.PNG");
    EXPECT_EQ(steps[4].action, ScriptAction::CaptureWindow);
    EXPECT_EQ(steps[4].title, "Zandrel");
    EXPECT_EQ(steps[4].file, "game.png");
    EXPECT_EQ(steps[4].time_us, 5000u);
}

// Every mistake is reported with the script's name and the line it is on,
// and no steps come out of a refused script.
TEST(ScriptErrors, EachMistakeNamesItsLine) {
    static const struct {
        const char* line;
        const char* message;
    } CASES[] = {
        {"key Enter", "a line starts with its time, \"at MS\" or \"+MS\", not \"key\""},
        {"at", "\"at\" needs a time in milliseconds"},
        {"at 12x key A", "bad time \"12x\": milliseconds, a whole number up to 1000000000"},
        {"+ key A", "a line starts with its time, \"at MS\" or \"+MS\", not \"+\""},
        {"+-5 key A", "bad time \"-5\": milliseconds, a whole number up to 1000000000"},
        {"at 50 key A", "time goes back: at 50 is before the line above (at 100)"},
        {"at 100", "a command must follow the time"},
        {"at 100 jump", "unknown command \"jump\""},
        {"at 100 \"move\" 1 2", "unknown command \"move\""},
        {"at 100 key Entr", "unknown key name \"Entr\""},
        {"at 100 key F13", "unknown key name \"F13\""},
        {"at 100 key F0", "unknown key name \"F0\""},
        {"at 100 key \x1b[2JA\x7f", "unknown key name \"\\x1b[2JA\\x7f\""},
        {"at 100 keydown", "keydown needs a key name"},
        {"at 100 keyup A B", "unexpected \"B\" after keyup"},
        {"at 100 move 5", "move needs X and Y"},
        {"at 100 move 1024 0", "X 1024 is off the screen (0 to 1023)"},
        {"at 100 move 0 768", "Y 768 is off the screen (0 to 767)"},
        {"at 100 move -1 0", "X \"-1\" is not a whole number"},
        {"at 100 move 1 two", "Y \"two\" is not a whole number"},
        {"at 100 down", "down needs a button (left, right or middle)"},
        {"at 100 click centre", "unknown button \"centre\" (left, right or middle)"},
        {"at 100 up left 5", "up needs both X and Y, or neither"},
        {"at 100 click left 1 2 3", "unexpected \"3\" after click"},
        {"at 100 close Zandrel", "window titles are written in double quotes: \"Zandrel\""},
        {"at 100 close \"Zandrel", "missing closing quote"},
        {"at 100 close \"a\" \"b\"", "unexpected \"b\" after close"},
        {"at 100 capture", "capture needs a file name ending in .png"},
        {"at 100 capture shot.bmp", "capture needs a file name ending in .png, not \"shot.bmp\""},
        {"at 100 capture-window shot.png",
         "capture-window needs a window title in double quotes and a file name"},
        {"at 100 capture-window Zandrel shot.png",
         "window titles are written in double quotes: \"Zandrel\""},
        {"at 100 capture-window \"Zandrel\" shot",
         "capture-window needs a file name ending in .png, not \"shot\""},
        {"at 1000000001 key A", "time \"1000000001\" is beyond 1000000000 ms"},
        {"at 00000000000000000000001000000001 key A",
         "time \"00000000000000000000001000000001\" is beyond 1000000000 ms"},
        {"at 100 move 000000000000000000001024 0",
         "X 000000000000000000001024 is off the screen (0 to 1023)"},
        {"at 100 move 0 99999999999999999999999", "Y 99999999999999999999999 is off the screen "
                                                  "(0 to 767)"},
        {"at 100 capture /tmp/shot.png",
         "capture writes only inside the capture folder "
         "(ZANDREL_CAPTURE_DIR): \"/tmp/shot.png\" leads out of it"},
        {"at 100 capture ../shot.png", "capture writes only inside the capture folder "
                                       "(ZANDREL_CAPTURE_DIR): \"../shot.png\" leads out of it"},
        {"at 100 capture \"a b/../../shot.png\"",
         "capture writes only inside the capture folder (ZANDREL_CAPTURE_DIR): \"a "
         "b/../../shot.png\" leads out of it"},
        {"at 100 capture-window \"Zandrel\" shots/..",
         "capture-window needs a file name ending in .png, not \"shots/..\""},
        {"at 100 capture-window \"Zandrel\" /shots/..png",
         "capture-window writes only inside the capture folder (ZANDREL_CAPTURE_DIR): "
         "\"/shots/..png\" leads out of it"},
        {"at 100 capture-window \"Zandrel\" shots/../x.png",
         "capture-window writes only inside the capture folder (ZANDREL_CAPTURE_DIR): "
         "\"shots/../x.png\" leads out of it"},
    };
    for (const auto& c : CASES) {
        std::string text = std::string("# header\nat 100 key A\n\n") + c.line + "\nat 200 key B\n";
        std::vector<ScriptStep> steps;
        std::string error;
        EXPECT_FALSE(headless_parse_script(text.c_str(), "play.txt", &steps, &error)) << c.line;
        EXPECT_EQ(error, std::string("play.txt:4: ") + c.message) << c.line;
        EXPECT_TRUE(steps.empty()) << c.line;
    }
}

// What a person writes and means: a comment right after a word, numbers
// with leading zeros, names inside the capture folder, and a byte-order
// mark an editor put before the first line.
TEST(ScriptLines, ReadAsMeant) {
    auto steps = parse("\xEF\xBB\xBF"
                       "at 000000000000000000000100 key A#down and up\n"
                       "+5 move 0000000000000000000001 2# the pointer\n"
                       "+5 close \"Zandrel\"#now\n"
                       "+5 capture shots/..start.png\n"
                       "+5 capture-window \"Zandrel\" a..b/c.png\n");
    ASSERT_EQ(steps.size(), 6u);
    expect_key(steps[0], 100'000, 'A', true);
    expect_mouse(steps[2], HOST_MOUSE_MOVE, 1, 2);
    EXPECT_EQ(steps[3].action, ScriptAction::Close);
    EXPECT_EQ(steps[3].title, "Zandrel");
    EXPECT_EQ(steps[4].file, "shots/..start.png");
    EXPECT_EQ(steps[5].file, "a..b/c.png");
    std::vector<ScriptStep> refused;
    std::string error;
    EXPECT_FALSE(headless_parse_script("\xEF\xBB\xBF"
                                       "key A",
                                       "bom.txt", &refused, &error));
    EXPECT_EQ(error, "bom.txt:1: a line starts with its time, \"at MS\" or \"+MS\", not \"key\"")
        << "the mark is not part of the first word";
}

TEST(ScriptErrors, RelativeTimesCannotOverflowTheLimit) {
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_FALSE(
        headless_parse_script("at 1000000000 key A\n+1 key B", "long.txt", &steps, &error));
    EXPECT_EQ(error, "long.txt:2: time beyond 1000000000 ms");
}

} // namespace
