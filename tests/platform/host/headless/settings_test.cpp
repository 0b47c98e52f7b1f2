// The settings a program takes from its environment, checked before main:
// each wrong value gives one line naming it, and a good tick start starts the
// clock there, near the 32-bit wrap included.
#include "platform/host/headless/headless.h"

#include <gtest/gtest.h>
#include <map>
#include <stdio.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

namespace {

std::map<std::string, std::string> g_environment;

const char* lookup(const char* name) {
    auto found = g_environment.find(name);
    return found == g_environment.end() ? nullptr : found->second.c_str();
}

std::string read_with(std::map<std::string, std::string> environment, HeadlessSettings* settings) {
    g_environment = std::move(environment);
    return headless_read_settings(lookup, settings);
}

std::string write_temp(const char* name, const char* text) {
    std::string path = ::testing::TempDir() + "/" + name;
    FILE* file = fopen(path.c_str(), "wb");
    fputs(text, file);
    fclose(file);
    return path;
}

class HostSettings : public ::testing::Test {
  protected:
    void SetUp() override { headless_reset(); }
    void TearDown() override { headless_reset(); }
};

TEST_F(HostSettings, DefaultsWhenNothingIsSet) {
    HeadlessSettings settings;
    settings.time_limit_us = 1;
    EXPECT_EQ(read_with({}, &settings), "");
    EXPECT_EQ(settings.script_path, "");
    EXPECT_FALSE(settings.has_tick_start);
    EXPECT_EQ(settings.capture_dir, ".");
    EXPECT_EQ(settings.time_limit_us, 600'000'000u);
}

TEST_F(HostSettings, ReadsEachSetting) {
    HeadlessSettings settings;
    std::string dir = ::testing::TempDir();
    EXPECT_EQ(read_with({{"ZANDREL_SCRIPT", "play.txt"},
                         {"ZANDREL_TICK_START", "0xFFFFFED8"},
                         {"ZANDREL_CAPTURE_DIR", dir},
                         {"ZANDREL_TIME_LIMIT", "2.5"}},
                        &settings),
              "");
    EXPECT_EQ(settings.script_path, "play.txt");
    EXPECT_TRUE(settings.has_tick_start);
    EXPECT_EQ(settings.tick_start, 0xFFFFFED8u);
    EXPECT_EQ(settings.capture_dir, dir);
    EXPECT_EQ(settings.time_limit_us, 2'500'000u);
    EXPECT_EQ(
        read_with({{"ZANDREL_TICK_START", "4294967295"}, {"ZANDREL_TIME_LIMIT", "0"}}, &settings),
        "");
    EXPECT_EQ(settings.tick_start, 0xFFFFFFFFu);
    EXPECT_EQ(settings.time_limit_us, 0u);
}

TEST_F(HostSettings, RefusesMalformedValues) {
    static const struct {
        const char* name;
        const char* value;
        const char* message;
    } CASES[] = {
        {"ZANDREL_TICK_START", "4294967296",
         "ZANDREL_TICK_START: \"4294967296\" is not a tick count (a whole number up to "
         "4294967295, decimal or 0x hex)"},
        {"ZANDREL_TICK_START", "12x",
         "ZANDREL_TICK_START: \"12x\" is not a tick count (a whole number up to 4294967295, "
         "decimal or 0x hex)"},
        {"ZANDREL_TICK_START", "0x",
         "ZANDREL_TICK_START: \"0x\" is not a tick count (a whole number up to 4294967295, "
         "decimal or 0x hex)"},
        {"ZANDREL_TICK_START", "",
         "ZANDREL_TICK_START: \"\" is not a tick count (a whole number up to 4294967295, "
         "decimal or 0x hex)"},
        {"ZANDREL_TIME_LIMIT", "ten",
         "ZANDREL_TIME_LIMIT: \"ten\" is not a number of seconds (such as 600 or 2.5; 0 for no "
         "limit)"},
        {"ZANDREL_TIME_LIMIT", "1.",
         "ZANDREL_TIME_LIMIT: \"1.\" is not a number of seconds (such as 600 or 2.5; 0 for no "
         "limit)"},
        {"ZANDREL_TIME_LIMIT", "0x10",
         "ZANDREL_TIME_LIMIT: \"0x10\" is not a number of seconds (such as 600 or 2.5; 0 for no "
         "limit)"},
        {"ZANDREL_SCRIPT", "", "ZANDREL_SCRIPT: \"\" is not a regular file"},
        {"ZANDREL_SCRIPT", "/", "ZANDREL_SCRIPT: \"/\" is not a regular file"},
        {"ZANDREL_CAPTURE_DIR", "/nonexistent-folder-of-zandrel",
         "ZANDREL_CAPTURE_DIR: \"/nonexistent-folder-of-zandrel\" is not a folder"},
        // Whatever the value holds, the message is one line of plain text.
        {"ZANDREL_TICK_START", "12\n\x1b[2J\"\\",
         "ZANDREL_TICK_START: \"12\\x0a\\x1b[2J\\\"\\\\\" is not a tick count (a whole number up "
         "to 4294967295, decimal or 0x hex)"},
        {"ZANDREL_CAPTURE_DIR", "shots\r\x7f",
         "ZANDREL_CAPTURE_DIR: \"shots\\x0d\\x7f\" is not a folder"},
    };
    for (const auto& c : CASES) {
        HeadlessSettings settings;
        EXPECT_EQ(read_with({{c.name, c.value}}, &settings), c.message) << c.value;
    }
}

TEST_F(HostSettings, TickStartJustBelowTheWrap) {
    HeadlessSettings settings;
    settings.has_tick_start = true;
    settings.tick_start = 4294967000u;
    settings.script_path = write_temp("host_settings_wrap.txt", "at 1000 key A\n");
    EXPECT_EQ(headless_apply_settings(settings), "");
    DWORD start = GetTickCount();
    EXPECT_GE(start, 4294967000u);
    EXPECT_LT(start - 4294967000u, 16u);
    host_wait(UINT64_MAX); // the script's key, a second later: past the wrap
    HostEvent event;
    ASSERT_TRUE(host_next_event(&event));
    EXPECT_EQ(event.key, UINT('A'));
    DWORD after = GetTickCount();
    EXPECT_LT(after, start);
    DWORD elapsed = after - start;
    EXPECT_GE(elapsed, 984u);
    EXPECT_LE(elapsed, 1000u);
    remove(settings.script_path.c_str());
}

// The clock starts on the first tick that reads at least the count asked
// for, unless that tick lies past 2^32 and would read as a wrapped, small
// count: then on the nearest tick below it.
TEST_F(HostSettings, TickStartInTheLastTickBeforeTheWrap) {
    constexpr DWORD LAST_TICK = 4294967281u; // the count of the last tick before the wrap
    for (DWORD asked = LAST_TICK - 20; asked != 0; ++asked) {
        SCOPED_TRACE(asked);
        HeadlessSettings settings;
        settings.has_tick_start = true;
        settings.tick_start = asked;
        EXPECT_EQ(headless_apply_settings(settings), "");
        DWORD first = GetTickCount();
        EXPECT_GE(first, LAST_TICK - 36) << "not wrapped";
        if (asked <= LAST_TICK) {
            EXPECT_GE(first, asked);
            EXPECT_LT(first - asked, 16u);
        } else {
            EXPECT_EQ(first, LAST_TICK);
        }
    }
}

TEST_F(HostSettings, ScriptErrorsNameTheFileAndLine) {
    HeadlessSettings settings;
    settings.script_path = write_temp("host_settings_bad.txt", "at 0 key A\n\nat 5 key Entr\n");
    EXPECT_EQ(headless_apply_settings(settings),
              settings.script_path + ":3: unknown key name \"Entr\"");
    EXPECT_EQ(headless_pending_count(), 0u) << "a refused script queues nothing";
    remove(settings.script_path.c_str());
    // A NUL byte is named with its line.
    std::string nul_path = ::testing::TempDir() + "/host_settings_nul.txt";
    FILE* file = fopen(nul_path.c_str(), "wb");
    fwrite("at 0 key A\nat 5 key\0B\n", 1, 22, file);
    fclose(file);
    settings.script_path = nul_path;
    EXPECT_EQ(headless_apply_settings(settings),
              nul_path + ":2: a NUL byte: the script must be plain text");
    remove(nul_path.c_str());
    settings.script_path = "/nonexistent-folder-of-zandrel/play.txt";
    EXPECT_EQ(headless_apply_settings(settings),
              "ZANDREL_SCRIPT: cannot read \"/nonexistent-folder-of-zandrel/play.txt\": No such "
              "file or directory");
}

// A real program over the host: settings are refused before main, a stall
// and the time limit end it, each with its code and one line.
struct ProbeRun {
    int code;
    std::string error;
};

ProbeRun run_probe(const std::string& environment, const char* mode) {
    std::string stderr_path =
        ::testing::TempDir() + "/host_probe_stderr_" + std::to_string(getpid()) + ".txt";
    // A program that hangs fails the test instead of holding it.
    std::string command =
        environment + " timeout -k 2 20 " + HEADLESS_PROBE + " " + mode + " 2>" + stderr_path;
    int status = system(command.c_str());
    ProbeRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ""};
    FILE* file = fopen(stderr_path.c_str(), "r");
    char line[512];
    while (file && fgets(line, sizeof line, file))
        run.error += line;
    if (file)
        fclose(file);
    remove(stderr_path.c_str());
    return run;
}

