// Input from the page as host events, and the waits. The page hands each
// input to web_host_input as it happens; a wait returns to the browser's
// event loop until input or the deadline comes, so an idle page uses no
// processor time.
#include "platform/host/web/page_calls.h"
#include "platform/host/web/web_host.h"

#include <emscripten.h>

namespace {

// Milliseconds the page waits for a deadline; a negative number waits for
// input alone.
double timeout_ms(uint64_t deadline_us) {
    if (deadline_us == UINT64_MAX)
        return -1;
    uint64_t now = host_clock_us();
    return deadline_us <= now ? 0 : double(deadline_us - now) / 1000.0;
}

} // namespace

// Called by the page for every input, between the program's waits.
// `made_up` marks input the page made up, such as the releases of what was
// held when the page lost the focus.
extern "C" EMSCRIPTEN_KEEPALIVE void web_host_input(int type, int x, int y, int button, int down,
                                                    int key, int made_up) {
    WebHost& host = web_host();
    HostEvent event{};
    event.type = HostEventType(type);
    event.time_us = host_clock_us();
    event.point = {LONG(x), LONG(y)};
    event.button = button;
    event.down = down != 0;
    event.key = UINT(key);
    event.made_up = made_up != 0;
    host.pending.push_back(event);
}

bool host_next_event(HostEvent* event) {
    WebHost& host = web_host();
    if (host.pending.empty())
        return false;
    *event = host.pending.front();
    host.pending.pop_front();
    return true;
}

// What the layer presented before it waits goes to the canvas first; the
// browser shows it once the program has returned to the event loop.
void host_wait(uint64_t deadline_us) {
    WebHost& host = web_host();
    web_present_damage();
    while (host.pending.empty() && host_clock_us() < deadline_us)
        web_page_wait(timeout_ms(deadline_us));
}

// Time passes whatever comes meanwhile; input waits for the layer.
void host_sleep(uint64_t deadline_us) {
    web_host();
    web_present_damage();
    while (host_clock_us() < deadline_us)
        web_page_wait(timeout_ms(deadline_us));
}

// The page's clock moves while the program polls.
void host_poll_empty(void) {}
