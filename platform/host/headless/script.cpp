// The input script: one timed command per line (see README.md here). The
// parser refuses the whole script at the first line it cannot read, so a
// typing mistake never turns into a run that quietly does something else.
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"
#include "platform/host/keys.h"

#include <ctype.h>
#include <string.h>

namespace {

// Times beyond this are surely mistakes, and keep microseconds far from overflow.
constexpr uint64_t MAX_SCRIPT_MS = 1'000'000'000;

struct Word {
    std::string text;
    bool quoted = false;
};

struct Parser {
    const char* name;
    int line = 0;
    uint64_t time_us = 0; // the time of the line being read
    uint64_t previous_us = 0;
    // The pointer as the lines so far left it; buttons without a position
    // press where it is. It starts in the middle of the screen.
    POINT pointer{HEADLESS_SCREEN_WIDTH / 2, HEADLESS_SCREEN_HEIGHT / 2};
    std::vector<ScriptStep>* steps;
    std::string* error;

    bool fail(const std::string& why) {
        *error = host_escape(name) + ":" + std::to_string(line) + ": " + why;
        return false;
    }
};

using Words = std::vector<Word>;

std::string quote(const std::string& text) {
    return headless_quote(text);
}

// Splits a line into words. A word in double quotes may hold spaces; a '#'
// outside quotes starts a comment, also right after a word.
bool split_words(const std::string& line, Words* words, std::string* why) {
    size_t i = 0;
    while (i < line.size()) {
        if (isspace((unsigned char)line[i])) {
            ++i;
        } else if (line[i] == '#') {
            break;
        } else if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string::npos) {
                *why = "missing closing quote";
                return false;
            }
            words->push_back({line.substr(i + 1, end - i - 1), true});
            i = end + 1;
        } else {
            size_t end = i;
            while (end < line.size() && !isspace((unsigned char)line[end]) && line[end] != '"' &&
                   line[end] != '#')
                ++end;
            words->push_back({line.substr(i, end - i), false});
            i = end;
        }
    }
    return true;
}

enum class Number { Ok, NotDigits, TooLarge };

// Decimal digits only; leading zeros are allowed however many there are.
Number read_whole_number(const std::string& text, uint64_t max, uint64_t* value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return Number::NotDigits;
    size_t first = text.find_first_not_of('0');
    if (first == std::string::npos)
        first = text.size();
    if (text.size() - first > 19) // more than any uint64_t limit used here
        return Number::TooLarge;
    uint64_t result = 0;
    for (size_t i = first; i < text.size(); ++i)
        result = result * 10 + uint64_t(text[i] - '0');
    if (result > max)
        return Number::TooLarge;
    *value = result;
    return Number::Ok;
}

// Reads "at MS" or "+MS" and removes it from the front of the words.
bool parse_time(Parser& p, Words* words) {
    const std::string& first = (*words)[0].text;
    std::string number;
    bool relative = false;
    size_t used = 1;
    if (first == "at" && !(*words)[0].quoted) {
        if (words->size() < 2)
            return p.fail("\"at\" needs a time in milliseconds");
        number = (*words)[1].text;
        used = 2;
    } else if (first.size() > 1 && first[0] == '+' && !(*words)[0].quoted) {
        number = first.substr(1);
        relative = true;
    } else {
        return p.fail("a line starts with its time, \"at MS\" or \"+MS\", not " + quote(first));
    }
    uint64_t ms = 0;
    Number read = read_whole_number(number, MAX_SCRIPT_MS, &ms);
    if (read == Number::TooLarge)
        return p.fail("time " + quote(number) + " is beyond " + std::to_string(MAX_SCRIPT_MS) +
                      " ms");
    if (read != Number::Ok)
        return p.fail("bad time " + quote(number) + ": milliseconds, a whole number up to " +
                      std::to_string(MAX_SCRIPT_MS));
    uint64_t at_us = relative ? p.previous_us + ms * 1000 : ms * 1000;
    if (at_us < p.previous_us)
        return p.fail("time goes back: at " + std::to_string(ms) +
                      " is before the line above (at " + std::to_string(p.previous_us / 1000) +
                      ")");
    if (at_us > MAX_SCRIPT_MS * 1000)
        return p.fail("time beyond " + std::to_string(MAX_SCRIPT_MS) + " ms");
    p.time_us = at_us;
    words->erase(words->begin(), words->begin() + long(used));
    return true;
}

