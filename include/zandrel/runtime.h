// Everything a program of the runtime uses, in one include: <windows.h> (the
// real one on Windows, the layer's elsewhere), then every statement, event
// id, flag, colour helper and type, grouped as the runtime's folders group
// them. Details that only the runtime itself needs (the rounding of scaled
// coordinates, the core's share of the state reset) stay out.
#pragma once

#include <windows.h>

#include <stdint.h>

// The core: the private heap, temporary strings, lists and exit procedures,
// text, and how a program ends.
#include "runtime/core/heap.h"
#include "runtime/core/heap_stack.h"
#include "runtime/core/list.h"
#include "runtime/core/program_end.h"
#include "runtime/core/text.h"

// Windows, their records and flags, the events their handlers receive, menus.
#include "runtime/window/event_state.h"
#include "runtime/window/window.h"
#include "runtime/window/window_record.h"

// The wait for events, timers and the tick clock, random numbers.
#include "runtime/events/random.h"
#include "runtime/events/wait.h"

// Drawing: colours, shapes, lines and moves; print; message boxes; the
// drawing target for a program that draws with the system's calls itself.
#include "runtime/graphics/draw_target.h"
#include "runtime/graphics/message_box.h"
#include "runtime/graphics/shapes.h"
#include "runtime/graphics/text_output.h"

// The whole runtime put back to its load-time state.
#include "runtime/runtime_state.h"
