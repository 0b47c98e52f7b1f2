"""Pixel checks of tools/package_test.sh on a screenshot of the root window:

    FILE window LEFT TOP    the game's idle window at that place: caption,
                            menu bar, blue field
    FILE field-idle         the blue field found on the screen, without the
    FILE field-playing      score in its top left corner, and with it

A failed check ends with a message saying why.
"""
import sys

from xtest_screen import BLACK, BLUE, DARK_BLUE, GREY, WHITE, count, load


def window(screen, left, top):
    # Caption (dark blue) from 3 to 21, menu bar (grey, with the menus'
    # names in black) from 22 to 40, the blue field of 634 by 324 below.
    caption = count(screen, DARK_BLUE, left + 100, top + 5, left + 500, top + 18)
    assert caption > 400 * 13 * 0.9, "no caption: %d dark blue pixels" % caption
    grey = count(screen, GREY, left + 3, top + 22, left + 637, top + 41)
    text = count(screen, BLACK, left + 3, top + 22, left + 200, top + 41)
    assert grey > 634 * 19 * 0.8 and text > 40, \
        "no menu bar: %d grey and %d black pixels" % (grey, text)
    field = count(screen, BLUE, left + 3, top + 41, left + 637, top + 365)
    assert field == 634 * 324, "the field has %d blue pixels of %d" % (field, 634 * 324)


def field(screen, playing):
    # The field is the largest blue area: the bounding box of the blue
    # pixels found at every other pixel each way.
    px = screen.load()
    blue = [(x, y) for y in range(0, screen.height, 2) for x in range(0, screen.width, 2)
            if px[x, y] == BLUE]
    assert len(blue) > 100 * 100, "no blue field on the screen"
    fx, fy = min(x for x, _ in blue), min(y for _, y in blue)
    # The score is written in the field's top left corner.
    corner = (fx, fy, fx + 60, fy + 16)
    white, black = count(screen, WHITE, *corner), count(screen, BLACK, *corner)
    if playing:
        assert white > 100 and black > 30, \
            "no score in the field's corner: %d white, %d black pixels" % (white, black)
    else:
        assert white == 0 and black == 0, "text in the idle field's corner"


def main(path, kind, *args):
    screen = load(path)
    if kind == "window":
        window(screen, int(args[0]), int(args[1]))
    elif kind in ("field-idle", "field-playing"):
        field(screen, kind == "field-playing")
    else:
        sys.exit("unknown check " + kind)


if __name__ == "__main__":
    main(*sys.argv[1:])
