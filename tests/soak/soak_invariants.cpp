#include "tests/soak/soak_invariants.h"

#include "game/game_state.h"
#include "runtime/core/heap.h"
#include "runtime/core/heap_stack.h"

#include <layer/gdi.h>
#include <layer/kernel.h>
#include <layer/user.h>

#include <sstream>

namespace soak {
namespace {

const DWORD COUNTED_TYPES[] = {OBJ_PEN,    OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP,
                               OBJ_REGION, OBJ_MEMDC, OBJ_DC};
const char* const TYPE_NAMES[] = {"pens",    "brushes",    "fonts", "bitmaps",
                                  "regions", "memory DCs", "DCs"};

// Walls in play have moved at least once since their spawn and are retired
// as soon as their row passes the bottom.
std::string checkWall(const WallSlot& wall, int32_t slot) {
    std::ostringstream out;
    if (wall.active != 0 && wall.active != 1)
        out << "wall " << slot << " has active " << wall.active;
    if (wall.active == 1 && (wall.row < 2 || wall.row > PLAY_BOTTOM))
        out << "wall " << slot << " in play at row " << wall.row;
    if (wall.row < 0 || wall.row > PLAY_BOTTOM + 1)
        out << "wall " << slot << " at row " << wall.row;
    if (wall.active == 1 && (wall.gapRight - wall.gapLeft != GAP_WIDTH || wall.gapLeft < 0 ||
                             wall.gapLeft > PLAY_WIDTH - GAP_WIDTH))
        out << "wall " << slot << " has its gap at " << wall.gapLeft << ".." << wall.gapRight;
    return out.str();
}

// Before the first game spawnInterval is still 0; from then on NewGame and
// SpawnWall keep it in [200, 2000].
std::string checkNumbers() {
    std::ostringstream out;
    if (GameState.score < 0)
        out << "score " << GameState.score << "; ";
    bool started = GameState.spawnInterval != 0;
    if (started && (GameState.spawnInterval < MIN_SPAWN_INTERVAL ||
                    GameState.spawnInterval > FIRST_SPAWN_INTERVAL))
        out << "spawnInterval " << GameState.spawnInterval << "; ";
    if (GameState.paused != 0 && GameState.paused != 1)
        out << "paused " << GameState.paused << "; ";
    if (GameState.gameOver != 0 && GameState.gameOver != 1)
        out << "gameOver " << GameState.gameOver << "; ";
    if (GameState.paceFrame != 0)
        out << "paceFrame " << GameState.paceFrame << " after the frame wait; ";
    if (HeapStack.count != 0 || HeapStack.refused != 0)
        out << "HeapStack holds " << HeapStack.count << " (" << HeapStack.refused << " refused); ";
    return out.str();
}

} // namespace

LiveCounts LiveCounts::now() {
    LiveCounts counts;
    LayerHeapStats stats{};
    if (PrivateHeap != nullptr && layer_heap_stats(PrivateHeap, &stats))
        counts.heapBlocks = stats.live_blocks;
    for (size_t i = 0; i < sizeof COUNTED_TYPES / sizeof COUNTED_TYPES[0]; ++i)
        counts.objects[i] = layer_gdi_object_count(COUNTED_TYPES[i]);
    counts.windows = layer_user_window_count();
    return counts;
}

std::string describe(const LiveCounts& counts) {
    std::ostringstream out;
    out << counts.heapBlocks << " heap blocks, " << counts.windows << " windows";
    for (size_t i = 0; i < sizeof TYPE_NAMES / sizeof TYPE_NAMES[0]; ++i)
        out << ", " << counts.objects[i] << " " << TYPE_NAMES[i];
    return out.str();
}

std::string checkGameState() {
    std::string problems = checkNumbers();
    for (int32_t slot = 0; slot < WALL_SLOTS; ++slot)
        problems += checkWall(GameState.walls[slot], slot);
    return problems;
}

} // namespace soak
