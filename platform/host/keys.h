// The keys every host knows, in one table: the name a headless script gives
// a key, SDL's name for it, the browser's KeyboardEvent.code for it, and the
// virtual key the layer receives from each of them. Letters and digits give
// the virtual keys of the characters they type on the keyboard's layout, as
// Windows' do; every other key goes by its place on the keyboard.
#pragma once

#include <windows.h>

#include <span>

struct HostKey {
    const char* name;     // in a headless script, any letter case; null: none
    const char* sdl_name; // as SDL_GetKeyFromName reads it; null: SDL does not send it
    const char* browser;  // KeyboardEvent.code; null: the browser keeps the key
    UINT virtual_key;     // the virtual-key code of <windows.h>
};

// Every row of the table.
std::span<const HostKey> host_keys(void);

// The virtual key of a script's key name ("Insert", "numpad7"); 0 for a
// name the table does not have.
UINT host_key_by_name(const char* name);
