// The one key table of the hosts. A key two hosts both know gives the same
// virtual key on both, so a script, a person at a real keyboard and one in
// a browser reach the program alike.
#include "platform/host/keys.h"

#include <strings.h>

namespace {

// Virtual keys the layer's header does not name, with Windows' values.
constexpr UINT VK_PAUSE_KEY = 0x13;
constexpr UINT VK_CAPITAL_KEY = 0x14;
constexpr UINT VK_INSERT_KEY = 0x2D;
constexpr UINT VK_NUMPAD0_KEY = 0x60;

// Rows whose names follow one pattern. Letters' virtual keys are the
// capitals; SDL's names for letters and digits are the characters.
// clang-format off
#define LETTER(c) {#c, #c, "Key" #c, UINT(#c[0])}
#define DIGIT(d) {#d, #d, "Digit" #d, UINT(#d[0])}
#define KEYPAD(d) {"Numpad" #d, "Keypad " #d, "Numpad" #d, VK_NUMPAD0_KEY + d}
#define FUNCTION(n) {"F" #n, "F" #n, "F" #n, VK_F1 + n - 1}

const HostKey KEYS[] = {
    LETTER(A), LETTER(B), LETTER(C), LETTER(D), LETTER(E), LETTER(F), LETTER(G),
    LETTER(H), LETTER(I), LETTER(J), LETTER(K), LETTER(L), LETTER(M), LETTER(N),
    LETTER(O), LETTER(P), LETTER(Q), LETTER(R), LETTER(S), LETTER(T), LETTER(U),
    LETTER(V), LETTER(W), LETTER(X), LETTER(Y), LETTER(Z),
    DIGIT(0), DIGIT(1), DIGIT(2), DIGIT(3), DIGIT(4),
    DIGIT(5), DIGIT(6), DIGIT(7), DIGIT(8), DIGIT(9),
    KEYPAD(0), KEYPAD(1), KEYPAD(2), KEYPAD(3), KEYPAD(4),
    KEYPAD(5), KEYPAD(6), KEYPAD(7), KEYPAD(8), KEYPAD(9),
    FUNCTION(1), FUNCTION(2), FUNCTION(3), FUNCTION(4),
    // The browser keeps F5 (reload), F11 (full screen) and F12 (its tools),
    // and the page F8 (it saves the replay).
    {"F5", "F5", nullptr, VK_F5},
    FUNCTION(6), FUNCTION(7),
    {"F8", "F8", nullptr, VK_F8},
    FUNCTION(9), FUNCTION(10),
    {"F11", "F11", nullptr, VK_F11},
    {"F12", "F12", nullptr, VK_F12},
    {"Backspace", "Backspace", "Backspace", VK_BACK},
    {"Tab", "Tab", "Tab", VK_TAB},
    {"Enter", "Return", "Enter", VK_RETURN},
    {nullptr, "Keypad Enter", "NumpadEnter", VK_RETURN},
    {"Shift", "Left Shift", "ShiftLeft", VK_SHIFT},
    {nullptr, "Right Shift", "ShiftRight", VK_SHIFT},
    {"Control", "Left Ctrl", "ControlLeft", VK_CONTROL},
    {nullptr, "Right Ctrl", "ControlRight", VK_CONTROL},
    {"Alt", "Left Alt", "AltLeft", VK_MENU},
    {nullptr, "Right Alt", "AltRight", VK_MENU},
    {"Pause", "Pause", "Pause", VK_PAUSE_KEY},
    {"CapsLock", "CapsLock", "CapsLock", VK_CAPITAL_KEY},
    {"Escape", "Escape", "Escape", VK_ESCAPE},
    {"Space", "Space", "Space", VK_SPACE},
    {"PageUp", "PageUp", "PageUp", VK_PRIOR},
    {"PageDown", "PageDown", "PageDown", VK_NEXT},
    {"End", "End", "End", VK_END},
    {"Home", "Home", "Home", VK_HOME},
    {"Left", "Left", "ArrowLeft", VK_LEFT},
    {"Up", "Up", "ArrowUp", VK_UP},
    {"Right", "Right", "ArrowRight", VK_RIGHT},
    {"Down", "Down", "ArrowDown", VK_DOWN},
    {"Insert", "Insert", "Insert", VK_INSERT_KEY},
    {"Delete", "Delete", "Delete", VK_DELETE},
};

#undef LETTER
#undef DIGIT
#undef KEYPAD
#undef FUNCTION
// clang-format on

} // namespace

std::span<const HostKey> host_keys(void) {
    return KEYS;
}

UINT host_key_by_name(const char* name) {
    for (const HostKey& key : KEYS) {
        if (key.name && strcasecmp(key.name, name) == 0)
            return key.virtual_key;
    }
    return 0;
}
