#!/usr/bin/python3
"""Writes platform/gdi/font_data.cpp: the layer's built-in "System" font.

Needs the Debian packages fonts-dejavu-extra (DejaVu Sans Condensed Bold) and
libfreetype6 (FreeType, called through ctypes), and python3-pil only for
--preview. None of them is needed to build the project: the generated source
is checked in, and this script is run by hand when the font should change.

The glyphs are DejaVu Sans Condensed Bold at 13 pixels per em, hinted and
rasterised by FreeType's monochrome renderer, so every pixel is either ink or
not and text looks the same on every machine. Each glyph is placed by
FreeType's own bitmap offsets: a text-drawing library positions glyphs from
their outline boxes, which puts some capitals a row above the baseline. At 13
pixels the regular width is too wide for a 7-pixel average and its strokes
come out one pixel thin; the condensed bold face keeps the two-pixel stems and
the width of a classic bold system font. Its capitals are 9 rows tall,
descenders 3 rows, and accented capitals fit in the 13 rows above the baseline.

Usage: make_system_font.py [--font TTF] [--output CPP] [--preview PNG]
"""

import argparse
import ctypes
import os
import sys

FONT_PATH = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"
FONT_NAME = "DejaVu Sans Condensed Bold"
FONT_PACKAGE = "fonts-dejavu-extra"
PIXELS_PER_EM = 13

HEIGHT = 16
ASCENT = 13
DESCENT = HEIGHT - ASCENT
INTERNAL_LEADING = 3
FIRST_CHAR = 0x20
LAST_CHAR = 0xFF
# DEL has no meaning in code page 1252, so its slot holds the box that
# stands in for every character the font lacks.
DEFAULT_CHAR = 0x7F
BREAK_CHAR = 0x20
MAX_CELL_WIDTH = 16  # a glyph row is one 16-bit word

# The box: a one-pixel outline over the whole ascent, with a blank column on
# each side so that boxes in a row stay apart.
DEFAULT_BOX_WIDTH = 8
DEFAULT_BOX_LEFT = 1
DEFAULT_BOX_RIGHT = 6  # inclusive

LICENCE = """\
Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved. Bitstream Vera is
a trademark of Bitstream, Inc. DejaVu changes are in public domain.

Permission is hereby granted, free of charge, to any person obtaining a copy
of the fonts accompanying this license ("Fonts") and associated documentation
files (the "Font Software"), to reproduce and distribute the Font Software,
including without limitation the rights to use, copy, merge, publish,
distribute, and/or sell copies of the Font Software, and to permit persons to
whom the Font Software is furnished to do so, subject to the following
conditions:

The above copyright and trademark notices and this permission notice shall be
included in all copies of one or more of the Font Software typefaces.

The Font Software may be modified, altered, or added to, and in particular the
designs of glyphs or characters in the Fonts may be modified and additional
glyphs or characters may be added to the Fonts, only if the fonts are renamed
to names not containing either the words "Bitstream" or the word "Vera".

This License becomes null and void to the extent applicable to Fonts or Font
Software that has been modified and is distributed under the "Bitstream Vera"
names.

The Font Software may be sold as part of a larger software package but no copy
of one or more of the Font Software typefaces may be sold by itself.

THE FONT SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
IMPLIED, INCLUDING BUT NOT LIMITED TO ANY WARRANTIES OF MERCHANTABILITY,
FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT OF COPYRIGHT, PATENT,
TRADEMARK, OR OTHER RIGHT. IN NO EVENT SHALL BITSTREAM OR THE GNOME FOUNDATION
BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, INCLUDING ANY GENERAL,
SPECIAL, INDIRECT, INCIDENTAL, OR CONSEQUENTIAL DAMAGES, WHETHER IN AN ACTION
OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF THE USE OR INABILITY TO
USE THE FONT SOFTWARE OR FROM OTHER DEALINGS IN THE FONT SOFTWARE.

Except as contained in this notice, the names of Gnome, the Gnome Foundation,
and Bitstream Inc., shall not be used in advertising or otherwise to promote
the sale, use or other dealings in this Font Software without prior written
authorization from the Gnome Foundation or Bitstream Inc., respectively. For
further information, contact: fonts at gnome dot org."""


