#!/bin/bash
# Plays the game in a real window on a virtual X server, with real X input
# and real screenshots: the window comes up centred and pixel for pixel as
# the headless host shows it; Game > New by mouse starts play and the ball
# follows the pointer; Options > Pause shows the notice; Help > Rules shows
# its box and Enter (OK) ends it; dragging the caption moves the window;
# the minimise box hides it and the task bar's button brings it back; the
# close box ends the program with exit code 0. Then again at scale 2, on a
# screen twice as large (without the drag and the minimise). Needs xvfb-run
# (xvfb), xdotool, import (imagemagick) and python3. There is no window
# manager: the layer draws the frame and caption itself, and its own task
# bar along the bottom of the screen. tools/wm_test.sh does the same under
# a window manager.
#
#   tools/window_test.sh [path/to/zandrel]
#
# Without an argument it builds the default preset's program first.
set -euo pipefail
cd "$(dirname "$0")/.."
# The pixel checks read screenshots with tools/screenshot.py.
export PYTHONPATH="$PWD/tools${PYTHONPATH:+:$PYTHONPATH}"

if [ "${1:-}" = "--inside" ]; then
    inside=1
    scale=$2
    program=$3
else
    inside=0
    program=${1:-}
fi

if [ "$inside" = 0 ]; then
    for tool in xvfb-run xdotool import convert python3; do
        command -v "$tool" >/dev/null || { echo "window_test: $tool is missing" >&2; exit 1; }
    done
    if [ -z "$program" ]; then
        cmake --preset default >/dev/null
        cmake --build --preset default --target zandrel
        program=build/default/game/zandrel
    fi
    timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside 1 "$program"
    # At scale 2 the window is drawn twice as large on a screen twice as large.
    timeout 120 xvfb-run -a -s "-screen 0 2048x1536x24" "$0" --inside 2 "$program"
    exit 0
fi

export SDL_VIDEODRIVER=x11 ZANDREL_SCALE=$scale
work=$(mktemp -d)
pid=
finish() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap finish EXIT

fail() {
    echo "window_test: $*" >&2
    if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
        status=0
        wait "$pid" || status=$?
        pid=
        echo "window_test: the program ended early with exit code $status" >&2
    fi
    if [ -s "$work/program.err" ]; then
        echo "window_test: the program wrote on standard error:" >&2
        sed 's/^/    /' "$work/program.err" >&2
    fi
    if [ -f "$work/screen.ppm" ]; then
        mkdir -p build/window_test
        cp "$work/screen.ppm" build/window_test/failed.ppm
        echo "window_test: the last screenshot is build/window_test/failed.ppm" >&2
    fi
    exit 1
}

