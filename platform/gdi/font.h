// The layer's built-in "System" font: the font of a fresh device context. It
// is a proportional bold bitmap font, 16 rows high, for code page 1252, drawn
// without anti-aliasing so that text comes out the same on every machine.
//
// Every character has a cell as high as the font and as wide as its advance;
// the cell's rows 0 to ascent - 1 lie above the baseline. Characters the font
// lacks (the controls below 0x20, and 0x7F, 0x81, 0x8D, 0x8F, 0x90 and 0x9D,
// which code page 1252 leaves empty) draw as the default character: a hollow
// box 6 pixels wide and as high as the ascent, in a cell 8 pixels wide.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "platform/gdi/surface.h"

// What GetTextMetricsA and GetTextFaceA report for the font.
struct FontMetrics {
    int32_t height;           // rows of a cell: ascent + descent
    int32_t ascent;           // rows above the baseline, internal leading included
    int32_t descent;          // rows below the baseline
    int32_t internal_leading; // rows at the top of the ascent meant for accents
    int32_t external_leading; // extra rows the font suggests between lines
    int32_t ave_char_width;   // average advance, weighted by English letter frequency
    int32_t max_char_width;   // widest advance of any character
    int32_t weight;           // 700: bold
    const char* face_name;    // "System"
    BYTE first_char;          // first character with a glyph of its own
    BYTE last_char;           // last character with a glyph of its own
    BYTE default_char;        // the character drawn for those the font lacks
    BYTE break_char;          // the character that separates words
    BYTE pitch_and_family;    // as TEXTMETRIC's tmPitchAndFamily
    BYTE char_set;            // ANSI_CHARSET
};

// The largest cell width the glyph rows can hold.
constexpr int32_t FONT_MAX_CELL_WIDTH = 16;
constexpr int32_t FONT_CELL_HEIGHT = 16;

// One character's cell: its advance and its pixels. In each row the most
// significant bit is the cell's leftmost column; bits at or past `width` are
// clear.
struct FontGlyph {
    uint8_t width;
    uint16_t rows[FONT_CELL_HEIGHT];
};

const FontMetrics& system_font_metrics();

// The glyph drawn for character c: its own, or the default character's.
const FontGlyph& system_font_glyph(BYTE c);

// The advance of character c in pixels.
int32_t system_font_char_width(BYTE c);

// The sum of the advances of the first `count` characters of text; 0 when
// count is 0 or less. The font has no kerning, so this is the width of the
// text as drawn.
int32_t system_font_text_width(const char* text, int32_t count);

// Draws the set pixels of the first `count` characters of text in `pixel`,
// the first cell's top-left corner at (x, y) and each further cell after the
// previous one's advance. Only pixels inside the clip rectangles and the
// surface change. *touched grows to take in every pixel written; it may be
// empty on entry (left >= right or top >= bottom), and stays as it was when
// nothing is written. Cell backgrounds are the caller's: opaque text fills the
// cells before drawing.
void system_font_draw(Surface* surface, const Clip* clip, int32_t x, int32_t y, const char* text,
                      int32_t count, uint32_t pixel, RECT* touched);

// The generated tables in font_data.cpp: the metrics, and one glyph for every
// character from first_char to last_char (empty slots hold the default box).
extern const FontMetrics SYSTEM_FONT_METRICS;
extern const FontGlyph SYSTEM_FONT_GLYPHS[];
