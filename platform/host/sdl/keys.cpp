// SDL's keys as the layer's virtual-key codes, from the hosts' one key
// table. SDL's key codes of letters and digits follow the keyboard's
// layout, as Windows' virtual keys do.
#include "platform/host/keys.h"
#include "platform/host/sdl/sdl_host.h"

#include <utility>
#include <vector>

namespace {

// The table's SDL names as key codes. SDL reads them from its own default
// key map, so this needs no display.
std::vector<std::pair<SDL_Keycode, UINT>> sdl_key_codes(void) {
    std::vector<std::pair<SDL_Keycode, UINT>> codes;
    for (const HostKey& key : host_keys()) {
        SDL_Keycode code = key.sdl_name ? SDL_GetKeyFromName(key.sdl_name) : SDLK_UNKNOWN;
        if (code != SDLK_UNKNOWN)
            codes.emplace_back(code, key.virtual_key);
    }
    return codes;
}

} // namespace

UINT sdl_virtual_key(SDL_Keycode key) {
    static const std::vector<std::pair<SDL_Keycode, UINT>> codes = sdl_key_codes();
    for (const auto& [code, virtual_key] : codes) {
        if (code == key)
            return virtual_key;
    }
    return 0;
}
