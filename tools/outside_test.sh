#!/usr/bin/env bash
# Builds the examples as programs outside the tree, as a programmer who
# installed the runtime builds them: each example's folder alone, configured
# with find_package(Zandrel) against an installation, then run.
#
#   tools/outside_test.sh linux [BUILD]     cmake --install BUILD (build/default)
#                                           to a temporary prefix; each example's
#                                           NAME-headless runs its script, and is
#                                           built once more with pkg-config
#   tools/outside_test.sh web [BUILD]       the same from build/web with emcmake;
#                                           the page's files are all there and
#                                           the page opens in headless Chromium
#   tools/outside_test.sh windows [BUILD]   the same from build/mingw-x86_64 with
#                                           MinGW-w64; NAME.exe carries its
#                                           resources, opens under Wine and ends
#                                           with code 0 when closed
#   tools/outside_test.sh system            against the installed zandrel-dev
#                                           package, under /usr, as linux does
#
# The build named must have been built (its runtime libraries at least).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# The examples, as folder:window title. Each examples/NAME builds the
# program NAME and has the script examples/NAME/NAME.txt for the headless host.
EXAMPLES=(
    hello:Hello
    scribble:Scribble
    clocks:Clocks
)

fail() {
    echo "outside_test: $*" >&2
    exit 1
}

# The window appears under Wine; Alt+F4 closes it and the program ends
# with code 0.
wine_close() {
    local exe=$1 title=$2
    /usr/lib/wine/wine64 "$exe" 2>"${exe%.exe}.wine.err" &
    local pid=$!
    local window
    window=$(timeout 30 xdotool search --sync --limit 1 --name "^$title\$") ||
        { kill $pid; fail "no window \"$title\" of $exe under Wine"; }
    sleep 1
    xdotool windowfocus --sync "$window" key alt+F4
    local status=0
    timeout 30 tail --pid=$pid -f /dev/null || { kill $pid; fail "$exe still runs after Alt+F4"; }
    wait $pid || status=$?
    [ "$status" = 0 ] || fail "$exe ended with code $status under Wine"
}

which=${1:-}
case "$which" in
--wine-close)
    wine_close "$2" "$3"
    exit 0
    ;;
linux) build=${2:-build/default} ;;
web) build=${2:-build/web} ;;
windows) build=${2:-build/mingw-x86_64} ;;
system) build="" ;;
*) fail "usage: outside_test.sh linux|web|windows [BUILD] or outside_test.sh system" ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
if [ -n "$build" ]; then
    [ -f "$build/CMakeCache.txt" ] || fail "$build is not a configured build"
    cmake --install "$build" --prefix "$prefix" --component dev >/dev/null
    echo "outside_test: $build installed to a temporary prefix"
fi

# Configures and builds one example in a folder of its own; extra
# arguments go to the configure step.
build_example() {
    local name=$1 out=$2
    shift 2
    "$@" -S "$root/examples/$name" -B "$out" -G Ninja >"$work/$name.configure" 2>&1 ||
        { cat "$work/$name.configure" >&2; fail "$name does not configure"; }
    cmake --build "$out" >"$work/$name.build" 2>&1 ||
        { cat "$work/$name.build" >&2; fail "$name does not build"; }
}

# Runs a headless program with its example's script; it must end with code
# 0 and write every capture the script names. The host's check of its
# settings, which nothing calls, must have been linked in.
run_script() {
    local name=$1 program=$2
    nm -C "$program" >"$work/symbols"
    grep -q ' headless_settings_before_main$' "$work/symbols" ||
        fail "$program lacks the headless host's check of its settings"
    local captures=$work/$name-captures
    mkdir -p "$captures"
    ZANDREL_SCRIPT=$root/examples/$name/$name.txt ZANDREL_CAPTURE_DIR=$captures \
        ZANDREL_TIME_LIMIT=60 "$program" || fail "$program ended with code $? on its script"
    local capture
    sed -n 's/.*capture[-a-z]* .* \([^ ]*\.png\)$/\1/p' "$root/examples/$name/$name.txt" |
        while read -r capture; do
            [ -s "$captures/$capture" ] || fail "$program wrote no $capture"
        done
}

