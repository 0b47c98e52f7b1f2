// The current event, published to handlers in process-wide variables, and
// the framework's own event ids.
#pragma once

#include "runtime/window/window_record.h"

#include <windows.h>

#include <stdint.h>

extern int32_t eventId;           // the translated event id
extern WPARAM eventWParam;        // the message's first parameter, or derived from it
extern LPARAM eventLParam;        // the message's second parameter, or derived from the message
extern int32_t mouseX;            // mouse events: client x, low 16 bits of lParam
extern int32_t mouseY;            // mouse events: client y, high 16 bits of lParam
extern WindowRecord* eventWindow; // the record the event is for
extern int32_t controlId;         // control and scroll events: the control's id
extern int32_t menuId;            // menu events: the item's id; kept between events
extern int32_t notifyCode;        // control events: the notification code

constexpr int32_t EVENT_CLOSE = 32770;
constexpr int32_t EVENT_MENU = 32771;
constexpr int32_t EVENT_CONTROL = 32772;
constexpr int32_t EVENT_RESIZE = 32777;
constexpr int32_t EVENT_ERASE = 32783;

constexpr int32_t CMD_MDI_CASCADE = 32773;
constexpr int32_t CMD_MDI_TILE = 32774;
constexpr int32_t CMD_MDI_ARRANGE = 32775;
