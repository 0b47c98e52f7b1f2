// The wait for events, and window timers.
#pragma once

#include "runtime/window/window_record.h"

#include <windows.h>

#include <stdint.h>

// One pass of the event loop: unless `noWait` is nonzero, blocks until a new
// message arrives; then hands every queued message to its window. Returns 0.
int32_t waitEvents(int32_t noWait);

// Starts timer `timerId` on the record's window, firing every `interval`
// milliseconds (WM_TIMER, event 275, when `routine` is null). Note the
// argument order: interval before id. Nothing for a closed record.
int32_t startTimer(WindowRecord* record, int32_t interval, int32_t timerId, TIMERPROC routine);
