// The headless host: a virtual machine for tests, benchmarks and screenshots.
// Its clock moves only when told to, so every run is identical.
#pragma once

#include <stdint.h>
#include <windows.h>

// The virtual clock, in microseconds. It starts at 0.
uint64_t headless_clock_us(void);
void headless_set_clock_us(uint64_t now_us);
void headless_advance_clock_us(uint64_t delta_us);

// Moves the virtual clock to the first system tick at which GetTickCount()
// reads at least tick_count (counting from 0, before any wrap), so that a
// test can start the tick count anywhere, just below the wrap included.
void headless_set_tick_count(DWORD tick_count);
