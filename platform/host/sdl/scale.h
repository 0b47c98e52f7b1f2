// The scale a person chose for the SDL host's windows. The rules for a
// scale nobody chose live with the desktop's, which the web host shares.
#pragma once

namespace zandrel_sdl {

constexpr int MAX_SCALE = 4;

// The scale from ZANDREL_SCALE's text: 1 when not set (null), 0 when the
// text is not one of "1" to "4", an empty text included: a setting that is
// there but says nothing is a mistake, as any other wrong value is.
inline int parse_scale(const char* text) {
    if (text == nullptr)
        return 1;
    if (text[0] == '\0' || text[1] != '\0' || text[0] < '1' || text[0] > '0' + MAX_SCALE)
        return 0;
    return text[0] - '0';
}

} // namespace zandrel_sdl
