// The headless host's settings. The input says for each variable whether it
// is set and, if it is, its value; the tick start and the time limit are
// checked against a model of their grammar, and every refusal is one line
// naming the variable.
#include "fuzz/plain_line.h"
#include "platform/host/headless/headless.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <optional>
#include <string>

namespace {

const char* const NAMES[] = {"ZANDREL_SCRIPT", "ZANDREL_TICK_START", "ZANDREL_CAPTURE_DIR",
                             "ZANDREL_TIME_LIMIT"};
constexpr int VARIABLES = 4;
constexpr size_t MAX_VALUE = 256;

std::optional<std::string> g_values[VARIABLES];

const char* lookup(const char* name) {
    for (int i = 0; i < VARIABLES; ++i)
        if (std::string(name) == NAMES[i])
            return g_values[i] ? g_values[i]->c_str() : nullptr;
    return nullptr;
}

[[noreturn]] void fail(const std::string& what) {
    fprintf(stderr, "settings fuzz: %s\n", what.c_str());
    for (int i = 0; i < VARIABLES; ++i)
        fprintf(stderr, "  %s=%s\n", NAMES[i], g_values[i] ? g_values[i]->c_str() : "(unset)");
    abort();
}

bool allDigits(const std::string& text, bool hex) {
    if (text.empty())
        return false;
    for (char c : text)
        if (!(c >= '0' && c <= '9') && !(hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))))
            return false;
    return true;
}

// A whole number in the base given, or nothing past `max`.
std::optional<uint64_t> number(const std::string& digits, int base, uint64_t max) {
    uint64_t value = 0;
    for (char c : digits) {
        uint64_t digit = c <= '9' ? (uint64_t)(c - '0') : (uint64_t)((c | 0x20) - 'a' + 10);
        value = value * base + digit;
        if (value > max)
            return std::nullopt;
    }
    return value;
}

// Decimal, or "0x" and hexadecimal digits; at most 4294967295.
std::optional<uint64_t> tickModel(const std::string& text) {
    bool hex = text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::string digits = hex ? text.substr(2) : text;
    if (!allDigits(digits, hex))
        return std::nullopt;
    return number(digits, hex ? 16 : 10, 0xFFFFFFFFu);
}

// Decimal seconds up to 100,000,000 with at most six decimals, in µs.
std::optional<uint64_t> secondsModel(const std::string& text) {
    size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    if (!allDigits(whole, false) || (point != std::string::npos && !allDigits(fraction, false)) ||
        fraction.size() > 6)
        return std::nullopt;
    std::optional<uint64_t> seconds = number(whole, 10, 100'000'000);
    if (!seconds)
        return std::nullopt;
    fraction.resize(6, '0');
    return *seconds * 1'000'000 + *number(fraction, 10, 999'999);
}

void checkRefusal(const std::string& error) {
    if (!isPlainLine(error))
        fail("a refusal must be one line of plain text: " + error);
    for (const char* name : NAMES)
        if (error.rfind(name, 0) == 0)
            return;
    fail("a refusal must name its variable: " + error);
}

void checkTaken(const HeadlessSettings& settings) {
    const std::optional<std::string>& tick = g_values[1];
    if (tick && (!tickModel(*tick) || settings.tick_start != *tickModel(*tick)))
        fail("tick start taken as " + std::to_string(settings.tick_start));
    if (settings.has_tick_start != tick.has_value())
        fail("tick start given and not taken, or the other way round");
    const std::optional<std::string>& limit = g_values[3];
    if (limit && (!secondsModel(*limit) || settings.time_limit_us != *secondsModel(*limit)))
        fail("time limit taken as " + std::to_string(settings.time_limit_us) + " us");
    if (g_values[2] && settings.capture_dir != *g_values[2])
        fail("capture folder taken as " + settings.capture_dir);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // A value ends at its first zero byte, as the environment's would.
    for (int i = 0; i < VARIABLES; ++i) {
        g_values[i] = std::nullopt;
        if (input.ConsumeBool())
            g_values[i] = std::string(input.ConsumeRandomLengthString(MAX_VALUE).c_str());
    }
    HeadlessSettings settings;
    std::string error = headless_read_settings(lookup, &settings);
    if (error.empty())
        checkTaken(settings);
    else
        checkRefusal(error);
    // A refused tick start or limit is refused for a reason the model shares.
    if (!error.empty() && error.rfind("ZANDREL_TICK_START", 0) == 0 && tickModel(*g_values[1]))
        fail("a valid tick start refused: " + error);
    if (!error.empty() && error.rfind("ZANDREL_TIME_LIMIT", 0) == 0 && secondsModel(*g_values[3]))
        fail("a valid time limit refused: " + error);
    return 0;
}
