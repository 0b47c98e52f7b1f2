// The order of windows among their siblings, and the rule that keeps an
// owned window above its owner whenever either of them moves in it.
#include "platform/user/user_private.h"

#include <algorithm>

namespace {

bool is_topmost(HWND handle) {
    Window* window = user_window_quiet(handle);
    return window != nullptr && (window->ex_style & WS_EX_TOPMOST);
}

// An owned window goes no lower than just above its owner: an `after`
// below the owner becomes the window above the owner.
HWND keep_above_owner(const Window* window, HWND after) {
    if (window->parent != nullptr || window->owner == nullptr || after == HWND_TOPMOST)
        return after;
    std::vector<HWND> others = user_top_windows();
    others.erase(std::remove(others.begin(), others.end(), window->handle), others.end());
    for (size_t i = 0; i < others.size(); ++i) {
        bool topmost = is_topmost(others[i]);
        if (others[i] == window->owner)
            return i > 0 ? others[i - 1] : (topmost ? HWND_TOPMOST : HWND_TOP);
        bool top = after == HWND_TOP || after == HWND_NOTOPMOST;
        if ((top && !topmost) || (!top && others[i] == after))
            break;
    }
    return after;
}

void insert_after(Window* window, HWND after) {
    std::vector<HWND>& list = user_sibling_list(window);
    list.erase(std::remove(list.begin(), list.end(), window->handle), list.end());
    if (after == HWND_BOTTOM) {
        list.push_back(window->handle);
        return;
    }
    auto at = list.begin();
    if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        // Topmost windows stay above the rest.
        while (window->parent == nullptr && !(window->ex_style & WS_EX_TOPMOST) &&
               at != list.end() && is_topmost(*at))
            ++at;
    } else {
        at = std::find(list.begin(), list.end(), after);
        at = at == list.end() ? list.begin() : at + 1;
    }
    list.insert(at, window->handle);
}

// The windows `window` owns that now sit below it come up to just above
// it, in the order they had, each bringing its own owned windows along.
void bring_owned_along(Window* window) {
    std::vector<HWND>& list = user_top_windows();
    auto at = std::find(list.begin(), list.end(), window->handle);
    std::vector<HWND> below;
    for (auto it = at; it != list.end(); ++it) {
        Window* other = user_window_quiet(*it);
        if (other != nullptr && other->owner == window->handle)
            below.push_back(*it);
    }
    HWND above = window->handle;
    for (auto it = below.rbegin(); it != below.rend(); ++it) {
        list.erase(std::remove(list.begin(), list.end(), *it), list.end());
        at = std::find(list.begin(), list.end(), above);
        list.insert(at, *it);
        above = *it;
        bring_owned_along(user_window_quiet(*it));
    }
}

} // namespace

std::vector<HWND>& user_sibling_list(Window* window) {
    if (Window* parent = user_window_quiet(window->parent))
        return parent->children;
    return user_top_windows();
}

void user_move_in_z_order(Window* window, HWND after) {
    after = keep_above_owner(window, after);
    insert_after(window, after);
    if (window->parent == nullptr)
        bring_owned_along(window);
}

// Only topmost windows, which the window cannot pass, are above it.
bool user_is_on_top(Window* window) {
    const std::vector<HWND>& list = user_sibling_list(window);
    bool passes = window->parent != nullptr || (window->ex_style & WS_EX_TOPMOST);
    for (HWND other : list) {
        if (other == window->handle)
            return true;
        if (passes || !is_topmost(other))
            return false;
    }
    return false;
}
