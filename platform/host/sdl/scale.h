// The presentation scale: how many real pixels each layer pixel becomes,
// each way. Plain rules without SDL, so that they can be tested alone.
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

// The scale when the person has not chosen one: 2 on a screen of about
// twice the usual 96 dots per inch (from 168 up) that can still hold the
// 640 by 480 of a usual window at that scale, 1 otherwise. A density of 0
// or less is one the display did not report.
inline int default_scale(float dots_per_inch, int screen_width, int screen_height) {
    bool dense = dots_per_inch >= 168.0f;
    bool room = screen_width >= 2 * 640 && screen_height >= 2 * 480;
    return dense && room ? 2 : 1;
}

// The largest scale, up to `scale`, at which the work area (in real pixels)
// still holds a usual window of 640 by 480 with room to spare; 1 when none
// does. A larger one would leave windows bigger than the screen, their
// close boxes out of reach.
inline int fitting_scale(int scale, int work_width, int work_height) {
    while (scale > 1 && (work_width < scale * 640 || work_height < scale * 480))
        --scale;
    return scale < 1 ? 1 : scale;
}

} // namespace zandrel_sdl
