// What each host's part of a replay does: how time passes, and where the
// main window's last picture goes when the replay ends.
#pragma once

#include "platform/host/headless/png_file.h"

#include <stdint.h>

// The program read `tape_us` from the clock; `first` for its first reading.
// The headless host moves its virtual clock there at once; the SDL host
// waits until as much real time has passed since the first reading.
void tape_replay_clock(uint64_t tape_us, bool first);
// The replay ends, matched or not.
void tape_replay_end_picture(const Image& picture);
