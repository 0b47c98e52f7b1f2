// A tiny program over the headless host, run by the settings test to see
// how the host ends a real process. Its first argument says how it waits:
//   until-q  handles input until the key Q comes up, then ends with 0
//   forever  the same, but never stops: ends when the script runs out
//   ticking  wakes every 100 ms of virtual time without end, ignoring input
#include "platform/host/headless/headless.h"

#include <string.h>

namespace {

bool q_released() {
    HostEvent event;
    bool released = false;
    while (host_next_event(&event))
        released |= event.type == HOST_KEY && event.key == 'Q' && !event.down;
    return released;
}

} // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (strcmp(mode, "ticking") == 0) {
        for (;;) {
            host_wait(host_clock_us() + 100'000);
            q_released(); // takes the input, as a program does, and ignores it
        }
    }
    for (;;) {
        host_wait(UINT64_MAX);
        if (q_released() && strcmp(mode, "until-q") == 0)
            return 0;
    }
}
