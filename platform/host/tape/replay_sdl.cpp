// The SDL host's part of a replay: in a real window, at the pace the run
// was recorded at, for watching. The person's input is taken from the host
// and dropped (the tape's is played), but for a close request, which ends
// the replay.
#include "platform/host/tape/record.h"
#include "platform/host/tape/replay.h"
#include "platform/host/tape/seam.h"

#include <stdio.h>

extern "C" const char* tape_host_name(void) {
    return "sdl";
}

namespace {

uint64_t g_real_origin_us = 0;
uint64_t g_tape_origin_us = 0;

void drop_input(void) {
    HostEvent event;
    while (real_host_next_event(&event)) {
        if (event.type == HOST_CLOSE) {
            fprintf(stderr, "zandrel: the replay was closed before its end\n");
            fflush(NULL);
            _Exit(0);
        }
    }
}

} // namespace

void tape_replay_clock(uint64_t tape_us, bool first) {
    if (first) {
        g_real_origin_us = real_host_clock_us();
        g_tape_origin_us = tape_us;
    }
    uint64_t due_us = g_real_origin_us + (tape_us - g_tape_origin_us);
    if (real_host_clock_us() < due_us)
        real_host_sleep(due_us);
    drop_input();
}

// Watching needs no picture.
void tape_replay_end_picture(const Image&) {}
