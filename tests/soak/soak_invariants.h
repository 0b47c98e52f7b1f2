// What must hold at every frame boundary of the soak, between two turns of
// the frame loop, where no statement runs and no message box is up.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>

namespace soak {

// The counts that must come back to the same values at every frame
// boundary once the program has warmed up: private-heap blocks, graphics
// objects by type and windows.
struct LiveCounts {
    SIZE_T heapBlocks = 0;
    UINT objects[7] = {}; // pens, brushes, fonts, bitmaps, regions, memory DCs, DCs
    UINT windows = 0;

    static LiveCounts now();
    bool operator==(const LiveCounts&) const = default;
};

std::string describe(const LiveCounts& counts);

// An empty string, or what is wrong with the game's variables and the
// stack of temporary strings: every value within its range.
std::string checkGameState();

} // namespace soak
