// Window timers.
#include "runtime/events/wait.h"

int32_t startTimer(WindowRecord* record, int32_t interval, int32_t timerId, TIMERPROC routine) {
    if (record->hwnd)
        SetTimer(record->hwnd, (UINT_PTR)timerId, (UINT)interval, routine);
    return 0;
}