# Takes a screenshot and runs the pixel check named by the arguments on it.
check() {
    import -window root -depth 8 "$work/screen.ppm"
    python3 - "$work/screen.ppm" "$scale" "$left" "$top" "$@" <<'EOF' || fail "$what"
import sys
from screenshot import read_ppm, read_png

sw, sh, pixels = read_ppm(sys.argv[1])
width = sw
s = int(sys.argv[2])
left, top = int(sys.argv[3]), int(sys.argv[4])
kind = sys.argv[5]
# The client area starts below the frame (3), caption (19) and menu bar (19);
# every layer pixel is an s-by-s square on the screen.
cx, cy = left + 3 * s, top + 41 * s

def at(x, y):
    i = (y * width + x) * 3
    return tuple(pixels[i:i + 3])

BLUE, WHITE = (0, 0, 255), (255, 255, 255)

def count(colour, x0, y0, x1, y1):
    return sum(at(x, y) == colour for y in range(y0, y1) for x in range(x0, x1))

if kind == "idle":
    # The caption's left end is the active caption's dark blue, the client
    # area is the field's blue, and the desktop around the window is black.
    assert at(left + 100 * s, top + 10 * s) == (0, 0, 128), at(left + 100 * s, top + 10 * s)
    assert count(BLUE, cx + 100 * s, cy + 100 * s, cx + 200 * s, cy + 200 * s) == (100 * s) ** 2
    assert at(left - 5, top - 5) == (0, 0, 0), at(left - 5, top - 5)
    # The window is centred on the work area: the screen without the
    # layer's task bar in its bottom 40 rows, as there is no window manager.
    w, h = int(sys.argv[6]), int(sys.argv[7])
    # Pixel for pixel what the headless host shows of the same window.
    gw, gh, golden = read_png(sys.argv[8])
    golden_at = lambda x, y: tuple(golden[(y * gw + x) * 3:(y * gw + x) * 3 + 3])
    assert (gw * s, gh * s) == (w, h), "the window is %dx%d, the golden %dx%d" % (w, h, gw, gh)
    wrong = [(x, y) for y in range(h) for x in range(w)
             if at(left + x, top + y) != golden_at(x // s, y // s)]
    assert not wrong, "%d pixels differ from the golden, first at %s" % (len(wrong), wrong[0])
    work_h = sh - 40 * s
    assert abs(left + w / 2 - sw / 2) <= s and abs(top + h / 2 - work_h / 2) <= s, \
        "the window at %d %d, %dx%d, is not centred on %dx%d" % (left, top, w, h, sw, work_h)
elif kind == "playing":
    pointer_x = int(sys.argv[6])
    # The score is drawn in the field's top left corner: not blue there.
    score = (cx, cy, cx + 60 * s, cy + 16 * s)
    assert count(BLUE, *score) < (60 * 16 * s * s) // 2, "no score text"
    # The ball is white, below the score, and follows the pointer; rows
    # with many white pixels are walls. At scale 2 the pointer's screen
    # position reaches the game halved, so the ball still sits under it.
    ball = []
    for y in range(cy + 20 * s, cy + 324 * s, s):
        row = [(x, y) for x in range(cx, cx + 634 * s, s) if at(x, y) == WHITE]
        if len(row) <= 15:
            ball += row
    assert len(ball) >= 20, "no ball: %d white pixels" % len(ball)
    middle = sum(x for x, _ in ball) / len(ball)
    assert abs(middle - pointer_x) <= 12 * s, "the ball is at %d, the pointer at %d" % (middle, pointer_x)
elif kind == "paused":
    # "Paused..." is written below the score, left: text pixels that are
    # neither the field's blue nor a wall's yellow.
    band = [(x, y) for y in range(cy + 18 * s, cy + 28 * s) for x in range(cx, cx + 70 * s)]
    text = sum(at(x, y) not in (BLUE, (255, 255, 0)) for x, y in band)
    assert text >= 30 * s * s, "no pause notice: %d pixels" % text
else:
    sys.exit("unknown check " + kind)
EOF
}

trap 'fail "a command failed on line $LINENO"' ERR
"$program" 2>"$work/program.err" &
pid=$!

# The window appears centred in the work area; its real place is asked for.
geometry=$(xdotool search --sync --limit 1 --name '^Zandrel$' getwindowgeometry --shell)
left=$(echo "$geometry" | sed -n 's/^X=//p')
top=$(echo "$geometry" | sed -n 's/^Y=//p')
width=$(echo "$geometry" | sed -n 's/^WIDTH=//p')
height=$(echo "$geometry" | sed -n 's/^HEIGHT=//p')
[ -n "$left" ] && [ -n "$top" ] || fail "no window named Zandrel"
[ "$width" = $((640 * scale)) ] || fail "the window is $width pixels wide at scale $scale"
sleep 0.5

# Moves the pointer to a point given in the window's own pixels.
point() {
    xdotool mousemove $((left + $1 * scale)) $((top + $2 * scale))
}

what="the idle window is not as expected"
# The same window on the headless host, as the game's own tests see it.
headless=$(dirname "$program")/zandrel-headless
echo 'at 500 capture-window "Zandrel" idle.png' >"$work/idle.txt"
status=0
ZANDREL_SCRIPT=$work/idle.txt ZANDREL_CAPTURE_DIR=$work ZANDREL_TIME_LIMIT=1 \
    "$headless" 2>/dev/null || status=$?
[ -f "$work/idle.png" ] || fail "$headless wrote no idle.png (exit code $status)"
check idle "$width" "$height" "$work/idle.png"

# Game > New: the menu opens in a popup window of its own below the menu bar.
point 30 31
xdotool click 1
sleep 0.5
point 40 53
xdotool click 1
sleep 0.3
point 200 250
sleep 0.2
point 400 250
sleep 0.5
what="the game in play is not as expected"
check playing $((left + 400 * scale))

if [ "$scale" = 1 ]; then
    # Options > Pause from the keyboard: F10, Right, Down, Enter.
    xdotool key F10 && sleep 0.1 && xdotool key Right && sleep 0.1
    xdotool key Down && sleep 0.1 && xdotool key Return
    sleep 0.5
    what="Options > Pause does not show the pause notice"
    check paused

    # Help > Rules: a box of its own comes up, and its OK button ends it.
    xdotool key F10 && sleep 0.1 && xdotool key Left && sleep 0.1
    xdotool key Down && sleep 0.1 && xdotool key Return
    box=$(timeout 5 xdotool search --sync --limit 1 --name '^Rules$') ||
        fail "Help > Rules shows no box"
    # OK is the box's default button: Enter presses it.
    xdotool key Return
    for _ in $(seq 30); do
        xdotool search --name '^Rules$' >/dev/null 2>&1 || break
        sleep 0.1
    done
    ! xdotool search --name '^Rules$' >/dev/null 2>&1 || fail "the Rules box stays after OK"

    # Dragging the caption moves the real window by as much as the pointer.
    point 300 10
    xdotool mousedown 1
    for step in 1 2 3 4 5 6 7 8 9 10; do
        point $((300 + step * 6)) $((10 + step * 4))
        sleep 0.01
    done
    sleep 0.2
    xdotool mouseup 1
    sleep 0.3
    geometry=$(xdotool search --limit 1 --name '^Zandrel$' getwindowgeometry --shell)
    moved_left=$(echo "$geometry" | sed -n 's/^X=//p')
    moved_top=$(echo "$geometry" | sed -n 's/^Y=//p')
    [ "$moved_left" = $((left + 60)) ] && [ "$moved_top" = $((top + 40)) ] ||
        fail "dragged by 60 40 from $left $top, the window is at $moved_left $moved_top"
    left=$moved_left
    top=$moved_top

    # The minimise box hides the window; its button on the layer's task bar,
    # in the screen's bottom 40 rows, brings it back where it was.
    point 593 12
    xdotool click 1
    for _ in $(seq 30); do
        xdotool search --onlyvisible --name '^Zandrel$' >/dev/null 2>&1 || break
        sleep 0.1
    done
    ! xdotool search --onlyvisible --name '^Zandrel$' >/dev/null 2>&1 ||
        fail "the minimise box leaves the window on the screen"
    screen_height=$(xdotool getdisplaygeometry | cut -d' ' -f2)
    xdotool mousemove 84 $((screen_height - 20))
    xdotool click 1
    xdotool search --sync --onlyvisible --name '^Zandrel$' >/dev/null ||
        fail "the task bar button does not bring the window back"
    sleep 0.3
    geometry=$(xdotool search --limit 1 --name '^Zandrel$' getwindowgeometry --shell)
    [ "$(echo "$geometry" | sed -n 's/^X=//p') $(echo "$geometry" | sed -n 's/^Y=//p')" = \
        "$left $top" ] || fail "the restored window is not back at $left $top"
fi

# The close box at the caption's right end ends the program.
point 626 11
xdotool click 1
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    what="the program is still running after its close box was clicked"
    import -window root -depth 8 "$work/screen.ppm"
    fail "$what"
fi
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 0 ] || fail "the program ended with exit code $status"
echo "window_test: at scale $scale the game played in a real window and closed with exit code 0"
