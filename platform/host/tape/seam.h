// The host seam as the program calls it, with a tape in between. The link
// of every program over a host wraps the seam's functions (CMakeLists.txt
// here): the program's calls land in seam.cpp, which hands them to the
// host's own functions, named below, and to the tape side, when one is on.
#pragma once

#include "platform/host/host.h"

#include <stdint.h>
#include <type_traits>

// How the C++ names below spell uint64_t: "m" (unsigned long) where long
// has 64 bits (64-bit Linux), "y" (unsigned long long) where it has 32
// (WebAssembly). CMakeLists.txt here chooses the linker's spelling likewise.
#if __SIZEOF_LONG__ == 8
#define TAPE_U64 "m"
using TapeLinkU64 = unsigned long;
#else
#define TAPE_U64 "y"
using TapeLinkU64 = unsigned long long;
#endif
static_assert(std::is_same_v<uint64_t, TapeLinkU64>, "the seam's link names spell uint64_t wrong");

// The host's own functions, under the names the linker gives them when
// the seam is wrapped (the C++ names of host.h's functions).
uint64_t real_host_clock_us(void) asm("__real__Z13host_clock_usv");
void real_host_screen(RECT* screen, RECT* work_area) asm("__real__Z11host_screenP7tagRECTS0_");
bool real_host_next_event(HostEvent* event) asm("__real__Z15host_next_eventP9HostEvent");
void real_host_wait(uint64_t deadline_us) asm("__real__Z9host_wait" TAPE_U64);
void real_host_sleep(uint64_t deadline_us) asm("__real__Z10host_sleep" TAPE_U64);
bool real_host_shows_task_bar(void) asm("__real__Z19host_shows_task_barv");
void real_host_poll_empty(void) asm("__real__Z15host_poll_emptyv");

// What records or plays the reads. The recorder asks the host and notes the
// answer; the replay answers from the tape. Only calls the program makes
// reach it: the host's calls to its own seam functions go straight through.
class TapeSide {
  public:
    virtual ~TapeSide() = default;
    virtual uint64_t clock_us() = 0;
    virtual bool next_event(HostEvent* event) = 0;
    virtual void screen(RECT* screen, RECT* work_area) = 0;
    virtual bool shows_task_bar() = 0;
    virtual void wait(uint64_t deadline_us) = 0;
    virtual void sleep(uint64_t deadline_us) = 0;
    // The program polled for input many times and found none (a busy wait).
    virtual void poll_empty() = 0;
    // The program ends with exit code `code`, or TAPE_CODE_UNKNOWN when it
    // returned from main; the side may end the process itself.
    virtual void end(int64_t code) = 0;
};

// Puts a side between the program and the host (null: none). Set before
// main, by the recorder or the replay.
void tape_set_side(TapeSide* side);

constexpr int64_t TAPE_CODE_UNKNOWN = -1;
// Tells the side, once, that the program ends; ExitProcess's _exit calls it,
// and an atexit handler for a program that returns from main.
void tape_end(int64_t code);
