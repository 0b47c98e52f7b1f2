// The SDL host's start-up: the scale a person sets, and the program for people
// refusing to start, in one line on standard error, where it cannot show a
// window.
#include "platform/host/sdl/scale.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

using zandrel_sdl::parse_scale;

TEST(SdlScale, OnlyOneToFourAreScales) {
    EXPECT_EQ(parse_scale(nullptr), 1);
    for (int scale = 1; scale <= 4; ++scale) {
        char text[2] = {char('0' + scale), '\0'};
        EXPECT_EQ(parse_scale(text), scale);
    }
    for (const char* wrong : {"", "0", "5", "9", "12", "2x", " 2", "2\n", "-1", "x", "1.5"})
        EXPECT_EQ(parse_scale(wrong), 0) << wrong;
}

struct Outcome {
    int code = -1;
    std::string error;
};

// A file of this test process's own: ctest runs each case as its own
// process, several at a time, in the same temporary folder.
std::string own_temp_file(const char* name) {
    return ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
}

// Runs the program with the environment changes given as a shell prefix.
Outcome run_program(const std::string& environment) {
    std::string error_file = own_temp_file("sdl_start_error.txt");
    std::string command = environment + " timeout -k 2 10 '" ZANDREL_SDL_PROGRAM "' 2>'" +
                          error_file + "' >/dev/null";
    int status = system(command.c_str());
    Outcome outcome;
    outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::stringstream text;
    text << std::ifstream(error_file).rdbuf();
    outcome.error = text.str();
    return outcome;
}

// The program's own line; the system's display libraries may have written
// lines of their own before it.
void expect_one_line_refusal(const Outcome& outcome, const char* names) {
    EXPECT_EQ(outcome.code, 2);
    size_t start = outcome.error.find("zandrel: ");
    ASSERT_NE(start, std::string::npos) << outcome.error;
    std::string line = outcome.error.substr(start);
    EXPECT_EQ(line.find('\n'), line.size() - 1) << outcome.error;
    EXPECT_NE(line.find(names), std::string::npos) << outcome.error;
}

TEST(SdlStart, WithoutADisplayItSaysHowToRunAnyway) {
    Outcome outcome = run_program("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER");
    expect_one_line_refusal(outcome, "DISPLAY is not set");
    EXPECT_NE(outcome.error.find("xvfb-run"), std::string::npos) << outcome.error;
    EXPECT_NE(outcome.error.find("--headless"), std::string::npos) << outcome.error;
}

TEST(SdlStart, ADisplayThatCannotBeOpenedIsNamed) {
    Outcome outcome = run_program("env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:7391");
    expect_one_line_refusal(outcome, "DISPLAY :7391 cannot be opened");
    EXPECT_NE(outcome.error.find("xvfb-run"), std::string::npos) << outcome.error;
}

// Set but empty is wrong too; whatever the value holds, the refusal is one line.
TEST(SdlStart, AWrongScaleIsRefusedBeforeAnythingElse) {
    const char* const CASES[][2] = {
        {"5", "\"5\""}, {"", "\"\""}, {"2\n\x1b[2J\"", "\"2\\x0a\\x1b[2J\\\"\""}};
    for (const auto& [value, shown] : CASES) {
        Outcome outcome = run_program(
            std::string("env -u DISPLAY -u WAYLAND_DISPLAY ZANDREL_SCALE='") + value + "'");
        std::string line = std::string("ZANDREL_SCALE must be 1, 2, 3 or 4, not ") + shown + "\n";
        expect_one_line_refusal(outcome, line.c_str());
    }
}

} // namespace

namespace {

uint32_t uptime_ms() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return uint32_t(uint64_t(now.tv_sec) * 1000 + uint64_t(now.tv_nsec) / 1'000'000);
}

// The tick count counts from the machine's start, as Windows' does, so a
// game seeded from it differs from run to run; it wraps with the uptime.
TEST(SdlClock, TheTickCountStartsAtTheMachinesUptime) {
    std::string out_file = own_temp_file("sdl_tick.txt");
    uint32_t before = uptime_ms();
    std::string command = "env SDL_VIDEODRIVER=offscreen timeout -k 2 10 '" SDL_TICK_PROBE "' >'" +
                          out_file + "' 2>/dev/null";
    ASSERT_EQ(system(command.c_str()), 0);
    uint32_t after = uptime_ms();
    unsigned long tick = 0;
    std::ifstream(out_file) >> tick;
    // One 64 Hz system tick of rounding either way.
    EXPECT_LE(uint32_t(uint32_t(tick) - (before - 16)), uint32_t(after - before + 32))
        << "tick count " << tick << ", uptime from " << before << " to " << after;
}

} // namespace
