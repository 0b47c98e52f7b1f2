// A program that ends the way its argument names: "handler" from its
// window's handler when the script closes the window, "procedure" through
// endRuntimeProgram with an exit procedure that ends the program again, and
// anything else by returning from main with code 9. It writes a line for
// each exit procedure that runs, then one saying whether its private heap
// is gone, seen after the runtime's clean-up.
#include <zandrel/runtime.h>

#include <layer/kernel.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

HANDLE createdHeap = nullptr;
bool reported = false;
int32_t procedureEndCode = 0; // the code exit procedure 2 ends with; 0: it returns
WindowRecord window;

void reportHeap() {
    if (reported)
        return;
    reported = true;
    LayerHeapStats stats;
    bool gone = PrivateHeap == nullptr && !layer_heap_stats(createdHeap, &stats);
    printf("heap %s\n", gone ? "gone" : "left");
    fflush(stdout);
}

int32_t exitProcedure(int32_t number) {
    printf("exit procedure %d\n", number);
    if (number == 2 && procedureEndCode != 0)
        endRuntimeProgram(procedureEndCode);
    return 0;
}

int32_t endOnClose() {
    if (eventId == EVENT_CLOSE)
        endRuntimeProgram(7);
    return 0;
}

} // namespace

// Linked with --wrap=ExitProcess: the report comes after the clean-up and
// before the process goes.
extern "C" [[noreturn]] void __real_ExitProcess(UINT code);
extern "C" [[noreturn]] void __wrap_ExitProcess(UINT code) {
    reportHeap();
    __real_ExitProcess(code);
}

int main(int argc, char** argv) {
    // Registered before the runtime's own handler, so it runs after it.
    atexit(reportHeap);
    createPrivateHeap();
    createdHeap = PrivateHeap;
    registerExitProc(exitProcedure, 1);
    registerExitProc(exitProcedure, 2);
    const char* mode = argc > 1 ? argv[1] : "";
    if (strcmp(mode, "handler") == 0) {
        openWindow(&window, 0, 0, 200, 100, 0, nullptr, "End", endOnClose);
        for (;;)
            waitEvents(0);
    }
    if (strcmp(mode, "procedure") == 0) {
        procedureEndCode = 5;
        endRuntimeProgram(3);
    }
    return 9;
}
