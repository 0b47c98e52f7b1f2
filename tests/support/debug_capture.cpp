#include "tests/support/debug_capture.h"

#include <windows.h>

#ifdef _WIN32

namespace {

// OutputDebugStringA raises DBG_PRINTEXCEPTION_C with the text's length and
// address; a vectored handler sees it before the call's own handler eats it.
constexpr DWORD DEBUG_PRINT_EXCEPTION = 0x40010006;
std::string g_captured;

LONG CALLBACK capture_debug_print(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == DEBUG_PRINT_EXCEPTION && record->NumberParameters >= 2) {
        size_t length = (size_t)record->ExceptionInformation[0];
        const char* text = (const char*)record->ExceptionInformation[1];
        if (length > 0 && text[length - 1] == '\0')
            --length;
        g_captured.append(text, length);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

void install() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        AddVectoredExceptionHandler(1, capture_debug_print);
    }
}

} // namespace

void debug_capture_clear() {
    install();
    g_captured.clear();
}

std::string debug_capture_text() {
    return g_captured;
}

#else

#include <layer/kernel.h>

void debug_capture_clear() {
    layer_debug_clear();
}
std::string debug_capture_text() {
    return layer_debug_text();
}

#endif
