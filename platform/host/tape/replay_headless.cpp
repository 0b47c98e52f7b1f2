// The headless host's part of a replay: at full speed on the virtual clock,
// with the last picture in the capture folder.
#include "platform/host/headless/headless.h"
#include "platform/host/tape/record.h"
#include "platform/host/tape/replay.h"
#include "platform/host/tape/seam.h"

#include <stdio.h>
#include <stdlib.h>

extern "C" const char* tape_host_name(void) {
    return "headless";
}

// Captures and script lines fall due on the way, as in any run; the time
// limit is for runs that could go on for ever, which a tape cannot.
void tape_replay_clock(uint64_t tape_us, bool first) {
    if (first) {
        headless_set_time_limit_us(0);
        headless_set_clock_us(tape_us);
    }
    real_host_sleep(tape_us);
}

// As the recorder writes it beside the tape, so that the two compare.
void tape_replay_end_picture(const Image& picture) {
    const char* dir = getenv("ZANDREL_CAPTURE_DIR");
    std::string path = std::string(dir && *dir ? dir : ".") + "/replay-end.png";
    std::string error;
    if (picture.width > 0 && !png_write_file(path.c_str(), picture.pixels.data(), picture.width,
                                             picture.height, picture.width, &error))
        fprintf(stderr, "zandrel: %s\n", error.c_str());
}
