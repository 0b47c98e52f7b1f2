// The platform's modal message box, centred on its owner window and kept
// inside the desktop work area.
#pragma once

#include "runtime/window/window_record.h"

#include <windows.h>

#include <stdint.h>

// What a flags word of 0 means: an OK button and the exclamation icon.
constexpr UINT MESSAGE_BOX_DEFAULT_FLAGS = MB_ICONEXCLAMATION;

// The creation hook of the box being shown; null when no box is up.
extern HHOOK centreHook;

// Shows the box, owned by record's window (none for a null record), and
// returns the button that closed it. The program's windows keep receiving
// their messages meanwhile.
int32_t messageBox(WindowRecord* record, const char* text, const char* caption, uint32_t flags);

// WH_CBT hook: places every dialog-framed or pop-up window created while it
// is installed in the middle of its parent (or of the desktop window), kept
// inside the work area on the right and bottom and on the screen on the
// left and top.
LRESULT CALLBACK centreBoxHook(int code, WPARAM wParam, LPARAM lParam);
