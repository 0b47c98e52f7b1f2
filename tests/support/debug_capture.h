// Reads what the program under test wrote with OutputDebugStringA: from the
// layer's debug channel, or on Windows from the debug-print exceptions that
// the call raises, caught by a vectored handler.
#pragma once

#include <string>

void debug_capture_clear();
std::string debug_capture_text();
