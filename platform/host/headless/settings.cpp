// The settings a program over the headless host takes from its environment.
// Each is checked before main runs; a wrong one stops the program with one
// line that names the setting, or the script's file and line.
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"

#include <algorithm>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string quote(const std::string& text) {
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

// Scripts are written a line per input, by hand or by a tool: a megabyte
// holds tens of thousands of lines, more than any run needs. The bound keeps
// a mistaken path (a log, a picture) from being read whole.
constexpr off_t MAX_SCRIPT_BYTES = 1 << 20;

std::string not_regular(const std::string& path) {
    return "ZANDREL_SCRIPT: " + quote(path) + " is not a regular file";
}

// Only a regular file is read: a folder holds no text, a device such as
// /dev/zero never ends, and a FIFO would hold the program before main until
// someone writes to it. A path that does not exist passes here and is
// refused, with the system's reason, when the script is read.
std::string read_script_path(const char* text, HeadlessSettings* settings) {
    struct stat info;
    if (!*text || (stat(text, &info) == 0 && !S_ISREG(info.st_mode)))
        return not_regular(text);
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

std::string cannot_read(const std::string& path, int error) {
    return "ZANDREL_SCRIPT: cannot read " + quote(path) + ": " + strerror(error);
}

std::string too_large(const std::string& path) {
    return "ZANDREL_SCRIPT: " + quote(path) + " holds more than " +
           std::to_string(MAX_SCRIPT_BYTES) + " bytes, the most a script may hold";
}

// What the descriptor reads, if it is a regular file of the allowed size;
// the size is checked again as it is read, for a file that grows meanwhile.
std::string read_regular(int fd, const std::string& path, std::string* text) {
    struct stat info;
    if (fstat(fd, &info) != 0)
        return cannot_read(path, errno);
    if (!S_ISREG(info.st_mode))
        return not_regular(path);
    if (info.st_size > MAX_SCRIPT_BYTES)
        return too_large(path);
    char buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return cannot_read(path, errno);
        if (got == 0)
            return "";
        if (text->size() + size_t(got) > size_t(MAX_SCRIPT_BYTES))
            return too_large(path);
        text->append(buffer, size_t(got));
    }
}

// Opened without blocking, so that a FIFO put in the file's place since its
// path was checked cannot hold the program either, and checked again.
std::string read_script(const std::string& path, std::string* text) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return cannot_read(path, errno);
    std::string error = read_regular(fd, path, text);
    close(fd);
    return error;
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
    if (std::string error = read_script(settings.script_path, &text); !error.empty())
        return error;
    if (size_t nul = text.find('\0'); nul != std::string::npos)
        return host_escape(settings.script_path) + ":" +
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
