#!/bin/bash
# Plays the game in a real window on a virtual X server, with real X input
# and real screenshots: the window comes up centred and pixel for pixel as
# the headless host shows it; Game > New by mouse starts play and the ball
# follows the pointer; Options > Pause shows the notice; Help > Rules shows
# its box and Enter (OK) ends it; dragging the caption moves the window,
# from the first press after start on;
# the minimise box hides it and the task bar's button brings it back; the
# close box ends the program with exit code 0. Then again at scale 2, on a
# screen twice as large (without the drag and the minimise). Needs xvfb-run
# (xvfb), xdotool, import (imagemagick) and Pillow for /usr/bin/python3. There is no window
# manager: the layer draws the frame and caption itself, and its own task
# bar along the bottom of the screen. tools/wm_test.sh does the same under
# a window manager.
#
#   tools/window_test.sh [path/to/zandrel]
#
# Without an argument it builds the default preset's program first.
set -euo pipefail
cd "$(dirname "$0")/.."
xtest_name=window_test
source tools/xtest_lib.sh

if [ "${1:-}" = "--inside" ]; then
    inside=1
    scale=$2
    program=$3
else
    inside=0
    program=${1:-}
fi

if [ "$inside" = 0 ]; then
    xtest_require xvfb-run xdotool import convert
    if [ -z "$program" ]; then
        cmake --preset default >/dev/null
        cmake --build --preset default --target zandrel
        program=build/default/game/zandrel
    fi
    xtest_in_xvfb 1024x768 120 --inside 1 "$program"
    # At scale 2 the window is drawn twice as large on a screen twice as large.
    xtest_in_xvfb 2048x1536 120 --inside 2 "$program"
    exit 0
fi

export SDL_VIDEODRIVER=x11 ZANDREL_SCALE=$scale
xtest_work

# Takes a screenshot and runs the pixel check named by the arguments on it
# (tools/window_pixels.py); `what` says what a failure means.
check() {
    shot screen
    pixels window "$work/screen.ppm" "$scale" "$left" "$top" "$@" || fail "$what"
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

# Where the real window is now: "X Y".
place() {
    xdotool search --limit 1 --name '^Zandrel$' getwindowgeometry --shell |
        sed -n 's/^[XY]=//p' | paste -sd' '
}

# Drags the caption from one point of the window to the places given in
# screen pixels, a step each, and expects the window at EXPECTED ("X Y").
drag() {
    local expected=$1 step
    shift
    xdotool mousedown 1
    for step in "$@"; do
        sleep 0.05
        xdotool mousemove ${step/,/ }
    done
    sleep 0.2
    xdotool mouseup 1
    sleep 0.3
    [ "$(place)" = "$expected" ] || fail "dragged to $*, the window is at $(place), not $expected"
}

if [ "$scale" = 1 ]; then
    # The first press after start, on the caption, drags the window by as
    # much as the pointer moves, also off the window and past the screen's
    # left edge; dragged back, it is where it was.
    point 300 10
    drag "$((left - 384)) $((top - 180))" $((left + 278)),$((top)) $((left + 208)),$((top - 30)) \
        $((left - 84)),$((top - 170))
    xdotool mousemove $((left - 84)) $((top - 170))
    drag "$left $top" $((left + 300)),$((top + 10))
    point 300 10
    drag "$((left + 60)) $((top + 40))" $(for i in 1 2 3 4 5 6 7 8 9 10; do
        echo $((left + 300 + i * 6)),$((top + 10 + i * 4))
    done)
    left=$((left + 60)) top=$((top + 40))
fi

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
xtest_wait_exit || { shot screen; fail "the program is still running after its close box was clicked"; }
[ "$status" = 0 ] || fail "the program ended with exit code $status"
echo "window_test: at scale $scale the game played in a real window and closed with exit code 0"
