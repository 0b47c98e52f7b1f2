#!/bin/bash
# Records a game played in a real window and replays it headless: the SDL
# host under a virtual X server, driven by real X input (Game > New by
# mouse, steering, the crash box answered with OK, Options > Pause,
# Help > Rules, Game > Quit), records a tape with ZANDREL_RECORD and writes
# the main window's last picture beside it; the headless program replays the
# tape, matches every checkpoint and ends with the same picture, pixel for
# pixel; and the real program replays it in its window at the pace it was
# recorded at, matching every checkpoint too. Needs xvfb-run (xvfb), xdotool and Pillow for /usr/bin/python3.
#
#   tools/tape_test.sh [path/to/zandrel]
#
# Without an argument it builds the default preset's programs first; the
# headless program is the one beside the given one.
set -euo pipefail
cd "$(dirname "$0")/.."
xtest_name=tape_test
source tools/xtest_lib.sh

if [ "${1:-}" = "--inside" ]; then
    program=$2
else
    program=${1:-}
    xtest_require xvfb-run xdotool import
    if [ -z "$program" ]; then
        cmake --preset default >/dev/null
        cmake --build --preset default --target zandrel zandrel-headless
        program=build/default/game/zandrel
    fi
    xtest_in_xvfb 1024x768 120 --inside "$program"
    exit 0
fi

export SDL_VIDEODRIVER=x11
xtest_work
trap 'fail "a command failed on line $LINENO"' ERR
ZANDREL_RECORD=$work/run.tape "$program" 2>"$work/program.err" &
pid=$!
geometry=$(xdotool search --sync --limit 1 --name '^Zandrel$' getwindowgeometry --shell)
left=$(echo "$geometry" | sed -n 's/^X=//p')
top=$(echo "$geometry" | sed -n 's/^Y=//p')
[ -n "$left" ] && [ -n "$top" ] || fail "no window named Zandrel"
sleep 0.5
point() { xdotool mousemove $((left + $1)) $((top + $2)); }
keys() { local key; for key in "$@"; do xdotool key "$key"; sleep 0.1; done; }

# Game > New by mouse, then steering; the ball stays put until a wall
# crashes it, and the crash box's OK is its default button.
point 30 31 && xdotool click 1 && sleep 0.5
point 40 53 && xdotool click 1 && sleep 0.3
for x in 200 300 450 380 250; do point "$x" 250; sleep 0.3; done
xdotool search --sync --limit 1 --name '^Alert$' >/dev/null || fail "no crash box"
sleep 0.3
keys Return
# Options > Pause, Help > Rules and its OK, then Game > Quit.
sleep 0.5
keys F10 Right Down Return
sleep 0.3
keys F10 Left Down Return
xdotool search --sync --limit 1 --name '^Rules$' >/dev/null || fail "Help > Rules shows no box"
sleep 0.3
keys Return
sleep 0.3
keys F10 Down Down Return
xtest_wait_exit || fail "the program is still running after Game > Quit"
[ "$status" = 0 ] || fail "the recording program ended with exit code $status"
[ -s "$work/run.tape" ] && [ -f "$work/run.tape.png" ] || fail "no tape and picture were written"

# The replay, on the headless program beside the real one.
status=0
ZANDREL_REPLAY=$work/run.tape ZANDREL_CAPTURE_DIR=$work "$(dirname "$program")/zandrel-headless" \
    2>"$work/replay.err" || status=$?
[ "$status" = 0 ] || fail "the replay ended with exit code $status: $(cat "$work/replay.err")"
grep -q '^zandrel: the replay matched [1-9][0-9]* checkpoints$' "$work/replay.err" ||
    fail "the replay said: $(cat "$work/replay.err")"
"$xtest_python" - "$work/run.tape.png" "$work/replay-end.png" <<'PY' || fail "the pictures differ"
import sys
from PIL import Image
a, b = (Image.open(p).convert("RGB") for p in sys.argv[1:3])
sys.exit(0 if a.size == b.size and a.tobytes() == b.tobytes() else 1)
PY
# Watching the tape in a real window: as long as the run was, and the same.
status=0
ZANDREL_REPLAY=$work/run.tape "$program" 2>"$work/watch.err" || status=$?
[ "$status" = 0 ] || fail "the replay in a window ended with exit code $status: $(cat "$work/watch.err")"
cmp -s "$work/replay.err" "$work/watch.err" ||
    fail "the replay in a window said: $(cat "$work/watch.err")"
echo "tape_test: $(sed 's/^zandrel: //' "$work/replay.err") of a real-window game" \
    "($(stat -c %s "$work/run.tape") bytes of tape); its last picture is the recorded one"
