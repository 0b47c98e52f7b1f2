// The presentation scale: how many real pixels each layer pixel becomes,
// each way, for a host that shows the layer's pixels on a display of its
// own (the SDL host's windows, the web host's canvas). Plain rules, so that
// they can be tested alone.
#pragma once

// The scale when the person has not chosen one: 2 on a screen of about
// twice the usual 96 dots per inch (from 168 up) that can still hold the
// 640 by 480 of a usual window at that scale, 1 otherwise. A density of 0
// or less is one the display did not report.
inline int desktop_default_scale(float dots_per_inch, int screen_width, int screen_height) {
    bool dense = dots_per_inch >= 168.0f;
    bool room = screen_width >= 2 * 640 && screen_height >= 2 * 480;
    return dense && room ? 2 : 1;
}

// The largest scale, up to `scale`, at which the work area (in real pixels)
// still holds a usual window of 640 by 480 with room to spare; 1 when none
// does. A larger one would leave windows bigger than the screen, their
// close boxes out of reach.
inline int desktop_fitting_scale(int scale, int work_width, int work_height) {
    while (scale > 1 && (work_width < scale * 640 || work_height < scale * 480))
        --scale;
    return scale < 1 ? 1 : scale;
}
