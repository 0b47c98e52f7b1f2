#include "runtime/core/program_end.h"

#include "runtime/core/heap.h"

#include <windows.h>

#include <stdlib.h>

namespace {

bool atExitRegistered = false;

// destroyPrivateHeap runs the exit procedures and releases the heap; once
// both are gone it does nothing, so after endRuntimeProgram this finds
// nothing left to do, should the process still run it.
void cleanUpAtExit() {
    destroyPrivateHeap();
}

} // namespace

// The program ends from wherever it is, often deep inside a window
// procedure that USER32 called from a message loop. Unwinding to main, by
// longjmp or a C++ exception, would cross those system frames, which
// Windows does not allow (and the layer's message loop would be left half
// way). Instead the clean-up runs right here and ExitProcess ends the
// process without returning and without unwinding.
void endRuntimeProgram(int32_t exitCode) {
    destroyPrivateHeap();
    ExitProcess((UINT)exitCode);
}

void endRuntimeProgramAtExit() {
    if (atExitRegistered)
        return;
    atExitRegistered = atexit(cleanUpAtExit) == 0;
}
