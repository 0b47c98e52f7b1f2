"""Pixel questions of tools/wm_test.sh about screenshots of the root window:

    colour FILE X Y              the pixel's "R G B"
    same FILE FILE X Y W H       "same", or how many pixels of the rectangle differ
    ball FILE LEFT TOP           the x of the ball in the game window at LEFT TOP, or "none"
"""
import sys

from xtest_screen import ball_x, differing, load


def main(kind, *args):
    if kind == "colour":
        print("%d %d %d" % load(args[0]).getpixel((int(args[1]), int(args[2]))))
    elif kind == "same":
        x, y, w, h = map(int, args[2:6])
        differ = differing(load(args[0]), load(args[1]), (x, y, x + w, y + h))
        print("same" if differ == 0 else "%d differ" % differ)
    elif kind == "ball":
        # The client area starts below the frame (3), caption (19) and menu bar (19).
        cx, cy = int(args[1]) + 3, int(args[2]) + 41
        x = ball_x(load(args[0]), cx, cy)
        print("none" if x is None else round(x) - cx)
    else:
        sys.exit("unknown question " + kind)


if __name__ == "__main__":
    main(*sys.argv[1:])
