// The headless host's input script parser. Whatever the text, the parser
// either refuses it with one line that names the script and a line of it,
// or gives steps in time order whose every field is within its range.
#include "fuzz/plain_line.h"
#include "platform/host/headless/headless.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& text) {
    fprintf(stderr, "script fuzz: %s\nscript:\n%s\n", what.c_str(), text.c_str());
    abort();
}

int countLines(const std::string& text) {
    int lines = 1;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

// "fuzz:LINE: why", with LINE a line of the script.
void checkRefusal(const std::string& error, const std::string& text) {
    if (error.empty() || !isPlainLine(error))
        fail("a refusal must be one line of plain text: \"" + error + "\"", text);
    if (error.rfind("fuzz:", 0) != 0)
        fail("a refusal must name the script: \"" + error + "\"", text);
    int line = atoi(error.c_str() + 5);
    if (line < 1 || line > countLines(text))
        fail("a refusal names no line of the script: \"" + error + "\"", text);
}

void checkInput(const ScriptStep& step, const std::string& text) {
    const HostEvent& event = step.event;
    bool pointer = event.type == HOST_MOUSE_MOVE || event.type == HOST_MOUSE_BUTTON;
    if (pointer && (event.point.x < 0 || event.point.x >= HEADLESS_SCREEN_WIDTH ||
                    event.point.y < 0 || event.point.y >= HEADLESS_SCREEN_HEIGHT))
        fail("a pointer position off the screen", text);
    if (event.type == HOST_MOUSE_BUTTON && (event.button < 0 || event.button > 2))
        fail("an unknown button", text);
    if (event.type == HOST_KEY && (event.key == 0 || event.key > 255))
        fail("a key that is no virtual-key code", text);
    if (!pointer && event.type != HOST_KEY)
        fail("an input step that is neither pointer nor key", text);
}

void checkSteps(const std::vector<ScriptStep>& steps, const std::string& text) {
    uint64_t time = 0;
    int line = 0;
    for (const ScriptStep& step : steps) {
        if (step.time_us < time || step.line < line)
            fail("steps out of order", text);
        if (step.line < 1 || step.line > countLines(text))
            fail("a step from no line of the script", text);
        if (step.action == ScriptAction::Input)
            checkInput(step, text);
        if ((step.action == ScriptAction::Capture || step.action == ScriptAction::CaptureWindow) &&
            step.file.empty())
            fail("a capture without a file name", text);
        time = step.time_us;
        line = step.line;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The parser reads a C string: the text ends at the first zero byte.
    std::string text((const char*)data, size);
    text = text.c_str();
    std::vector<ScriptStep> steps;
    std::string error;
    if (headless_parse_script(text.c_str(), "fuzz", &steps, &error)) {
        if (!error.empty())
            fail("a script both taken and refused: " + error, text);
        checkSteps(steps, text);
    } else {
        checkRefusal(error, text);
    }
    return 0;
}
