"""Pixel checks of tools/window_test.sh on a screenshot of the root window:

    FILE SCALE LEFT TOP idle WIDTH HEIGHT GOLDEN.png
    FILE SCALE LEFT TOP playing POINTER_X
    FILE SCALE LEFT TOP paused

Every layer pixel is a SCALE-by-SCALE square on the screen; the game's
window is at LEFT TOP. A failed check ends with a message saying why.
"""
import sys

from xtest_screen import BLACK, BLUE, DARK_BLUE, YELLOW, ball_x, count, load


def idle(screen, s, left, top, cx, cy, w, h, golden_path):
    at = screen.getpixel
    # The caption's left end is the active caption's dark blue, the client
    # area is the field's blue, and the desktop around the window is black.
    assert at((left + 100 * s, top + 10 * s)) == DARK_BLUE, at((left + 100 * s, top + 10 * s))
    assert count(screen, BLUE, cx + 100 * s, cy + 100 * s, cx + 200 * s, cy + 200 * s) == (100 * s) ** 2
    assert at((left - 5, top - 5)) == BLACK, at((left - 5, top - 5))
    # Pixel for pixel what the headless host shows of the same window.
    golden = load(golden_path)
    assert (golden.width * s, golden.height * s) == (w, h), \
        "the window is %dx%d, the golden %dx%d" % (w, h, golden.width, golden.height)
    shown = screen.crop((left, top, left + w, top + h))
    wanted = golden.resize((w, h), resample=0)
    wrong = [i for i, (a, b) in enumerate(zip(shown.getdata(), wanted.getdata())) if a != b]
    assert not wrong, "%d pixels differ from the golden, first at %s" % (
        len(wrong), (wrong[0] % w, wrong[0] // w) if wrong else None)
    # The window is centred on the work area: the screen without the
    # layer's task bar in its bottom 40 rows, as there is no window manager.
    sw, sh = screen.size
    work_h = sh - 40 * s
    assert abs(left + w / 2 - sw / 2) <= s and abs(top + h / 2 - work_h / 2) <= s, \
        "the window at %d %d, %dx%d, is not centred on %dx%d" % (left, top, w, h, sw, work_h)


def playing(screen, s, cx, cy, pointer_x):
    # The score is drawn in the field's top left corner: not blue there.
    assert count(screen, BLUE, cx, cy, cx + 60 * s, cy + 16 * s) < (60 * 16 * s * s) // 2, \
        "no score text"
    # The ball is white, below the score, and follows the pointer. At scale
    # 2 the pointer's screen position reaches the game halved, so the ball
    # still sits under it.
    middle = ball_x(screen, cx, cy, s)
    assert middle is not None, "no ball"
    assert abs(middle - pointer_x) <= 12 * s, "the ball is at %d, the pointer at %d" % (
        middle, pointer_x)


def paused(screen, s, cx, cy):
    # "Paused..." is written below the score, left: text pixels that are
    # neither the field's blue nor a wall's yellow.
    band = screen.crop((cx, cy + 18 * s, cx + 70 * s, cy + 28 * s))
    text = sum(1 for p in band.getdata() if p not in (BLUE, YELLOW))
    assert text >= 30 * s * s, "no pause notice: %d pixels" % text


def main(path, scale, left, top, kind, *args):
    screen, s, left, top = load(path), int(scale), int(left), int(top)
    # The client area starts below the frame (3), caption (19) and menu bar (19).
    cx, cy = left + 3 * s, top + 41 * s
    if kind == "idle":
        idle(screen, s, left, top, cx, cy, int(args[0]), int(args[1]), args[2])
    elif kind == "playing":
        playing(screen, s, cx, cy, int(args[0]))
    elif kind == "paused":
        paused(screen, s, cx, cy)
    else:
        sys.exit("unknown check " + kind)


if __name__ == "__main__":
    main(*sys.argv[1:])
