// The values the page's script needs from this side, handed to it once at
// start-up so that they are written in one place only: the host's event
// kinds and buttons (host.h) and the browser's key codes (keys.h).
#include "platform/host/keys.h"
#include "platform/host/web/web_host.h"

#include <stdio.h>

namespace {

void append_number(std::string* out, const char* name, long value) {
    char text[64];
    snprintf(text, sizeof text, "\"%s\":%ld,", name, value);
    out->append(text);
}

// Browser codes are plain ASCII names ("Numpad7"), with nothing to escape.
void append_keys(std::string* out) {
    out->append("\"KEYS\":{");
    bool first = true;
    for (const HostKey& key : host_keys()) {
        if (!key.browser)
            continue;
        if (!first)
            out->push_back(',');
        first = false;
        char text[64];
        snprintf(text, sizeof text, "\"%s\":%u", key.browser, key.virtual_key);
        out->append(text);
    }
    out->push_back('}');
}

} // namespace

std::string web_page_constants_json(void) {
    std::string out = "{";
    append_number(&out, "HOST_MOUSE_MOVE", HOST_MOUSE_MOVE);
    append_number(&out, "HOST_MOUSE_BUTTON", HOST_MOUSE_BUTTON);
    append_number(&out, "HOST_KEY", HOST_KEY);
    // Indexed by the browser's button numbers: 0 left, 1 middle, 2 right.
    char buttons[64];
    snprintf(buttons, sizeof buttons, "\"BUTTONS\":[%d,%d,%d],", int(HOST_BUTTON_LEFT),
             int(HOST_BUTTON_MIDDLE), int(HOST_BUTTON_RIGHT));
    out.append(buttons);
    append_keys(&out);
    out.push_back('}');
    return out;
}