# The same sources with the compiler and pkg-config alone.
pkg_config_build() {
    local name=$1
    export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
    # shellcheck disable=SC2046
    g++ -std=c++20 "$root/examples/$name/"*.cpp -o "$work/$name-pc" \
        $(pkg-config --cflags --libs zandrel-headless) || fail "$name does not build with pkg-config"
    run_script "$name" "$work/$name-pc"
}

linux_example() {
    local name=$1
    local out=$work/$name
    if [ -n "$build" ]; then
        build_example "$name" "$out" cmake -DCMAKE_PREFIX_PATH="$prefix"
    else
        build_example "$name" "$out" cmake
    fi
    [ -x "$out/$name" ] || fail "$name built no $name for real windows"
    run_script "$name" "$out/$name-headless"
    [ -z "$build" ] || pkg_config_build "$name"
    echo "outside_test: $name built and ran its script"
}

web_example() {
    local name=$1 title=$2
    local out=$work/$name
    export NODE_PATH=/usr/share/nodejs
    build_example "$name" "$out" emcmake cmake -DZandrel_DIR="$prefix/lib/cmake/Zandrel"
    local file
    for file in "$name.html" index.html "$name.js" "$name.wasm" page.js page.css \
        manifest.webmanifest worker.js; do
        [ -s "$out/$file" ] || fail "the page of $name lacks $file"
    done
    [ -d tests/web/node_modules ] || (cd tests/web && npm ci --no-audit --no-fund >/dev/null)
    node tests/web/outside_page.mjs "$out" "$name" "$title" ||
        fail "the page of $name shows no window \"$title\""
    echo "outside_test: $name built as a page that opens in Chromium"
}

windows_example() {
    local name=$1 title=$2
    local out=$work/$name
    build_example "$name" "$out" cmake -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" \
        -DZandrel_DIR="$prefix/lib/cmake/Zandrel"
    local exe=$out/$name.exe
    case "$(file -b "$exe")" in
    "PE32+ executable (GUI) x86-64"*) ;;
    *) fail "$exe is not a 64-bit Windows GUI program" ;;
    esac
    wrestool -l "$exe" >"$work/$name.resources"
    local type
    for type in 14 16 24; do
        grep -q -- "--type=$type " "$work/$name.resources" || fail "$exe lacks resource type $type"
    done
    # The prefix CI made for the Windows tests serves here too.
    export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$work/wineprefix}
    [ -f "$WINEPREFIX/system.reg" ] ||
        xvfb-run -a sh -c '/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1; /usr/lib/wine/wineserver -w'
    timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$root/tools/outside_test.sh" \
        --wine-close "$exe" "$title"
    /usr/lib/wine/wineserver -w
    echo "outside_test: $name.exe built with its resources, opened and closed under Wine"
}

# The Windows installation refuses a build for Linux, saying why.
if [ "$which" = windows ]; then
    if cmake -S "$root/examples/hello" -B "$work/refused" -G Ninja \
        -DZandrel_DIR="$prefix/lib/cmake/Zandrel" >"$work/refused.log" 2>&1 ||
        ! grep -q 'is built for windows' "$work/refused.log"; then
        cat "$work/refused.log" >&2
        fail "the Windows installation does not refuse a build for Linux"
    fi
fi

for example in "${EXAMPLES[@]}"; do
    name=${example%%:*}
    title=${example#*:}
    case "$which" in
    linux | system) linux_example "$name" ;;
    web) web_example "$name" "$title" ;;
    windows) windows_example "$name" "$title" ;;
    esac
done
echo "outside_test: $which: all examples passed"