bool parse_coordinate(Parser& p, const Word& word, const char* axis, int32_t size, LONG* out) {
    uint64_t value = 0;
    Number read = read_whole_number(word.text, uint64_t(size) - 1, &value);
    if (read == Number::NotDigits)
        return p.fail(std::string(axis) + " " + quote(word.text) + " is not a whole number");
    if (read == Number::TooLarge)
        return p.fail(std::string(axis) + " " + word.text + " is off the screen (0 to " +
                      std::to_string(size - 1) + ")");
    *out = LONG(value);
    return true;
}

bool parse_point(Parser& p, const Word& x, const Word& y, POINT* point) {
    return parse_coordinate(p, x, "X", HEADLESS_SCREEN_WIDTH, &point->x) &&
           parse_coordinate(p, y, "Y", HEADLESS_SCREEN_HEIGHT, &point->y);
}

bool parse_button(Parser& p, const Word& word, int* button) {
    static const struct {
        const char* name;
        HostButton button;
    } BUTTONS[] = {
        {"left", HOST_BUTTON_LEFT}, {"right", HOST_BUTTON_RIGHT}, {"middle", HOST_BUTTON_MIDDLE}};
    for (const auto& entry : BUTTONS) {
        if (word.text == entry.name) {
            *button = entry.button;
            return true;
        }
    }
    return p.fail("unknown button " + quote(word.text) + " (left, right or middle)");
}

// The names come from the hosts' one key table, so a script presses the
// keys a person can press on the other hosts, with the same virtual keys.
bool key_code(const std::string& name, UINT* key) {
    *key = host_key_by_name(name.c_str());
    return *key != 0;
}

void add_input(Parser& p, const HostEvent& event) {
    ScriptStep step;
    step.action = ScriptAction::Input;
    step.time_us = p.time_us;
    step.line = p.line;
    step.event = event;
    step.event.time_us = p.time_us;
    p.steps->push_back(step);
}

void add_move(Parser& p, POINT point) {
    HostEvent event{};
    event.type = HOST_MOUSE_MOVE;
    event.point = point;
    add_input(p, event);
    p.pointer = point;
}

void add_button(Parser& p, int button, bool down) {
    HostEvent event{};
    event.type = HOST_MOUSE_BUTTON;
    event.point = p.pointer;
    event.button = button;
    event.down = down;
    add_input(p, event);
}

void add_key(Parser& p, UINT key, bool down) {
    HostEvent event{};
    event.type = HOST_KEY;
    event.key = key;
    event.down = down;
    add_input(p, event);
}

void add_action(Parser& p, ScriptAction action, const std::string& title, const std::string& file) {
    ScriptStep step;
    step.action = action;
    step.time_us = p.time_us;
    step.line = p.line;
    step.title = title;
    step.file = file;
    p.steps->push_back(step);
}

bool expect_count(Parser& p, const std::string& command, const Words& args, size_t least,
                  size_t most, const char* needs) {
    if (args.size() < least)
        return p.fail(command + " needs " + needs);
    if (args.size() > most)
        return p.fail("unexpected " + quote(args[most].text) + " after " + command);
    return true;
}

bool run_move(Parser& p, const std::string& command, const Words& args) {
    POINT point;
    if (!expect_count(p, command, args, 2, 2, "X and Y") ||
        !parse_point(p, args[0], args[1], &point))
        return false;
    add_move(p, point);
    return true;
}

// down, up and click: a button, then the position or nothing. A position
// moves the pointer there first, as a hand would.
bool run_button(Parser& p, const std::string& command, const Words& args) {
    int button = 0;
    if (!expect_count(p, command, args, 1, 3, "a button (left, right or middle)") ||
        !parse_button(p, args[0], &button))
        return false;
    if (args.size() == 2)
        return p.fail(command + " needs both X and Y, or neither");
    if (args.size() == 3) {
        POINT point;
        if (!parse_point(p, args[1], args[2], &point))
            return false;
        if (point.x != p.pointer.x || point.y != p.pointer.y)
            add_move(p, point);
    }
    if (command != "up")
        add_button(p, button, true);
    if (command != "down")
        add_button(p, button, false);
    return true;
}

bool run_key(Parser& p, const std::string& command, const Words& args) {
    UINT key = 0;
    if (!expect_count(p, command, args, 1, 1, "a key name"))
        return false;
    if (!key_code(args[0].text, &key))
        return p.fail("unknown key name " + quote(args[0].text));
    if (command != "keyup")
        add_key(p, key, true);
    if (command != "keydown")
        add_key(p, key, false);
    return true;
}

bool check_title(Parser& p, const Word& word) {
    if (!word.quoted)
        return p.fail("window titles are written in double quotes: " + quote(word.text));
    return true;
}