class FreeType:
    """Just enough of FreeType's C interface to render one character: the
    records are declared up to the last field read, as freetype.h has them."""

    class Generic(ctypes.Structure):
        _fields_ = [("data", ctypes.c_void_p), ("finalizer", ctypes.c_void_p)]

    class Vector(ctypes.Structure):
        _fields_ = [("x", ctypes.c_long), ("y", ctypes.c_long)]

    class Bitmap(ctypes.Structure):
        _fields_ = [
            ("rows", ctypes.c_uint),
            ("width", ctypes.c_uint),
            ("pitch", ctypes.c_int),
            ("buffer", ctypes.POINTER(ctypes.c_ubyte)),
            ("num_grays", ctypes.c_ushort),
            ("pixel_mode", ctypes.c_ubyte),
            ("palette_mode", ctypes.c_ubyte),
            ("palette", ctypes.c_void_p),
        ]

    class GlyphSlot(ctypes.Structure):
        pass

    class Face(ctypes.Structure):
        pass

    GlyphSlot._fields_ = [
        ("library", ctypes.c_void_p),
        ("face", ctypes.c_void_p),
        ("next", ctypes.c_void_p),
        ("glyph_index", ctypes.c_uint),
        ("generic", Generic),
        ("metrics", ctypes.c_long * 8),
        ("linear_hori_advance", ctypes.c_long),
        ("linear_vert_advance", ctypes.c_long),
        ("advance", Vector),
        ("format", ctypes.c_uint),
        ("bitmap", Bitmap),
        ("bitmap_left", ctypes.c_int),
        ("bitmap_top", ctypes.c_int),
    ]
    Face._fields_ = [
        ("num_faces", ctypes.c_long),
        ("face_index", ctypes.c_long),
        ("face_flags", ctypes.c_long),
        ("style_flags", ctypes.c_long),
        ("num_glyphs", ctypes.c_long),
        ("family_name", ctypes.c_char_p),
        ("style_name", ctypes.c_char_p),
        ("num_fixed_sizes", ctypes.c_int),
        ("available_sizes", ctypes.c_void_p),
        ("num_charmaps", ctypes.c_int),
        ("charmaps", ctypes.c_void_p),
        ("generic", Generic),
        ("bbox", ctypes.c_long * 4),
        ("units_per_em", ctypes.c_ushort),
        ("metrics", ctypes.c_short * 7),
        ("glyph", ctypes.POINTER(GlyphSlot)),
    ]

    LOAD_RENDER = 1 << 2
    LOAD_TARGET_MONO = 2 << 16  # FT_LOAD_TARGET_(FT_RENDER_MODE_MONO)
    PIXEL_MODE_MONO = 1

    def __init__(self, path):
        self.lib = ctypes.CDLL("libfreetype.so.6")
        self.library = ctypes.c_void_p()
        self.face = ctypes.POINTER(FreeType.Face)()
        self.check(self.lib.FT_Init_FreeType(ctypes.byref(self.library)), "FT_Init_FreeType")
        self.check(
            self.lib.FT_New_Face(
                self.library, path.encode(), ctypes.c_long(0), ctypes.byref(self.face)
            ),
            f"FT_New_Face({path})",
        )

    @staticmethod
    def check(error, what):
        if error != 0:
            sys.exit(f"{what} failed with FreeType error {error}")

    def version(self):
        parts = [ctypes.c_int() for _ in range(3)]
        self.lib.FT_Library_Version(self.library, *[ctypes.byref(p) for p in parts])
        return ".".join(str(p.value) for p in parts)

    def render(self, text, pixels_per_em):
        """Hints and renders one character, returning its Bitmap."""
        self.check(self.lib.FT_Set_Pixel_Sizes(self.face, 0, pixels_per_em), "FT_Set_Pixel_Sizes")
        code = ord(text)
        if self.lib.FT_Get_Char_Index(self.face, ctypes.c_ulong(code)) == 0:
            sys.exit(f"the font has no glyph for U+{code:04X}")
        flags = ctypes.c_int32(FreeType.LOAD_RENDER | FreeType.LOAD_TARGET_MONO)
        self.check(self.lib.FT_Load_Char(self.face, ctypes.c_ulong(code), flags), "FT_Load_Char")
        slot = self.face.contents.glyph.contents
        bitmap = slot.bitmap
        if bitmap.rows and bitmap.pixel_mode != FreeType.PIXEL_MODE_MONO:
            sys.exit(f"U+{code:04X} did not render as a monochrome bitmap")
        ink = set()
        for y in range(bitmap.rows):
            for x in range(bitmap.width):
                if bitmap.buffer[y * bitmap.pitch + x // 8] & (0x80 >> (x % 8)):
                    ink.add((slot.bitmap_left + x, y - slot.bitmap_top))
        # Hinting leaves the advance on whole pixels.
        return Bitmap(round(slot.advance.x / 64), ink)


def character(code):
    """The Unicode character of a code page 1252 byte, or None where the code
    page leaves the slot empty (and for DEL, which is a control)."""
    if code == 0x7F:
        return None
    # The soft hyphen has no ink in an outline font, which hides it where a
    # line is not broken; text output draws every byte, so here it is a hyphen.
    if code == 0xAD:
        return "-"
    try:
        return bytes([code]).decode("cp1252")
    except UnicodeDecodeError:
        return None


def default_glyph():
    rows = []
    for row in range(HEIGHT):
        bits = 0
        if row == 0 or row == ASCENT - 1:
            for col in range(DEFAULT_BOX_LEFT, DEFAULT_BOX_RIGHT + 1):
                bits |= 0x8000 >> col
        elif row < ASCENT:
            bits = (0x8000 >> DEFAULT_BOX_LEFT) | (0x8000 >> DEFAULT_BOX_RIGHT)
        rows.append(bits)
    return DEFAULT_BOX_WIDTH, rows


class Bitmap:
    """A glyph as FreeType's monochrome renderer leaves it: `ink` is the set
    of (column, row) pixels relative to the pen, rows counted downwards from
    the baseline (negative above it)."""

    def __init__(self, advance, ink):
        self.advance = advance
        self.ink = ink


def cell_from_bitmap(bitmap):
    """Places a rendered glyph in a cell whose baseline is below row
    ASCENT - 1. Returns (width, rows, rows of ink lost above or below the
    cell), or None when the glyph cannot fit in MAX_CELL_WIDTH columns."""
    left, right = 0, bitmap.advance
    if bitmap.ink:
        ink_left = min(col for col, _ in bitmap.ink)
        ink_right = max(col for col, _ in bitmap.ink) + 1
        # A glyph whose ink overhangs its advance gets a wider cell: a bitmap
        # font has no overhang, and cutting the ink would maim the letter.
        left, right = min(left, ink_left), max(right, ink_right)
        # The widest glyphs lose a trailing blank column before anything else.
        if right - left > MAX_CELL_WIDTH:
            right = max(ink_right, left + MAX_CELL_WIDTH)
    width = right - left
    if width > MAX_CELL_WIDTH:
        return None

    rows = [0] * HEIGHT
    lost = set()
    for col, row in bitmap.ink:
        y = ASCENT + row
        if 0 <= y < HEIGHT:
            rows[y] |= 0x8000 >> (col - left)
        else:
            lost.add(y)
    return width, rows, sorted(lost)


def render_fitting_glyph(font, text):
    """Renders a character at the font's size or, if its ink is wider than a
    cell can be (the per mille sign), at the largest smaller size that fits."""
    size = PIXELS_PER_EM
    while size > PIXELS_PER_EM // 2:
        glyph = cell_from_bitmap(font.render(text, size))
        if glyph is not None:
            if size != PIXELS_PER_EM:
                print(f"U+{ord(text):04X} drawn at {size} pixels per em to fit", file=sys.stderr)
            return glyph
        size -= 1
    sys.exit(f"U+{ord(text):04X} does not fit in {MAX_CELL_WIDTH} columns")


def make_glyphs(font):
    glyphs = []
    for code in range(FIRST_CHAR, LAST_CHAR + 1):
        text = character(code)
        if text is None:
            width, rows = default_glyph()
        else:
            width, rows, lost = render_fitting_glyph(font, text)
            if lost:
                print(f"0x{code:02X}: ink in rows {lost} lies outside the cell", file=sys.stderr)
        glyphs.append((code, text, width, rows))
    return glyphs


# How often each lower-case letter and the space occur in a thousand
# characters of English text: the weights by which font files have long
# measured their average character width.
AVERAGE_WEIGHTS = {
    "a": 64, "b": 14, "c": 27, "d": 35, "e": 100, "f": 20, "g": 14, "h": 42, "i": 63,
    "j": 3, "k": 6, "l": 35, "m": 20, "n": 56, "o": 56, "p": 17, "q": 4, "r": 49,
    "s": 56, "t": 71, "u": 31, "v": 10, "w": 18, "x": 3, "y": 18, "z": 2, " ": 166,
}


def average_width(glyphs):
    widths = {code: width for code, _, width, _ in glyphs}
    total = sum(widths[ord(c)] * weight for c, weight in AVERAGE_WEIGHTS.items())
    return round(total / sum(AVERAGE_WEIGHTS.values()))


def describe(code, text):
    if text is None:
        return f"0x{code:02X} default box"
    if text == "\\" or text.isspace() or not text.isprintable():
        return f"0x{code:02X} U+{ord(text):04X}"
    return f"0x{code:02X} {text}"


def cpp_source(glyphs, freetype_version):
    max_width = max(width for _, _, width, _ in glyphs)
    licence = "\n".join(("// " + line).rstrip() for line in LICENCE.splitlines())
    lines = [
        "// Generated by tools/fontgen/make_system_font.py; do not edit by hand.",
        "//",
        f"// The layer's built-in \"System\" font: {FONT_NAME} at {PIXELS_PER_EM} pixels per",
        f"// em, from the Debian package {FONT_PACKAGE}, hinted and rasterised without",
        f"// anti-aliasing by FreeType {freetype_version}. The glyphs are a derivative of that font",
        "// and carry its licence:",
        "//",
        licence,
        "",
        '#include "platform/gdi/font.h"',
        "",
        "extern const FontMetrics SYSTEM_FONT_METRICS = {",
        f"    {HEIGHT},  // height",
        f"    {ASCENT},  // ascent",
        f"    {DESCENT},   // descent",
        f"    {INTERNAL_LEADING},   // internal_leading",
        "    0,   // external_leading",
        f"    {average_width(glyphs)},   // ave_char_width",
        f"    {max_width},  // max_char_width",
        "    700, // weight",
        '    "System",',
        f"    0x{FIRST_CHAR:02X}, // first_char",
        f"    0x{LAST_CHAR:02X}, // last_char",
        f"    0x{DEFAULT_CHAR:02X}, // default_char",
        f"    0x{BREAK_CHAR:02X}, // break_char",
        "    // FF_SWISS | TMPF_FIXED_PITCH; the latter, despite its name, marks a",
        "    // variable-pitch font. No vector, TrueType or device bit: a raster font.",
        "    0x21,",
        "    0, // char_set: ANSI_CHARSET",
        "};",
        "",
        "// One entry per character from first_char to last_char: the advance, then",
        "// the rows top to bottom, eight to a line. A row's most significant bit is",
        "// the cell's leftmost column.",
        "// clang-format off",
        f"extern const FontGlyph SYSTEM_FONT_GLYPHS[{LAST_CHAR - FIRST_CHAR + 1}] = {{",
    ]
    for code, text, width, rows in glyphs:
        top = ", ".join(f"0x{bits:04X}" for bits in rows[:8])
        bottom = ", ".join(f"0x{bits:04X}" for bits in rows[8:])
        lines.append(f"    {{{width:2}, {{{top}, // {describe(code, text)}")
        lines.append(f"          {bottom}}}}},")
    lines.append("};")
    lines.append("// clang-format on")
    return "\n".join(lines) + "\n"


def write_preview(glyphs, path):
    """A picture of the whole font, 16 characters a line, for a person to look at."""
    from PIL import Image

    scale, per_line = 3, 16
    cell = MAX_CELL_WIDTH + 2
    lines = (len(glyphs) + per_line - 1) // per_line
    image = Image.new("1", (cell * per_line, (HEIGHT + 2) * lines), 1)
    pixels = image.load()
    for index, (_, _, width, rows) in enumerate(glyphs):
        x0, y0 = (index % per_line) * cell, (index // per_line) * (HEIGHT + 2)
        for row, bits in enumerate(rows):
            for col in range(width):
                if bits & (0x8000 >> col):
                    pixels[x0 + col, y0 + row] = 0
    image = image.resize((image.width * scale, image.height * scale), Image.NEAREST)
    image.save(path)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--font", default=FONT_PATH)
    parser.add_argument("--output", default=os.path.join(root, "platform/gdi/font_data.cpp"))
    parser.add_argument("--preview", help="also write a PNG of every glyph")
    args = parser.parse_args()

    font = FreeType(args.font)
    glyphs = make_glyphs(font)
    with open(args.output, "w", encoding="utf-8", newline="\n") as out:
        out.write(cpp_source(glyphs, font.version()))
    if args.preview:
        write_preview(glyphs, args.preview)


if __name__ == "__main__":
    main()
