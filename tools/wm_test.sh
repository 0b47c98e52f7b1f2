#!/bin/bash
# Plays the game in real windows under a real window manager (openbox) on a
# virtual X server, driven by real X input:
#   - the window manager moves the window, and the game's menu and Rules box
#     open attached to it; so they do after `xdotool windowmove`;
#   - another program taking the focus greys the caption, a click makes it
#     active again; the Rules box stays above the game when the game is
#     clicked;
#   - the minimise box iconifies the window (unmapped, _NET_WM_STATE_HIDDEN)
#     and `xdotool windowactivate` brings it back with its picture, the game
#     still running;
#   - another program minimising and restoring the window 200 times in a
#     row while the game plays leaves it restored, and play goes on;
#   - the window manager killed mid-game: the layer's task bar appears, the
#     caption stays active, play goes on, the minimise box hides the window
#     and the task bar's button brings it back; a window manager started
#     again takes the task bar's place and keeps the minimised window as its
#     icon;
#   - the window manager's close request ends the program with exit code 0;
#   - three runs a second or more apart start the ball at different places;
#   - a ZANDREL_SCALE too large for the screen falls back to one that fits;
# and without a window manager, that the program ends with one line and
# exit code 6 when the X server goes away or its window is destroyed from
# outside. Needs xvfb-run (xvfb), openbox, xdotool, wmctrl, xprop,
# xwininfo, xmessage (x11-utils), import (imagemagick) and Pillow for
# /usr/bin/python3.
#
#   tools/wm_test.sh [path/to/zandrel]
#
# Without an argument it builds the default preset's program first.
set -euo pipefail
cd "$(dirname "$0")/.."
xtest_name=wm_test
source tools/xtest_lib.sh

mode=${1:-}
if [ "$mode" = "--inside" ] || [ "$mode" = "--display-lost" ]; then
    program=$2
else
    xtest_require xvfb-run Xvfb openbox xdotool wmctrl xprop xwininfo xmessage import
    program=${1:-}
    if [ -z "$program" ]; then
        cmake --preset default >/dev/null
        cmake --build --preset default --target zandrel
        program=build/default/game/zandrel
    fi
    xtest_in_xvfb 1024x768 400 --inside "$program"
    timeout 120 "$0" --display-lost "$program"
    exit 0
fi

export SDL_VIDEODRIVER=x11 ZANDREL_SCALE=1
xtest_work
trap 'fail "a command failed on line $LINENO"' ERR

geometry_of() {
    xdotool getwindowgeometry --shell "$1" >"$work/geometry"
    x=$(sed -n 's/^X=//p' "$work/geometry")
    y=$(sed -n 's/^Y=//p' "$work/geometry")
    w=$(sed -n 's/^WIDTH=//p' "$work/geometry")
    h=$(sed -n 's/^HEIGHT=//p' "$work/geometry")
}

start_program() {
    "$program" 2>"$work/program.err" &
    pid=$!
    game=$(xdotool search --sync --limit 1 --name '^Zandrel$')
    sleep 0.5
    geometry_of "$game"
    left=$x top=$y
}

stop_program() {
    wmctrl -c Zandrel
    wait_for '! kill -0 $pid 2>/dev/null' || fail "the program did not end on the close request"
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "the program ended with exit code $status after the close request"
}

# The drop-down menu: the one visible window of the program besides the
# game's that is smaller than a message box.
dropdown_place() {
    for window in $(xdotool search --onlyvisible --class zandrel); do
        [ "$window" = "$game" ] && continue
        geometry_of "$window"
        if [ "$h" -lt 100 ]; then
            echo "$x $y"
            return
        fi
    done
    echo "none"
}

