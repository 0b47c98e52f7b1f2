// The peak resident memory of the whole process so far, in bytes, as the
// system counts it: the high-water mark of the working set on Windows, the
// maximum resident set size elsewhere.
#pragma once

#include <stdint.h>

uint64_t peakResidentBytes();
