#!/bin/bash
# Measures the game in a real window on a virtual X server: the process's
# CPU use in the start wait and while playing for 20 seconds, the period
# between frames reaching the screen (median and 99th percentile), and the
# latency from an injected mouse move to the first pixels presented after
# it. Needs xvfb-run, xdotool and python3; prints the figures.
#
#   tools/window_bench.sh [path/to/zandrel] [seconds of play] [CPU hogs] [steer]
#
# With a number of CPU hogs, that many busy processes run beside the game
# for the whole measurement, to see how the pacing holds up under load.
# With steer 0 the mouse stays where it is during play: the frame period is
# then measured without the X server and the processor also serving an
# xdotool process four times a second (and no latency is measured).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inside" ]; then
    program=${1:-}
    if [ -z "$program" ]; then
        cmake --preset default >/dev/null
        cmake --build --preset default --target zandrel >/dev/null
        program=build/default/game/zandrel
    fi
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$program" "${2:-20}" "${3:-0}" "${4:-1}"
fi

program=$2
seconds=$3
hogs=$4
steer=$5
work=$(mktemp -d)
hog_pids=()
trap 'kill $pid "${hog_pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq "$hogs"); do
    sh -c 'while :; do :; done' &
    hog_pids+=($!)
done
export SDL_VIDEODRIVER=x11 ZANDREL_SCALE=1 ZANDREL_HOST_TRACE=$work/trace
"$program" 2>"$work/program.err" &
pid=$!
geometry=$(xdotool search --sync --limit 1 --name '^Zandrel$' getwindowgeometry --shell)
left=$(echo "$geometry" | sed -n 's/^X=//p')
top=$(echo "$geometry" | sed -n 's/^Y=//p')
sleep 1

python3 tools/window_bench.py "$pid" "$left" "$top" "$seconds" "$work/trace" "$hogs" "$steer"