expect_menu_attached() {
    xdotool mousemove $((left + 30)) $((top + 31)) click 1
    wait_for '[ "$(dropdown_place)" != none ]' || fail "$1: the Game menu does not open"
    place=$(dropdown_place)
    # The drop-down's top left is at the client area's left, below the menu bar.
    [ "$place" = "$((left + 3)) $((top + 41))" ] ||
        fail "$1: the Game menu opens at $place, the window is at $left $top"
    caption=$(shot menu && pixels wm colour "$work/menu.ppm" $((left + 100)) $((top + 10)))
    [ "$caption" = "0 0 128" ] || fail "$1: the caption is $caption with the menu open, not active"
    xdotool key Escape && sleep 0.2 && xdotool key Escape && sleep 0.2
}

open_rules() {
    xdotool key F10 && sleep 0.1 && xdotool key Left && sleep 0.1
    xdotool key Down && sleep 0.1 && xdotool key Return
    box=$(timeout 5 xdotool search --sync --limit 1 --name '^Rules$') || fail "Help > Rules shows no box"
    sleep 0.3
}

close_rules() {
    xdotool key Return
    wait_for '! xdotool search --name "^Rules$" >/dev/null 2>&1' || fail "the Rules box stays after OK"
}

caption_colour() {
    shot caption
    pixels wm colour "$work/caption.ppm" $((left + 100)) $((top + 10))
}

# Game > New from the keyboard.
new_game() {
    xdotool key F10 && sleep 0.1 && xdotool key Down && sleep 0.1 && xdotool key Return
    sleep 0.3
}

# Options > Pause from the keyboard: pauses play, or resumes it.
toggle_pause() {
    xdotool key F10 && sleep 0.1 && xdotool key Right && sleep 0.1
    xdotool key Down && sleep 0.1 && xdotool key Return
    sleep 0.3
}

# The paused game's window is on the screen, and resumed, its field moves:
# the layer did not keep it minimised nor stop drawing it. It is paused
# again after, so that no crash ends the game meanwhile.
expect_playing() {
    wait_for 'xwininfo -id $game | grep -q IsViewable' || fail "$1: the window is not on the screen"
    ! xprop -id "$game" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN ||
        fail "$1: the window is _NET_WM_STATE_HIDDEN"
    geometry_of "$game"
    left=$x top=$y
    toggle_pause
    shot playing_a
    sleep 0.5
    shot playing_b
    toggle_pause
    result=$(pixels wm same "$work/playing_a.ppm" "$work/playing_b.ppm" $((left + 3)) $((top + 41)) 634 324)
    [ "$result" != same ] || fail "$1: the game does not go on"
}

# The minimise box hides the window; WAY brings it back, and play goes on.
expect_minimise_restore() {
    local state=$1 way=$2
    xdotool mousemove $((left + 593)) $((top + 12)) click 1
    wait_for 'xwininfo -id $game | grep -q IsUnMapped' || fail "$state: the minimise box left the window mapped"
    eval "$way"
    expect_playing "$state: after minimise and $way"
}

# The colour of the screen's bottom left corner: the layer's task bar is grey.
corner_colour() {
    shot corner
    pixels wm colour "$work/corner.ppm" 2 765
}

# Another program minimises and restores the window 200 times in a row,
# as fast as it can, while the game plays: the last request, restore, wins.
# A crash that came meanwhile has its box closed; a new game, paused, then
# shows that the window takes input and draws.
rapid_minimise_restore() {
    toggle_pause
    for _ in $(seq 200); do
        xdotool windowminimize "$game" 2>/dev/null || true
        xdotool windowactivate "$game" 2>/dev/null || true
    done
    wait_for 'xwininfo -id $game | grep -q IsViewable' ||
        fail "200 rapid minimise and restore cycles left the window minimised"
    sleep 0.5
    if xdotool search --name '^Alert$' >/dev/null 2>&1; then
        xdotool key Return
        wait_for '! xdotool search --name "^Alert$" >/dev/null 2>&1' || fail "the crash box stays"
    fi
    new_game
    toggle_pause
    expect_playing "after 200 rapid minimise and restore cycles"
}

