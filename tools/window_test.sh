#!/bin/bash
# Plays the game in a real window on a virtual X server, with real X input:
# opens Game > New, steers the ball with the mouse, checks a screenshot's
# pixels, then closes the window with its close box and expects exit code 0.
# Needs xvfb-run (xvfb), xdotool, import (imagemagick) and python3. There
# is no window manager: the layer draws the frame and caption itself.
#
#   tools/window_test.sh [path/to/zandrel-sdl]
#
# Without an argument it builds the default preset's program first.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--inside" ]; then
    inside=1
    program=$2
else
    inside=0
    program=${1:-}
fi

if [ "$inside" = 0 ]; then
    for tool in xvfb-run xdotool import python3; do
        command -v "$tool" >/dev/null || { echo "window_test: $tool is missing" >&2; exit 1; }
    done
    if [ -z "$program" ]; then
        cmake --preset default >/dev/null
        cmake --build --preset default --target zandrel-sdl
        program=build/default/game/zandrel-sdl
    fi
    exec timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$program"
fi

export SDL_VIDEODRIVER=x11 ZANDREL_SCALE=1
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
    python3 - "$work/screen.ppm" "$left" "$top" "$@" <<'EOF' || fail "$what"
import sys

def read_ppm(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    assert fields[0] == b"P6" and fields[3] == b"255", "a binary 8-bit PPM"
    return int(fields[1]), int(fields[2]), data[at + 1:]

width, height, pixels = read_ppm(sys.argv[1])
left, top = int(sys.argv[2]), int(sys.argv[3])
kind = sys.argv[4]
# The client area starts below the frame (3), caption (19) and menu bar (19).
cx, cy = left + 3, top + 41

def at(x, y):
    i = (y * width + x) * 3
    return tuple(pixels[i:i + 3])

BLUE, WHITE = (0, 0, 255), (255, 255, 255)

def count(colour, x0, y0, x1, y1):
    return sum(at(x, y) == colour for y in range(y0, y1) for x in range(x0, x1))

if kind == "idle":
    # The caption's left end is the active caption's dark blue, the client
    # area is the field's blue, and the desktop around the window is black.
    assert at(left + 100, top + 10) == (0, 0, 128), at(left + 100, top + 10)
    assert count(BLUE, cx + 100, cy + 100, cx + 200, cy + 200) == 100 * 100
    assert at(left - 5, top - 5) == (0, 0, 0), at(left - 5, top - 5)
elif kind == "playing":
    pointer_x = int(sys.argv[5])
    # The score is drawn in the field's top left corner: not blue there.
    score = (cx, cy, cx + 60, cy + 16)
    assert count(BLUE, *score) < 60 * 16 // 2, "no score text"
    # The ball is white, below the score, and follows the pointer; rows
    # with many white pixels are walls.
    ball = []
    for y in range(cy + 20, cy + 324):
        row = [(x, y) for x in range(cx, cx + 634) if at(x, y) == WHITE]
        if len(row) <= 15:
            ball += row
    assert len(ball) >= 20, "no ball: %d white pixels" % len(ball)
    middle = sum(x for x, _ in ball) / len(ball)
    assert abs(middle - pointer_x) <= 12, "the ball is at %d, the pointer at %d" % (middle, pointer_x)
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
[ -n "$left" ] && [ -n "$top" ] || fail "no window named Zandrel"
sleep 0.5

what="the idle window is not as expected"
check idle

# Game > New: the menu opens in a popup window of its own below the menu bar.
xdotool mousemove $((left + 30)) $((top + 31)) click 1
sleep 0.5
xdotool mousemove $((left + 40)) $((top + 53)) click 1
sleep 0.3
pointer_x=$((left + 400))
xdotool mousemove $((left + 200)) $((top + 250))
sleep 0.2
xdotool mousemove "$pointer_x" $((top + 250))
sleep 0.5
what="the game in play is not as expected"
check playing "$pointer_x"

# The close box at the caption's right end ends the program.
xdotool mousemove $((left + 626)) $((top + 11)) click 1
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
echo "window_test: the game played in a real window and closed with exit code 0"
