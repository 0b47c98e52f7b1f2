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

// The virtual screen has a fixed size, with a task bar's rows kept free at
// the bottom, so that windows centred on the work area land in the same
// place on every run. It lives beside the clock, which every program over
// this host pulls in, so that a link finds it however its libraries are
// ordered.
void host_screen(RECT* screen, RECT* work_area) {
    if (screen)
        *screen = {0, 0, HEADLESS_SCREEN_WIDTH, HEADLESS_SCREEN_HEIGHT};
    if (work_area)
        *work_area = desktop_work_area({0, 0, HEADLESS_SCREEN_WIDTH, HEADLESS_SCREEN_HEIGHT});
}
