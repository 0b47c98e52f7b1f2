// The settings a program over the headless host takes from its environment.
// Each is checked before main runs; a wrong one stops the program with one
// line that names the setting, or the script's file and line.
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"

#include <algorithm>
#include <errno.h>
#include <fstream>
#include <sstream>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

namespace {

std::string quote(const char* text) {
    return headless_quote(text);
}

int digit_value(char c, int base) {
    int value = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : 99;
    return value < base ? value : -1;
}

// Decimal, or hexadecimal after "0x"; whole numbers up to max only.
bool parse_unsigned(const char* text, uint64_t max, uint64_t* value) {
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (!*text)
        return false;
    uint64_t result = 0;
    for (; *text; ++text) {
        int digit = digit_value(*text, base);
        if (digit < 0 || result > (max - uint64_t(digit)) / uint64_t(base))
            return false;
        result = result * uint64_t(base) + uint64_t(digit);
    }
    *value = result;
    return true;
}

// Seconds with up to six decimals, as microseconds.
bool parse_seconds(const char* text, uint64_t* us) {
    const char* point = strchr(text, '.');
    std::string whole = point ? std::string(text, point) : std::string(text);
    std::string fraction = point ? std::string(point + 1) : std::string();
    uint64_t seconds = 0;
    uint64_t part = 0;
    if (whole.empty() || fraction.size() > 6 || (point && fraction.empty()) ||
        whole.find_first_of("xX") != std::string::npos ||
        !parse_unsigned(whole.c_str(), 100'000'000, &seconds) ||
        (!fraction.empty() && (fraction.find_first_of("xX") != std::string::npos ||
                               !parse_unsigned(fraction.c_str(), 999'999, &part))))
        return false;
    for (size_t i = fraction.size(); i < 6; ++i)
        part *= 10;
    *us = seconds * 1'000'000 + part;
    return true;
}

std::string read_tick_start(const char* text, HeadlessSettings* settings) {
    uint64_t value = 0;
    if (!parse_unsigned(text, 0xFFFFFFFFu, &value))
        return "ZANDREL_TICK_START: " + quote(text) +
               " is not a tick count (a whole number up to 4294967295, decimal or 0x hex)";
    settings->has_tick_start = true;
    settings->tick_start = DWORD(value);
    return "";
}

// A path that does not exist passes here and is refused, with the system's
// reason, when the script is read.
std::string read_script_path(const char* text, HeadlessSettings* settings) {
    struct stat info;
    if (!*text || (stat(text, &info) == 0 && S_ISDIR(info.st_mode)))
        return "ZANDREL_SCRIPT: " + quote(text) + " is not a file";
    settings->script_path = text;
    return "";
}

std::string read_capture_dir(const char* text, HeadlessSettings* settings) {
    struct stat info;
    if (stat(text, &info) != 0 || !S_ISDIR(info.st_mode))
        return "ZANDREL_CAPTURE_DIR: " + quote(text) + " is not a folder";
    settings->capture_dir = text;
    return "";
}

std::string read_time_limit(const char* text, HeadlessSettings* settings) {
    if (!parse_seconds(text, &settings->time_limit_us))
        return "ZANDREL_TIME_LIMIT: " + quote(text) +
               " is not a number of seconds (such as 600 or 2.5; 0 for no limit)";
    return "";
}

bool read_file(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream contents;
    contents << file.rdbuf();
    *text = contents.str();
    return !file.bad();
}

const char* read_environment(const char* name) {
    return getenv(name);
}

} // namespace

std::string headless_read_settings(const char* (*lookup)(const char* name),
                                   HeadlessSettings* settings) {
    *settings = HeadlessSettings();
    std::string error;
    if (const char* text = lookup("ZANDREL_SCRIPT"))
        error = read_script_path(text, settings);
    if (const char* text = lookup("ZANDREL_TICK_START"); text && error.empty())
        error = read_tick_start(text, settings);
    if (const char* text = lookup("ZANDREL_CAPTURE_DIR"); text && error.empty())
        error = read_capture_dir(text, settings);
    if (const char* text = lookup("ZANDREL_TIME_LIMIT"); text && error.empty())
        error = read_time_limit(text, settings);
    return error;
}

std::string headless_apply_settings(const HeadlessSettings& settings) {
    if (settings.has_tick_start)
        headless_set_tick_count(settings.tick_start);
    headless_set_capture_dir(settings.capture_dir.c_str());
    headless_set_time_limit_us(settings.time_limit_us);
    headless_state().end_when_input_spent = settings.time_limit_us == 0;
    if (settings.script_path.empty())
        return "";
    std::string text;
    if (!read_file(settings.script_path, &text))
        return "ZANDREL_SCRIPT: cannot read " + quote(settings.script_path.c_str()) + ": " +
               strerror(errno);
    if (size_t nul = text.find('\0'); nul != std::string::npos)
        return settings.script_path + ":" +
               std::to_string(1 + std::count(text.begin(), text.begin() + long(nul), '\n')) +
               ": a NUL byte: the script must be plain text";
    std::string error;
    headless_load_script(text.c_str(), settings.script_path.c_str(), &error);
    return error;
}

// The settings and the script are checked before main runs, so that a
// program with a malformed script is refused before it has opened a window
// or drawn anything, whatever it does first. Nothing calls this; the host's
// build file names it to the linker, which would otherwise leave this file
// out of programs that call nothing else in it.
extern "C" __attribute__((constructor)) void headless_settings_before_main(void) {
    HeadlessSettings settings;
    std::string error = headless_read_settings(read_environment, &settings);
    if (error.empty())
        error = headless_apply_settings(settings);
    if (error.empty())
        return;
    fprintf(stderr, "zandrel: %s\n", error.c_str());
    fflush(NULL);
    _Exit(HEADLESS_EXIT_BAD_SETTINGS);
}
