// Damage: the screen rectangles whose composed pixels changed, noted as the
// layer reports changes and taken by the host that shows the desktop.
// Rectangles follow the layer's rules (right and bottom excluded, empty
// when either size is not positive), so its own rectangle calls do the
// arithmetic.
#include "platform/host/desktop/desktop.h"
#include "platform/host/desktop/state.h"

namespace {

// Enough for a frame's windows and their moves; past it one union stands
// for them all, so a host that never takes the damage keeps little of it.
constexpr size_t DAMAGE_LIMIT = 32;

RECT union_of_all(const std::vector<RECT>& rects) {
    RECT all{};
    for (const RECT& r : rects)
        UnionRect(&all, &all, &r);
    return all;
}

// Merges the first rectangle that overlaps another into it; false when no
// two overlap. Rectangles that only touch stay apart.
bool merge_one(std::vector<RECT>* rects) {
    for (size_t i = 0; i < rects->size(); ++i) {
        for (size_t j = i + 1; j < rects->size(); ++j) {
            RECT common;
            if (!IntersectRect(&common, &(*rects)[i], &(*rects)[j]))
                continue;
            UnionRect(&(*rects)[i], &(*rects)[i], &(*rects)[j]);
            rects->erase(rects->begin() + ptrdiff_t(j));
            return true;
        }
    }
    return false;
}

} // namespace

void desktop_add_damage(const RECT& rect) {
    if (IsRectEmpty(&rect))
        return;
    std::vector<RECT>& damage = desktop_state().damage;
    damage.push_back(rect);
    if (damage.size() > DAMAGE_LIMIT)
        damage.assign(1, union_of_all(damage));
}

std::vector<RECT> desktop_take_damage(void) {
    std::vector<RECT> damage;
    damage.swap(desktop_state().damage);
    return damage;
}

std::vector<RECT> desktop_merge_damage(const std::vector<RECT>& damage, const RECT& screen) {
    std::vector<RECT> rects;
    for (const RECT& r : damage) {
        RECT cut;
        if (IntersectRect(&cut, &r, &screen))
            rects.push_back(cut);
    }
    while (merge_one(&rects)) {
    }
    return rects;
}
