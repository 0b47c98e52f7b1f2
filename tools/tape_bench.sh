#!/bin/bash
# The figures of tapes on the headless host: the size of a minute of play,
# the time its replay takes, and what recording costs: the processor time of
# that minute played with and without ZANDREL_RECORD (the busiest frame of
# bench/frame_bench reads nothing through the host, so recording cannot
# show there). Needs /usr/bin/time (Debian's time).
#
#   tools/tape_bench.sh [BUILD_FOLDER]      (default: build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
game=$build/game/zandrel-headless
[ -x "$game" ] || { echo "tape_bench: build $game first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A minute of play: Game > New, the pointer swept across the field every
# 50 ms, every 10 s a crash box answered with OK (Enter does nothing when
# there is none) and a new game; then Game > Quit.
{
    echo "at 500 key F10"
    echo "+20 key Down"
    echo "+20 key Enter"
    for i in $(seq 1 1200); do
        echo "+50 move $((200 + i * 37 % 400)) $((300 + i * 13 % 100))"
        if ((i % 200 == 0)); then
            printf '+0 key Enter\n+20 key F10\n+20 key Down\n+20 key Enter\n'
        fi
    done
    printf '+0 key Enter\n+100 key Alt\n+20 key Down\n+20 key Down\n+20 key Enter\n'
} >"$work/minute.txt"

ZANDREL_SCRIPT=$work/minute.txt ZANDREL_RECORD=$work/minute.tape "$game"
start=$(date +%s%N)
ZANDREL_REPLAY=$work/minute.tape ZANDREL_CAPTURE_DIR=$work "$game" 2>"$work/replay.err"
end=$(date +%s%N)
seconds=$("$build/platform/host/tape/tape-dump" "$work/minute.tape" |
    sed -n 's/^clock \([0-9]*\) us.*/\1/p' | sed -n '1p;$p' | paste -sd' ' |
    awk '{ printf "%.1f", ($2 - $1) / 1e6 }')
bytes=$(stat -c %s "$work/minute.tape")
echo "tape of ${seconds} s of play: $bytes bytes," \
    "$(awk -v b="$bytes" -v s="$seconds" 'BEGIN { printf "%.0f", b * 60 / s / 1024 }') KiB a minute"
echo "replay: $(((end - start) / 1000000)) ms ($(sed 's/^zandrel: //' "$work/replay.err"))"

# The processor time of one play of the minute, in milliseconds (user and
# system), the median of five.
minute_ms() {
    for _ in 1 2 3 4 5; do
        /usr/bin/time -f '%U %S' env ZANDREL_SCRIPT="$work/minute.txt" "$@" "$game" 2>&1 >/dev/null |
            tail -1 | awk '{ printf "%.0f\n", ($1 + $2) * 1000 }'
    done | sort -n | sed -n 3p
}
plain=$(minute_ms)
recording=$(minute_ms ZANDREL_RECORD="$work/again.tape")
echo "processor time of the minute: ${plain} ms without recording, ${recording} ms recording" \
    "($((recording - plain)) ms more, $(awk -v d=$((recording - plain)) 'BEGIN { printf "%.2f", d / 600 }') % of a core)"
