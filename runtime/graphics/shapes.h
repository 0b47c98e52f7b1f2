// Colours and the drawing statements for shapes, lines and moves. Each
// statement is one complete operation on one window: its result is on the
// screen when it returns. Boxes are left, top, width and height, with the
// right and bottom edges excluded.
#pragma once

#include "runtime/window/window_record.h"

#include <stdint.h>

// Not a colour: as an outline colour the window's foreground colour, as a
// fill colour no fill.
constexpr uint32_t COLOR_DEFAULT = 0xFFFFFFFFu;

// blue * 65536 | green * 256 | red, neither masked nor clamped.
uint32_t colorRGB(int32_t red, int32_t green, int32_t blue);

// Sets windowColor and clears the whole picture to it.
int32_t setWindowColor(WindowRecord* record, uint32_t colour);

int32_t drawRect(WindowRecord* record, int32_t left, int32_t top, int32_t width, int32_t height,
                 uint32_t colour, uint32_t fill);
int32_t drawEllipse(WindowRecord* record, int32_t left, int32_t top, int32_t width, int32_t height,
                    uint32_t colour, uint32_t fill);

// A line from (x1, y1) to (x2, y2), the end point not drawn; the current
// position ends at (x2, y2).
int32_t drawLine(WindowRecord* record, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                 uint32_t colour);
int32_t lineToPoint(WindowRecord* record, int32_t x, int32_t y, uint32_t colour);
int32_t moveToPoint(WindowRecord* record, int32_t x, int32_t y);
