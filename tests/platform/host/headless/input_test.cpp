// Input on the virtual clock: waiting jumps straight to the next event or
// deadline, events come out in order at their times, a wait that could never
// end is reported, and script steps are carried out when they come due.
#include "platform/host/headless/headless.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <windows.h>

namespace {

int g_stalls = 0;
int g_exit_code = 0;
std::string g_exit_message;

void count_stall() {
    ++g_stalls;
}

void record_exit(int code, const char* message) {
    g_exit_code = code;
    g_exit_message = message;
}

class HostInput : public ::testing::Test {
  protected:
    void SetUp() override {
        headless_reset();
        g_stalls = 0;
        g_exit_code = 0;
        g_exit_message.clear();
        headless_set_exit_handler(record_exit);
    }
    void TearDown() override { headless_reset(); }
};

HostEvent key_event(uint64_t time_us, UINT key) {
    HostEvent event{};
    event.type = HOST_KEY;
    event.time_us = time_us;
    event.key = key;
    event.down = true;
    return event;
}

void place(HWND window, const char* title, bool visible, LONG x = 0, LONG y = 0) {
    RECT rect = {x, y, x + 10, y + 10};
    host_window_placed(window, &rect, visible, nullptr);
    host_window_titled(window, title);
}

TEST_F(HostInput, WaitJumpsToTheDeadlineWhenNothingIsQueued) {
    host_wait(5000);
    EXPECT_EQ(headless_clock_us(), 5000u);
    HostEvent event;
    EXPECT_FALSE(host_next_event(&event));
    host_wait(1000); // a deadline already past: no move
    EXPECT_EQ(headless_clock_us(), 5000u);
}

TEST_F(HostInput, WaitStopsAtEachEventBeforeTheDeadline) {
    headless_push_event(key_event(7000, 'B'));
    headless_push_event(key_event(3000, 'A'));
    HostEvent event;
    EXPECT_FALSE(host_next_event(&event)) << "nothing has happened at time 0";
    host_wait(10000);
    EXPECT_EQ(headless_clock_us(), 3000u);
    ASSERT_TRUE(host_next_event(&event));
    EXPECT_EQ(event.key, UINT('A'));
    EXPECT_EQ(event.time_us, 3000u);
    EXPECT_FALSE(host_next_event(&event));
    host_wait(10000);
    EXPECT_EQ(headless_clock_us(), 7000u);
    host_wait(10000);
    EXPECT_EQ(headless_clock_us(), 7000u) << "input waits: no time passes";
    ASSERT_TRUE(host_next_event(&event));
    EXPECT_EQ(event.key, UINT('B'));
    host_wait(10000);
    EXPECT_EQ(headless_clock_us(), 10000u);
    EXPECT_EQ(headless_pending_count(), 0u);
}

TEST_F(HostInput, EqualTimesKeepPushOrderAndPastEventsHappenNow) {
    headless_set_clock_us(1000);
    headless_push_event(key_event(2000, 'A'));
    headless_push_event(key_event(2000, 'B'));
    headless_push_event(key_event(1500, 'C'));
    headless_push_event(key_event(2000, 'D'));
    headless_push_event(key_event(10, 'E')); // in the past
    HostEvent event;
    ASSERT_TRUE(host_next_event(&event));
    EXPECT_EQ(event.key, UINT('E'));
    EXPECT_EQ(event.time_us, 1000u);
    EXPECT_FALSE(host_next_event(&event));
    std::string order;
    while (headless_pending_count() > 0) {
        host_wait(UINT64_MAX);
        while (host_next_event(&event))
            order += char(event.key);
    }
    EXPECT_EQ(order, "CABD");
    EXPECT_EQ(headless_clock_us(), 2000u);
    EXPECT_EQ(g_exit_code, 0);
}

TEST_F(HostInput, WaitingForeverWithNothingToComeIsAStall) {
    headless_set_stall_handler(count_stall);
    headless_push_event(key_event(1'500'000, 'A'));
    host_wait(UINT64_MAX);
    EXPECT_EQ(g_stalls, 0) << "the queued event ends the wait";
    HostEvent event;
    ASSERT_TRUE(host_next_event(&event));
    host_wait(UINT64_MAX);
    EXPECT_EQ(g_stalls, 1);
    EXPECT_EQ(headless_clock_us(), 1'500'000u);
    host_wait(2'000'000); // a deadline is not a stall
    EXPECT_EQ(g_stalls, 1);
    EXPECT_EQ(headless_clock_us(), 2'000'000u);
}

TEST_F(HostInput, StallWithoutItsOwnHandlerEndsWithCode3AndOneLine) {
    headless_set_clock_us(500'000); // a new run starts here
    headless_advance_clock_us(12'345'000);
    host_wait(UINT64_MAX);
    EXPECT_EQ(g_exit_code, HEADLESS_EXIT_STALL);
    EXPECT_EQ(g_exit_message, "the program waits for input and the script has none left "
                              "(virtual time 12.345 s)");
}

TEST_F(HostInput, TimeLimitStopsTheClockAtTheLimit) {
    headless_set_clock_us(100'000'000);
    headless_set_time_limit_us(2'000'000);
    host_wait(101'000'000);
    EXPECT_EQ(g_exit_code, 0) << "the limit counts from the start of the run";
    headless_push_event(key_event(150'000'000, 'A'));
    host_wait(UINT64_MAX);
    EXPECT_EQ(g_exit_code, HEADLESS_EXIT_TIME_LIMIT);
    EXPECT_EQ(headless_clock_us(), 102'000'000u);
    EXPECT_EQ(
        g_exit_message,
        "the program ran past its time limit of 2.000 s of virtual time (ZANDREL_TIME_LIMIT)");
}

TEST_F(HostInput, ScriptIsTimedFromWhenItIsLoaded) {
    headless_set_clock_us(1'000'000);
    std::string error;
    ASSERT_TRUE(headless_load_script("at 10 key A\n+5 move 3 4\n", "play.txt", &error)) << error;
    EXPECT_EQ(headless_pending_count(), 3u);
    host_wait(UINT64_MAX);
    EXPECT_EQ(headless_clock_us(), 1'010'000u);
    HostEvent event;
    ASSERT_TRUE(host_next_event(&event));
    EXPECT_EQ(event.down, true);
    ASSERT_TRUE(host_next_event(&event));
    EXPECT_EQ(event.down, false);
    EXPECT_FALSE(host_next_event(&event));
    host_wait(UINT64_MAX);
    ASSERT_TRUE(host_next_event(&event));
    EXPECT_EQ(event.type, HOST_MOUSE_MOVE);
    EXPECT_EQ(event.time_us, 1'015'000u);
}

TEST_F(HostInput, CloseFindsItsWindowWhenItComesDue) {
    HWND game = (HWND)0x10;
    HWND rules = (HWND)0x20;
    HWND hidden = (HWND)0x30;
    std::string error;
    ASSERT_TRUE(headless_load_script("at 1 close \"Rules\"\nat 2 close\n", "play.txt", &error));
    place(game, "Zandrel", true);
    place(rules, "Rules", true);
    place(hidden, "Hidden", false); // topmost, but nobody can close what is not shown
    host_wait(UINT64_MAX);
    HostEvent event;
    ASSERT_TRUE(host_next_event(&event));
    EXPECT_EQ(event.type, HOST_CLOSE);
    EXPECT_EQ(event.window, rules);
    EXPECT_EQ(event.time_us, 1000u);
    host_window_destroyed(rules);
    host_wait(UINT64_MAX);
    ASSERT_TRUE(host_next_event(&event));
    EXPECT_EQ(event.window, game);
    EXPECT_EQ(g_exit_code, 0);
    host_window_destroyed(game);
    host_window_destroyed(hidden);
}

TEST_F(HostInput, CloseOfAMissingWindowEndsWithCode5) {
    std::string error;
    ASSERT_TRUE(headless_load_script("\nat 1500 close \"Rules\"\n", "play.txt", &error));
    host_wait(UINT64_MAX);
    HostEvent event;
    EXPECT_FALSE(host_next_event(&event));
    EXPECT_EQ(g_exit_code, HEADLESS_EXIT_SCRIPT_FAILED);
    EXPECT_EQ(g_exit_message,
              "play.txt:2: no visible window titled \"Rules\" to close (virtual time 1.500 s)");
}

TEST_F(HostInput, CapturesHappenWithoutWakingTheProgram) {
    std::string dir = ::testing::TempDir();
    headless_set_capture_dir(dir.c_str());
    std::string error;
    ASSERT_TRUE(headless_load_script("at 100 capture host_input_shot.png\n"
                                     "at 200 capture-window \"Gone\" x.png\n",
                                     "play.txt", &error));
    host_wait(1'000'000);
    EXPECT_EQ(headless_clock_us(), 1'000'000u);
    Image image;
    ASSERT_TRUE(png_read_file((dir + "/host_input_shot.png").c_str(), &image, &error)) << error;
    EXPECT_EQ(image.width, 1024);
    EXPECT_EQ(image.height, 768);
    EXPECT_EQ(image.at(1023, 767), DESKTOP_COLOUR);
    remove((dir + "/host_input_shot.png").c_str());
    EXPECT_EQ(g_exit_code, HEADLESS_EXIT_SCRIPT_FAILED);
    EXPECT_EQ(g_exit_message,
              "play.txt:2: no window titled \"Gone\" to capture (virtual time 0.200 s)");
}

// Whatever the folder and the script's name hold, the message is one line.
TEST_F(HostInput, ACaptureThatCannotBeWrittenEndsWithCode5) {
    headless_set_capture_dir("/nonexistent-folder-of-zandrel\n\x1b[2J");
    std::string error;
    ASSERT_TRUE(headless_load_script("at 0 capture shot.png\n", "pl\ray.txt", &error));
    host_wait(10);
    EXPECT_EQ(g_exit_code, HEADLESS_EXIT_SCRIPT_FAILED);
    EXPECT_EQ(g_exit_message, "pl\\x0day.txt:1: cannot create "
                              "/nonexistent-folder-of-zandrel\\x0a\\x1b[2J/shot.png: No such file "
                              "or directory (virtual time 0.000 s)");
}

} // namespace
