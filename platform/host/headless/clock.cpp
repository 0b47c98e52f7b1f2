#include "platform/kernel/clock.h"
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"
#include "platform/host/host.h"

namespace {

// Virtual time only moves when a test or the host's own wait moves it.
uint64_t g_virtual_us = 0;

} // namespace

uint64_t host_clock_us(void) {
    return g_virtual_us;
}
uint64_t headless_clock_us(void) {
    return g_virtual_us;
}
void headless_set_clock_us(uint64_t now_us) {
    g_virtual_us = now_us;
    headless_state().run_start_us = now_us;
}
void headless_advance_clock_us(uint64_t delta_us) {
    g_virtual_us += delta_us;
}

// The first system tick whose count reads at least tick_count; near the top
// of the 32-bit range that tick reads past the wrap, as 0 or so, so the
// clock starts on the last tick at or below it instead.
void headless_set_tick_count(DWORD tick_count) {
    uint64_t at_us = clock_first_tick_at_or_after_ms(tick_count);
    if (clock_milliseconds_at(at_us) > 0xFFFFFFFFu)
        at_us = uint64_t(tick_count) * 1000 / SYSTEM_TICK_US * SYSTEM_TICK_US;
    headless_set_clock_us(at_us);
}