TEST(HostProgram, EndsWithItsExitCodesAndOneLine) {
    std::string script = write_temp("host_probe_play.txt", "at 100 key A\n+50 key Q\n");
    ProbeRun ok = run_probe("ZANDREL_SCRIPT=" + script, "until-q");
    EXPECT_EQ(ok.code, 0) << ok.error;
    EXPECT_EQ(ok.error, "");

    ProbeRun stall = run_probe("ZANDREL_SCRIPT=" + script, "forever");
    EXPECT_EQ(stall.code, HEADLESS_EXIT_STALL);
    EXPECT_EQ(stall.error, "zandrel: the program waits for input and the script has none "
                           "left (virtual time 0.150 s)\n");

    ProbeRun limit = run_probe("ZANDREL_TIME_LIMIT=3", "ticking");
    EXPECT_EQ(limit.code, HEADLESS_EXIT_TIME_LIMIT);
    EXPECT_EQ(limit.error, "zandrel: the program ran past its time limit of 3.000 s of "
                           "virtual time (ZANDREL_TIME_LIMIT)\n");

    std::string bad = write_temp("host_probe_bad.txt", "at 0 key A\nat 1 click left 5\n");
    ProbeRun refused = run_probe("ZANDREL_SCRIPT=" + bad, "until-q");
    EXPECT_EQ(refused.code, HEADLESS_EXIT_BAD_SETTINGS);
    EXPECT_EQ(refused.error, "zandrel: " + bad + ":2: click needs both X and Y, or neither\n");

    // With no time limit, a program that never stops waking is ended as a
    // stall once the script is spent.
    ProbeRun spent = run_probe("ZANDREL_TIME_LIMIT=0 ZANDREL_SCRIPT=" + script, "ticking");
    EXPECT_EQ(spent.code, HEADLESS_EXIT_STALL);
    EXPECT_EQ(spent.error, "zandrel: the script has no input left and ZANDREL_TIME_LIMIT=0 sets "
                           "no time limit, so nothing would end the run (virtual time 0.150 s)\n");
    ProbeRun unscripted = run_probe("ZANDREL_TIME_LIMIT=0", "ticking");
    EXPECT_EQ(unscripted.code, HEADLESS_EXIT_STALL);

    ProbeRun bad_tick = run_probe("ZANDREL_TICK_START=soon", "until-q");
    EXPECT_EQ(bad_tick.code, HEADLESS_EXIT_BAD_SETTINGS);
    EXPECT_EQ(bad_tick.error.find("zandrel: ZANDREL_TICK_START: \"soon\""), 0u) << bad_tick.error;
    remove(script.c_str());
    remove(bad.c_str());
}

