// The system tick: Windows' default timer interrupt runs at 64 Hz, so the
// tick count advances in steps of 15.625 ms (15 or 16 whole milliseconds) and
// timers fire on those steps. The user part's timers use the same clock.
#pragma once

#include <stdint.h>
#include <windows.h>

constexpr uint64_t SYSTEM_TICK_US = 15625;

// The tick count at host time now_us, before wrapping to 32 bits.
inline uint64_t clock_milliseconds_at(uint64_t now_us) {
    return (now_us / SYSTEM_TICK_US) * SYSTEM_TICK_US / 1000;
}

// The host time of the first system tick whose count reads at least ms.
inline uint64_t clock_first_tick_at_or_after_ms(uint64_t ms) {
    uint64_t ticks = (ms * 1000 + SYSTEM_TICK_US - 1) / SYSTEM_TICK_US;
    return ticks * SYSTEM_TICK_US;
}
