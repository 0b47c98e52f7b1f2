// The seam between the layer and the machine it runs on. Exactly one host is
// linked into each program: headless for tests, benchmarks and screenshots,
// or SDL for people. Everything above this seam is ordinary code.
#pragma once

#include <stdint.h>

// A monotonic clock in microseconds since an arbitrary origin of the host's.
// The kernel turns it into the 64 Hz system tick and the tick count.
uint64_t host_clock_us(void);
