// Rectangles in test expectations, printed whole so that a failure shows
// every edge of both.
#pragma once

#include <windows.h>

#include <string>

// "{left, top, right, bottom}".
std::string rect_text(const RECT& rect);

// Expects `actual` to equal `expected`, edge for edge; `what` names it.
void expect_rect(const RECT& actual, const RECT& expected, const std::string& what = "");
