// Whole pictures drawn the way the game draws, compared pixel for pixel with
// pictures kept in the repository. Set ZANDREL_UPDATE_GOLDENS=1 to rewrite
// them after a change that is meant to alter them, and look at the result.
#include "tests/support/bitmap_dc.h"
#include "tests/support/image_compare.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// Draws with a pen and brush of its own, as the runtime does per statement.
void draw_ellipse(HDC dc, RECT box, COLORREF outline, COLORREF fill) {
    HPEN pen = CreatePen(PS_SOLID, 1, outline);
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

// A wall two pixels thick across the field, with a gap 40 pixels wide.
void draw_wall(HDC dc, int y, int gap, int width) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    for (int row = y; row < y + 2; ++row) {
        MoveToEx(dc, 0, row, nullptr);
        LineTo(dc, gap, row);
        MoveToEx(dc, gap + 40, row, nullptr);
        LineTo(dc, width, row);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

TEST(Golden, GameScene) {
    BitmapDc m(634, 324);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(m.dc(), blue);
    PatBlt(m.dc(), 0, 0, m.width(), m.height(), PATCOPY);
    SelectObject(m.dc(), old);
    DeleteObject(blue);
    draw_wall(m.dc(), 60, 300, m.width());
    draw_wall(m.dc(), 170, 45, m.width());
    draw_wall(m.dc(), 280, 560, m.width());
    draw_ellipse(m.dc(), {312, 300, 322, 310}, RGB(0, 0, 0), RGB(255, 255, 255));
    TextOutA(m.dc(), 1, 1, "Score: 57", 9);
    EXPECT_TRUE(matches_golden("tests/platform/gdi/golden/game_scene.png", m.bits(), m.width(),
                               m.height(), m.width()));
}

TEST(Golden, EveryCharacterOfTheSystemFont) {
    BitmapDc m(16 * 16, 14 * 18);
    m.fill(0xFFFFFF);
    for (int c = 0x20; c < 0x100; ++c) {
        char text = (char)c;
        int cell = c - 0x20;
        TextOutA(m.dc(), (cell % 16) * 16, (cell / 16) * 18, &text, 1);
    }
    EXPECT_TRUE(matches_golden("tests/platform/gdi/golden/system_font.png", m.bits(), m.width(),
                               m.height(), m.width()));
}

} // namespace
