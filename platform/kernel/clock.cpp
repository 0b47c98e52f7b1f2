#include "platform/kernel/clock.h"
#include "platform/host/host.h"

// The count wraps to 0 after 2^32 ms, as Windows' does after 49.7 days.
DWORD WINAPI GetTickCount(void) {
    return (DWORD)clock_milliseconds_at(host_clock_us());
}

// The thread does nothing for the time given; input waits meanwhile.
void WINAPI Sleep(DWORD milliseconds) {
    host_sleep(host_clock_us() + (uint64_t)milliseconds * 1000);
}
