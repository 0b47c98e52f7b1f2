# What the real-window, window-manager and package tests share, sourced by
# each: the virtual X server, failing with what the program said and the
# last screenshot, screenshots and the pixel questions about them, and
# waiting for a condition. Before sourcing, a script sets `xtest_name` (the
# word its messages start with); the helpers use `work` (a folder of the
# run's files), `pid` (the program under test, when one runs) and
# `helpers` (other processes to end with the run).
#
# The pixel questions are Python (tools/*_pixels.py) and read screenshots
# with Pillow, which Debian's own interpreter has.
xtest_python=/usr/bin/python3
xtest_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
pid=${pid:-}
helpers=()

# Ends the run when a tool the test needs is missing.
xtest_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "$xtest_name: $tool is missing" >&2; exit 1; }
    done
    "$xtest_python" -c 'import PIL' 2>/dev/null ||
        { echo "$xtest_name: Pillow is missing for $xtest_python (python3-pil)" >&2; exit 1; }
}

# Runs this script again with ARGS inside a virtual X server of SIZE
# (WIDTHxHEIGHT), for at most SECONDS.
xtest_in_xvfb() {
    local size=$1 seconds=$2
    shift 2
    timeout "$seconds" xvfb-run -a -s "-screen 0 ${size}x24" "$0" "$@"
}

# A fresh folder for the run's files, removed with the program and helpers
# when the script ends.
xtest_work() {
    work=$(mktemp -d)
    trap xtest_finish EXIT
}

xtest_finish() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
    fi
    local helper
    for helper in "${helpers[@]}"; do
        kill "$helper" 2>/dev/null || true
    done
    [ -z "${work:-}" ] || rm -rf "$work"
}

# Says what went wrong, what the program said on standard error, and where
# the last screenshot is kept; ends the run.
fail() {
    echo "$xtest_name: $*" >&2
    if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
        local status=0
        wait "$pid" || status=$?
        pid=
        echo "$xtest_name: the program ended early with exit code $status" >&2
    fi
    if [ -n "${work:-}" ] && [ -s "$work/program.err" ]; then
        echo "$xtest_name: the program wrote on standard error:" >&2
        sed 's/^/    /' "$work/program.err" >&2
    fi
    if [ -n "${work:-}" ] && [ -f "$work/screen.ppm" ]; then
        mkdir -p "build/$xtest_name"
        cp "$work/screen.ppm" "build/$xtest_name/failed.ppm"
        echo "$xtest_name: the last screenshot is build/$xtest_name/failed.ppm" >&2
    fi
    exit 1
}

# Takes a screenshot of the whole screen as $work/NAME.ppm, which is also
# the last screenshot that a failure keeps.
shot() {
    import -window root -depth 8 "$work/$1.ppm"
    [ "$1" = screen ] || cp "$work/$1.ppm" "$work/screen.ppm"
}

# Asks a pixel question of tools/NAME_pixels.py: `pixels NAME ARGS...`;
# the tree gets no compiled Python of it.
pixels() {
    local name=$1
    shift
    PYTHONDONTWRITEBYTECODE=1 "$xtest_python" "$xtest_tools/${name}_pixels.py" "$@"
}

# Waits for a condition, checked ten times a second for up to five seconds
# (or TENTHS tenths of a second).
wait_for() {
    local tenths=${2:-50}
    for _ in $(seq "$tenths"); do
        if eval "$1"; then return 0; fi
        sleep 0.1
    done
    return 1
}

# Waits up to ten seconds for the program to end; its exit code is then in
# `status` and `pid` is cleared.
xtest_wait_exit() {
    wait_for '! kill -0 $pid 2>/dev/null' 100 || return 1
    status=0
    wait "$pid" || status=$?
    pid=
}
