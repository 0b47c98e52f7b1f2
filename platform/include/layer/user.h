// The layer's own view of its user-interface part: the program's icon
// resources, and state for tests.
#pragma once

#include <windows.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Registers an icon resource of the program: 16 by 16 pixels, 0xAARRGGBB,
// rows top-down. LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id))
// finds it afterwards. On Windows the same icon comes from the .rc file.
void layer_register_icon(WORD id, const uint32_t* pixels);

// The pixels of an icon handle (16 by 16, 0xAARRGGBB); false for handles
// that are not the program's icons.
BOOL layer_icon_pixels(HICON icon, uint32_t* pixels);

// Windows made with CreateWindowExA and not yet destroyed.
UINT layer_user_window_count(void);

// Destroys every window and forgets the queue, timers, focus and capture:
// a fresh start for the next test.
void layer_user_reset(void);

#ifdef __cplusplus
}
#endif
