// An optional record of when input arrived and when pixels went to the
// screen, for measuring frame periods and input latency from outside:
// ZANDREL_HOST_TRACE names a file that gets one line per event,
// "<what> <nanoseconds>", on the system's monotonic clock so that other
// processes can compare their own times with it.
#include "sdl_host.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

FILE* trace_file() {
    static FILE* file = [] {
        const char* path = getenv("ZANDREL_HOST_TRACE");
        return path != nullptr && *path != '\0' ? fopen(path, "w") : nullptr;
    }();
    return file;
}

} // namespace

void sdl_trace(const char* what) {
    FILE* file = trace_file();
    if (file == nullptr)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    fprintf(file, "%s %lld\n", what, (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    fflush(file);
}