// True when the name, read as a path below the capture folder, leaves it:
// from the root, or through a ".." part.
bool leaves_capture_folder(const std::string& file) {
    if (file[0] == '/')
        return true;
    size_t start = 0;
    while (start <= file.size()) {
        size_t end = file.find('/', start);
        if (end == std::string::npos)
            end = file.size();
        if (file.compare(start, end - start, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool check_png_name(Parser& p, const std::string& command, const Word& word) {
    const std::string& file = word.text;
    if (file.size() < 5 || strcasecmp(file.c_str() + file.size() - 4, ".png") != 0)
        return p.fail(command + " needs a file name ending in .png, not " + quote(file));
    if (leaves_capture_folder(file))
        return p.fail(command +
                      " writes only inside the capture folder "
                      "(ZANDREL_CAPTURE_DIR): " +
                      quote(file) + " leads out of it");
    return true;
}

bool run_close(Parser& p, const std::string& command, const Words& args) {
    if (!expect_count(p, command, args, 0, 1, ""))
        return false;
    if (!args.empty() && !check_title(p, args[0]))
        return false;
    add_action(p, ScriptAction::Close, args.empty() ? "" : args[0].text, "");
    return true;
}

bool run_capture(Parser& p, const std::string& command, const Words& args) {
    if (!expect_count(p, command, args, 1, 1, "a file name ending in .png") ||
        !check_png_name(p, command, args[0]))
        return false;
    add_action(p, ScriptAction::Capture, "", args[0].text);
    return true;
}

bool run_capture_window(Parser& p, const std::string& command, const Words& args) {
    if (!expect_count(p, command, args, 2, 2, "a window title in double quotes and a file name") ||
        !check_title(p, args[0]) || !check_png_name(p, command, args[1]))
        return false;
    add_action(p, ScriptAction::CaptureWindow, args[0].text, args[1].text);
    return true;
}

using CommandParser = bool (*)(Parser&, const std::string&, const Words&);

CommandParser find_command(const std::string& name) {
    static const struct {
        const char* name;
        CommandParser parse;
    } COMMANDS[] = {
        {"move", run_move},       {"down", run_button},
        {"up", run_button},       {"click", run_button},
        {"key", run_key},         {"keydown", run_key},
        {"keyup", run_key},       {"close", run_close},
        {"capture", run_capture}, {"capture-window", run_capture_window},
    };
    for (const auto& entry : COMMANDS) {
        if (name == entry.name)
            return entry.parse;
    }
    return nullptr;
}

bool parse_line(Parser& p, const std::string& line) {
    Words words;
    std::string why;
    if (!split_words(line, &words, &why))
        return p.fail(why);
    if (words.empty())
        return true;
    if (!parse_time(p, &words))
        return false;
    if (words.empty())
        return p.fail("a command must follow the time");
    CommandParser parse = words[0].quoted ? nullptr : find_command(words[0].text);
    if (!parse)
        return p.fail("unknown command " + quote(words[0].text));
    std::string command = words[0].text;
    words.erase(words.begin());
    if (!parse(p, command, words))
        return false;
    p.previous_us = p.time_us;
    return true;
}

} // namespace

bool headless_parse_script(const char* text, const char* name, std::vector<ScriptStep>* steps,
                           std::string* error) {
    Parser p{name, 0, 0, 0, {HEADLESS_SCREEN_WIDTH / 2, HEADLESS_SCREEN_HEIGHT / 2}, steps, error};
    steps->clear();
    const char* start = text;
    // A byte-order mark that an editor put before the first line is no word.
    if (strncmp(start, "\xEF\xBB\xBF", 3) == 0)
        start += 3;
    while (*start) {
        const char* end = strchr(start, '\n');
        size_t length = end ? size_t(end - start) : strlen(start);
        std::string line(start, length);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ++p.line;
        if (!parse_line(p, line)) {
            steps->clear();
            return false;
        }
        start += length + (end ? 1 : 0);
    }
    return true;
}

bool headless_load_script(const char* text, const char* name, std::string* error) {
    std::vector<ScriptStep> steps;
    if (!headless_parse_script(text, name, &steps, error))
        return false;
    HeadlessState& state = headless_state();
    state.script_name = host_escape(name);
    uint64_t start_us = headless_clock_us();
    for (ScriptStep& step : steps) {
        step.time_us += start_us;
        step.event.time_us = step.time_us;
        headless_queue_step(step);
    }
    return true;
}

std::string headless_quote(const std::string& text) {
    return host_quote(text);
}
