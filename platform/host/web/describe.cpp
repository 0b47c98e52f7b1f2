// The page's description of the shown windows, which names them to
// assistive technology and which tests read.
#include "platform/host/web/web_host.h"

#include <stdio.h>

namespace {

void append_json_text(std::string* out, const std::string& text) {
    out->push_back('"');
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out->push_back('\\');
            out->push_back(char(c));
        } else if (c < 0x20 || c >= 0x7F) {
            char escape[8];
            snprintf(escape, sizeof escape, "\\u%04x", c);
            out->append(escape);
        } else {
            out->push_back(char(c));
        }
    }
    out->push_back('"');
}

} // namespace

std::string web_describe_windows(const std::vector<WebWindowInfo>& windows) {
    std::string out = "[";
    for (const WebWindowInfo& window : windows) {
        if (out.size() > 1)
            out.push_back(',');
        out.append("{\"title\":");
        append_json_text(&out, window.title);
        char rect[96];
        snprintf(rect, sizeof rect, ",\"rect\":[%ld,%ld,%ld,%ld]}", long(window.rect.left),
                 long(window.rect.top), long(window.rect.right), long(window.rect.bottom));
        out.append(rect);
    }
    out.push_back(']');
    return out;
}
