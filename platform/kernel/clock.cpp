#include "platform/kernel/clock.h"
#include "platform/host/host.h"

// The count wraps to 0 after 2^32 ms, as Windows' does after 49.7 days.
DWORD WINAPI GetTickCount(void) {
    return (DWORD)clock_milliseconds_at(host_clock_us());
}
