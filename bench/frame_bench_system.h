// What the system counts for the whole process: its peak resident memory
// and the processor time it has used, which, unlike the time on the clock,
// does not grow when other programs share the machine.
#pragma once

#include <stdint.h>

// Bytes: the high-water mark of the working set on Windows, the maximum
// resident set size elsewhere.
uint64_t peakResidentBytes();

// Seconds of processor time, user and system together, since the start.
double processorSeconds();
