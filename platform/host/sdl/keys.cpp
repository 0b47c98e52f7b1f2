// SDL's keys as the layer's virtual-key codes. Letters and digits follow the
// keyboard's layout, as Windows' virtual keys do.
#include "platform/host/sdl/sdl_host.h"

namespace {

// Virtual keys the layer's header does not name, with Windows' values.
constexpr UINT VK_PAUSE_KEY = 0x13;
constexpr UINT VK_CAPITAL_KEY = 0x14;
constexpr UINT VK_INSERT_KEY = 0x2D;
constexpr UINT VK_NUMPAD0_KEY = 0x60;

struct KeyName {
    SDL_Keycode sdl;
    UINT virtual_key;
};

const KeyName NAMED_KEYS[] = {
    {SDLK_BACKSPACE, VK_BACK},    {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},     {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_LSHIFT, VK_SHIFT},      {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},     {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},         {SDLK_RALT, VK_MENU},
    {SDLK_PAUSE, VK_PAUSE_KEY},   {SDLK_CAPSLOCK, VK_CAPITAL_KEY},
    {SDLK_ESCAPE, VK_ESCAPE},     {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},      {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},           {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},         {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},       {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT_KEY}, {SDLK_DELETE, VK_DELETE},
};

const SDL_Keycode KEYPAD_DIGITS[10] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                       SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};

} // namespace

UINT sdl_virtual_key(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return UINT('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return UINT('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return UINT(VK_F1 + (key - SDLK_F1));
    for (int digit = 0; digit < 10; ++digit) {
        if (key == KEYPAD_DIGITS[digit])
            return VK_NUMPAD0_KEY + UINT(digit);
    }
    for (const KeyName& named : NAMED_KEYS) {
        if (named.sdl == key)
            return named.virtual_key;
    }
    return 0;
}