# The window manager ends mid-game: the layer draws its task bar and keeps
# the window active, play goes on, and the task bar's button restores a
# minimised window. Then a window manager starts again, takes the task bar's
# place, and keeps the minimised window as its icon.
lose_and_regain_manager() {
    kill "$manager"
    wait "$manager" 2>/dev/null || true
    wait_for '[ "$(corner_colour)" = "192 192 192" ]' ||
        fail "no task bar after the window manager ended: the corner is $(corner_colour)"
    wait_for '[ "$(caption_colour)" = "0 0 128" ]' ||
        fail "the caption is $(caption_colour) after the window manager ended, not active"
    expect_playing "without the window manager"
    expect_minimise_restore "without the window manager" 'xdotool mousemove 84 748 click 1'
    start_manager
    wait_for '[ "$(corner_colour)" = "0 0 0" ]' ||
        fail "the task bar stays with a window manager back: the corner is $(corner_colour)"
    expect_minimise_restore "with the window manager back" 'xdotool windowactivate "$game"'
    xprop -id "$game" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN &&
        fail "the restored window is _NET_WM_STATE_HIDDEN"
    true
}

# A window manager of its own, with its default settings.
start_manager() {
    openbox >>"$work/openbox.log" 2>&1 &
    manager=$!
    helpers+=($manager)
    wait_for 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" &&
        wmctrl -m >/dev/null 2>&1' 100 || fail "openbox did not start"
}

if [ "$mode" = "--inside" ]; then
    export HOME=$work
    start_manager

    start_program
    [ "$w" = 640 ] && [ "$h" = 368 ] || fail "the window is ${w}x$h"

    # The window manager moves the window; the layer follows it.
    wmctrl -r Zandrel -e 0,40,30,-1,-1
    wait_for 'geometry_of $game; [ "$x $y" = "40 30" ]' || fail "openbox did not move the window"
    left=40 top=30
    sleep 0.3
    expect_menu_attached "after the window manager moved the window"
    open_rules
    geometry_of "$box"
    [ $((x + w / 2)) -ge $((left + 319)) ] && [ $((x + w / 2)) -le $((left + 321)) ] &&
        [ $((y + h / 2)) -ge $((top + 183)) ] && [ $((y + h / 2)) -le $((top + 185)) ] ||
        fail "the Rules box at $x $y, ${w}x$h, is not centred on the window at $left $top"

    # Clicking the game's caption leaves the box above it.
    shot box_before
    xdotool mousemove $((left + 300)) $((top + 10)) click 1
    sleep 0.5
    shot box_after
    result=$(pixels wm same "$work/box_before.ppm" "$work/box_after.ppm" "$x" "$y" "$w" "$h")
    [ "$result" = same ] || fail "clicking the game hid its Rules box: $result pixels"
    close_rules

    # A move by another program (xdotool asks the window manager).
    xdotool windowmove --sync "$game" 300 250
    wait_for 'geometry_of $game; [ "$x $y" = "300 250" ]' || fail "windowmove did not move the window"
    left=300 top=250
    sleep 0.3
    expect_menu_attached "after windowmove"

    # Another program taking the focus greys the caption; a click on the
    # caption makes the window active again.
    [ "$(caption_colour)" = "0 0 128" ] || fail "the caption is not active to start with"
    xmessage -geometry +20+650 "another program" 2>/dev/null &
    helpers+=($!)
    wait_for '[ "$(caption_colour)" = "128 128 128" ]' ||
        fail "the caption is $(caption_colour) with another program focused, not grey"
    xdotool mousemove $((left + 300)) $((top + 10)) click 1
    wait_for '[ "$(caption_colour)" = "0 0 128" ]' ||
        fail "the caption is $(caption_colour) after a click on it, not active"

    # Play, pause, minimise, bring back: the same picture; resume: it moves.
    xdotool key F10 && sleep 0.1 && xdotool key Down && sleep 0.1 && xdotool key Return
    sleep 0.8
    xdotool key F10 && sleep 0.1 && xdotool key Right && sleep 0.1
    xdotool key Down && sleep 0.1 && xdotool key Return
    sleep 0.5
    shot before_minimise
    xdotool mousemove $((left + 593)) $((top + 12)) click 1
    wait_for 'xwininfo -id $game | grep -q IsUnMapped' || fail "the minimise box left the window mapped"
    xprop -id "$game" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN ||
        fail "the minimised window is not _NET_WM_STATE_HIDDEN"
    xdotool windowactivate "$game"
    wait_for 'xwininfo -id $game | grep -q IsViewable' || fail "windowactivate did not bring it back"
    sleep 0.5
    geometry_of "$game"
    [ "$x $y" = "$left $top" ] || fail "the window came back at $x $y, not $left $top"
    shot restored
    result=$(pixels wm same "$work/before_minimise.ppm" "$work/restored.ppm" "$left" "$top" 640 368)
    [ "$result" = same ] || fail "the window came back with another picture: $result pixels"
    xdotool key F10 && sleep 0.1 && xdotool key Right && sleep 0.1
    xdotool key Down && sleep 0.1 && xdotool key Return
    sleep 1
    shot resumed
    result=$(pixels wm same "$work/restored.ppm" "$work/resumed.ppm" $((left + 3)) $((top + 41)) 634 324)
    [ "$result" != same ] || fail "the game does not go on after being restored"
    toggle_pause
    rapid_minimise_restore
    lose_and_regain_manager
    stop_program

    # Every run plays a different game: the ball starts at different places.
    places=()
    for run in 1 2 3; do
        start_program
        xdotool mousemove 5 5
        xdotool key F10 && sleep 0.1 && xdotool key Down && sleep 0.1 && xdotool key Return
        sleep 0.6
        shot "run$run"
        places+=("$(pixels wm ball "$work/run$run.ppm" "$left" "$top")")
        stop_program
        sleep 1.1
    done
    [ "${places[0]}" != none ] || fail "no ball in the first run"
    [ "${places[0]}" != "${places[1]}" ] || [ "${places[1]}" != "${places[2]}" ] ||
        fail "three runs started the ball at the same place, x ${places[*]}"

    # A scale the screen cannot hold falls back to one that fits.
    ZANDREL_SCALE=4 start_program
    [ "$w" = 640 ] || fail "at ZANDREL_SCALE=4 on 1024x768 the window is $w pixels wide"
    grep -q "ZANDREL_SCALE=4 does not fit the 1024x768 work area; using 1" "$work/program.err" ||
        fail "no word about the scale that does not fit"
    stop_program
    echo "wm_test: under openbox the game followed moves, focus, minimise and close;" \
        "balls started at x ${places[*]}"
    exit 0
