// What of a composed area differs from what the canvas shows, found row by
// row against the host's copy of the composed screen, and gathered into
// bands of rows, so that a frame puts only the pixels that changed, in few
// calls.
#include "platform/host/web/web_host.h"

#include <algorithm>
#include <string.h>

namespace {

// Two pixels at a time: the comparison runs over every damaged pixel of
// every frame.
uint64_t pair_at(const uint32_t* pixels, int32_t i) {
    uint64_t pair;
    memcpy(&pair, pixels + i, sizeof(pair));
    return pair;
}

int32_t first_difference(const uint32_t* now, const uint32_t* before, int32_t count) {
    int32_t i = 0;
    while (i + 2 <= count && pair_at(now, i) == pair_at(before, i))
        i += 2;
    while (i < count && now[i] == before[i])
        ++i;
    return i;
}

// One past the last difference, knowing that pixel `first` differs.
int32_t end_of_difference(const uint32_t* now, const uint32_t* before, int32_t first,
                          int32_t count) {
    int32_t end = count;
    while (end - 2 > first && pair_at(now, end - 2) == pair_at(before, end - 2))
        end -= 2;
    while (now[end - 1] == before[end - 1])
        --end;
    return end;
}

} // namespace

WebSpan web_update_row(const uint32_t* composed, WebRow row, int32_t count) {
    int32_t first = first_difference(composed, row.shown, count);
    if (first == count)
        return {0, 0};
    int32_t end = end_of_difference(composed, row.shown, first, count);
    memcpy(row.shown + first, composed + first, size_t(end - first) * sizeof(uint32_t));
    for (int32_t i = first; i < end; ++i)
        row.canvas[i] = web_canvas_word(composed[i]);
    return {first, end};
}

// Rows a few apart share a band: putting the unchanged rows between costs
// less than another call, each of which the browser handles on its own.
void web_add_changed_row(std::vector<RECT>* bands, int32_t y, WebSpan span) {
    if (!bands->empty()) {
        RECT& band = bands->back();
        if (y >= band.top && y <= band.bottom + WEB_BAND_GAP) {
            band.left = std::min<LONG>(band.left, span.left);
            band.right = std::max<LONG>(band.right, span.right);
            band.bottom = std::max<LONG>(band.bottom, y + 1);
            return;
        }
    }
    bands->push_back({span.left, y, span.right, y + 1});
}
