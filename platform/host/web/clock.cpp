// The web host's clock: where the tick count starts on a page load, and
// the host clock at a reading of the page's monotonic clock.
#include "platform/host/web/web_host.h"

#include <math.h>

// A browser gives no uptime; the wall clock's milliseconds modulo 2^32 play
// its part, so that two loads start the tick count, and the random numbers
// seeded from it, apart.
uint64_t web_clock_start_us(double wall_clock_ms) {
    double ms = floor(wall_clock_ms > 0 ? wall_clock_ms : 0);
    return (uint64_t(ms) % (uint64_t(1) << 32)) * 1000;
}

uint64_t web_clock_at(const WebHost& host, double performance_ms) {
    double elapsed_ms = performance_ms - host.clock_origin_ms;
    return host.clock_start_us + uint64_t(elapsed_ms > 0 ? elapsed_ms * 1000.0 : 0.0);
}