fi

# --display-lost: the program's own X server goes away, or its window is
# destroyed from outside.
lose_display() {
    local how=$1 expected=$2
    exec 3>"$work/displayfd"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    server=$!
    helpers+=($server)
    exec 3>&-
    wait_for '[ -s "$work/displayfd" ]' || fail "Xvfb did not start"
    export DISPLAY=:$(head -1 "$work/displayfd")
    : >"$work/displayfd"
    start_program
    local start_ns
    start_ns=$(date +%s%N)
    if [ "$how" = server ]; then
        kill "$server"
    else
        xdotool windowclose "$game"
    fi
    wait_for '! kill -0 $pid 2>/dev/null' || fail "the program runs on after losing its display ($how)"
    local took_ms=$((($(date +%s%N) - start_ns) / 1000000))
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" = 6 ] || fail "the program ended with exit code $status, not 6 ($how)"
    [ "$(wc -l <"$work/program.err")" = 1 ] && grep -qx "$expected" "$work/program.err" ||
        fail "not the one line \"$expected\""
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    : >"$work/program.err"
    echo "wm_test: $how gone: ended with exit code 6 after $took_ms ms"
}

lose_display server "zandrel: the display closed (the connection to the X server was lost)"
lose_display window "zandrel: the display closed (a window of the program was destroyed from outside)"