// Only a regular file of at most 1 MiB is read as a script; anything else
// is refused before main with one line, whatever its name holds.
TEST(HostProgram, RefusesScriptsThatAreNotRegularFilesOrTooLarge) {
    std::string own = "host_script_" + std::to_string(getpid()), dir = ::testing::TempDir();
    std::string padded = "at 0 key Q\n" + std::string((1 << 20) - 11, '#');
    std::string fits = write_temp((own + "fits").c_str(), padded.c_str());
    std::string large = write_temp((own + "large").c_str(), (padded + "#").c_str());
    std::string named = write_temp((own + "\nname").c_str(), "at 0 kye A\n");
    std::string fifo = dir + "/" + own + "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string CASES[][2] = {
        {fits, ""},
        {dir, "ZANDREL_SCRIPT: \"" + dir + "\" is not a regular file"},
        {"/dev/zero", "ZANDREL_SCRIPT: \"/dev/zero\" is not a regular file"},
        {fifo, "ZANDREL_SCRIPT: \"" + fifo + "\" is not a regular file"},
        {fifo + "-gone",
         "ZANDREL_SCRIPT: cannot read \"" + fifo + "-gone\": No such file or directory"},
        {large, "ZANDREL_SCRIPT: \"" + large +
                    "\" holds more than 1048576 bytes, the most a script may hold"},
        {named, dir + "/" + own + "\\x0aname:1: unknown command \"kye\""},
    };
    for (const auto& [path, error] : CASES) {
        ProbeRun run = run_probe("ZANDREL_SCRIPT='" + path + "'", "until-q");
        EXPECT_EQ(run.code, error.empty() ? 0 : HEADLESS_EXIT_BAD_SETTINGS) << path;
        EXPECT_EQ(run.error, error.empty() ? "" : "zandrel: " + error + "\n") << path;
    }
    for (const std::string& file : {fifo, fits, large, named})
        remove(file.c_str());
}

} // namespace
