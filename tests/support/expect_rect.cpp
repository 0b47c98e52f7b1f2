#include "tests/support/expect_rect.h"

#include <gtest/gtest.h>

#include <stdio.h>

std::string rect_text(const RECT& rect) {
    char text[64];
    snprintf(text, sizeof text, "{%ld, %ld, %ld, %ld}", (long)rect.left, (long)rect.top,
             (long)rect.right, (long)rect.bottom);
    return text;
}

void expect_rect(const RECT& actual, const RECT& expected, const std::string& what) {
    EXPECT_EQ(rect_text(actual), rect_text(expected)) << what;
}
