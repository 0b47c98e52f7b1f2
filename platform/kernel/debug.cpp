#include <layer/kernel.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

// The debug channel: what a debugger would show. Kept in memory for tests,
// and echoed on standard error when ZANDREL_DEBUG is set to anything but "0".
std::string g_debug_text;
int g_echo = -1; // -1 until the environment has been read

bool echo_enabled() {
    if (g_echo < 0) {
        const char* setting = getenv("ZANDREL_DEBUG");
        g_echo = setting != nullptr && *setting != '\0' && strcmp(setting, "0") != 0;
    }
    return g_echo == 1;
}

} // namespace

void WINAPI OutputDebugStringA(LPCSTR text) {
    if (text == nullptr)
        return;
    g_debug_text.append(text);
    if (g_debug_text.size() > LAYER_DEBUG_CAPACITY)
        g_debug_text.erase(0, g_debug_text.size() - LAYER_DEBUG_CAPACITY);
    if (echo_enabled()) {
        fputs(text, stderr);
        fflush(stderr);
    }
}

const char* layer_debug_text(void) {
    return g_debug_text.c_str();
}
void layer_debug_clear(void) {
    g_debug_text.clear();
}
