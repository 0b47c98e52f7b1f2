#!/bin/bash
# Checks the packages that tools/package wrote to build/packages/, the way
# players get them:
#   - the Debian package: lintian finds no errors; it installs with apt-get;
#     dpkg lists the program, desktop entry, metadata, icons, manual page and
#     licences; the desktop entry and the metadata validate; the manual page
#     renders without warnings; the program, started as the desktop entry's
#     Exec line says, shows its window under Xvfb and ends with exit code 0
#     through its close box; the package is then removed cleanly;
#   - zandrel-dev: lintian finds no errors; it installs with apt-get beside
#     zandrel; dpkg lists the header, the CMake package, the pkg-config files
#     and the licences; the examples build against /usr and run their scripts
#     (tools/outside_test.sh system); both packages are then removed cleanly;
#   - the Windows ZIPs: each holds the program, its README and the licences;
#     each program carries the icon group 101, a version resource and a
#     manifest and needs no DLL beside it; the 64-bit one, unpacked, runs under
#     Wine in Xvfb, where Game > New by keyboard starts play (the score shows)
#     and Game > Quit ends it with exit code 0.
# Installing needs root. Needs what `tools/install-deps ci` installs.
#
#   tools/package_test.sh          checks all three packages
#   tools/package_test.sh deb      only the Debian package
#   tools/package_test.sh windows  only the ZIPs
set -euo pipefail
cd "$(dirname "$0")/.."
xtest_name=package_test
source tools/xtest_lib.sh
here=$(pwd)
version=$(sed -n 's/^project(zandrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
app_id=example.zandrel.Zandrel
packages=build/packages

# Takes a screenshot of the whole X screen into $work/screen.ppm and runs a
# named check of tools/package_pixels.py on it: "window LEFT TOP" (the
# game's idle window at that place), "field-idle" and "field-playing" (the
# blue field found on the screen, without and with the score).
screen_check() {
    shot screen
    pixels package "$work/screen.ppm" "$@"
}

# --- inside Xvfb: the installed program, started by its Exec line ---------
if [ "${1:-}" = "--desktop-run" ]; then
    work=$2
    exec_line=$3
    wm_class=$4
    export SDL_VIDEODRIVER=x11 ZANDREL_SCALE=1
    # The Exec line holds no field codes and no quoting: words separated by
    # spaces.
    read -r -a command <<<"$exec_line"
    "${command[@]}" 2>"$work/program.err" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    window=$(timeout 10 xdotool search --sync --limit 1 --name '^Zandrel$') ||
        fail "no window named Zandrel: $(cat "$work/program.err")"
    # The desktop matches the window to its entry by the window's class.
    xdotool search --classname "^$wm_class\$" | grep -qx "$window" ||
        fail "the window's class is not the desktop entry's StartupWMClass, $wm_class"
    # Its place is asked for once it has settled: a window may be mapped
    # first and moved to its place after.
    sleep 0.5
    geometry=$(xdotool getwindowgeometry --shell "$window")
    left=$(echo "$geometry" | sed -n 's/^X=//p')
    top=$(echo "$geometry" | sed -n 's/^Y=//p')
    screen_check window "$left" "$top" || fail "the window at $left $top is not the game's idle window"
    convert "$work/screen.ppm" "$work/desktop-idle.png"
    # The close box at the caption's right end.
    xdotool mousemove $((left + 626)) $((top + 11)) click 1
    xtest_wait_exit || fail "the program still runs after its close box was clicked"
    trap - EXIT
    [ "$status" = 0 ] || fail "the program ended with exit code $status"
    exit 0
fi

# --- inside Xvfb: the Windows program under Wine ---------------------------
if [ "${1:-}" = "--wine-run" ]; then
    work=$2
    folder=$3
    cd "$folder"
    /usr/lib/wine/wine64 zandrel.exe 2>"$work/wine.err" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    window=$(timeout 30 xdotool search --sync --limit 1 --name '^Zandrel$') ||
        fail "no window named Zandrel under Wine"
    sleep 1
    screen_check field-idle || fail "the window under Wine does not wait for a new game"
    convert "$work/screen.ppm" "$work/wine-idle.png"
    # Keyboard focus for the window; nothing runs the X focus for it here.
    xdotool windowfocus --sync "$window"
    # Game > New: F10 opens the menu bar, Down opens Game, Enter picks New.
    xdotool key F10 && sleep 0.3 && xdotool key Down && sleep 0.3 && xdotool key Return
    sleep 1
    screen_check field-playing || fail "Game > New by keyboard shows no score under Wine"
    convert "$work/screen.ppm" "$work/wine-playing.png"
    # Game > Quit: Down skips the separator on its way from New to Quit.
    xdotool key F10 && sleep 0.3 && xdotool key Down && sleep 0.3
    xdotool key Down && sleep 0.3 && xdotool key Return
    xtest_wait_exit || fail "the program still runs after Game > Quit under Wine"
    trap - EXIT
    [ "$status" = 0 ] || fail "the program ended with exit code $status under Wine"
    exit 0
fi

which=${1:-all}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Screenshots of this run only.
rm -rf build/package_test

# The screenshots the checks looked at, kept for people to see.
keep_screenshots() {
    mkdir -p build/package_test
    local name
    for name in "$@"; do
        cp "$work/$name.png" build/package_test/
    done
}

# --- the Debian package ----------------------------------------------------
deb_checks() {
    local deb=$packages/zandrel_${version}_amd64.deb
    [ -f "$deb" ] || fail "$deb is missing: run tools/package first"
    echo "package_test: $deb"

    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "  depends on: $depends"
    case "$depends" in
    *libsdl2-2.0-0*libc6* | *libc6*libsdl2-2.0-0*) ;;
    *) fail "the dependencies name neither SDL2 nor the C library: $depends" ;;
    esac

    # Errors fail; warnings and informational tags are shown.
    lintian --fail-on error --display-level '>=warning' --tag-display-limit 0 "$deb" ||
        fail "lintian reports errors on $deb"

    if dpkg-query -W -f='${Status}' zandrel 2>/dev/null | grep -q 'ok installed'; then
        apt-get remove -y -q zandrel >/dev/null
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb" >"$work/apt.log" ||
        { cat "$work/apt.log" >&2; fail "apt-get cannot install $deb"; }

    dpkg -L zandrel >"$work/files"
    local expected=(
        /usr/games/zandrel
        "/usr/share/applications/$app_id.desktop"
        "/usr/share/metainfo/$app_id.metainfo.xml"
        /usr/share/man/man6/zandrel.6.gz
        /usr/share/doc/zandrel/copyright
        /usr/share/doc/zandrel/changelog.gz
    )
    local size
    for size in 16 32 48 64 128 256; do
        expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
    done
    local path
    for path in "${expected[@]}"; do
        grep -qx "$path" "$work/files" || fail "dpkg -L zandrel does not list $path"
        [ -f "$path" ] || fail "$path is not installed"
    done
    [ -x /usr/games/zandrel ] || fail "/usr/games/zandrel is not executable"

    # Every icon is the 16-pixel one, each pixel a sharp square block.
    local small=/usr/share/icons/hicolor/16x16/apps/$app_id.png icon
    for size in 16 32 48 64 128 256; do
        icon=/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
        [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] ||
            fail "$icon is not $size by $size pixels"
        convert "$small" -sample "${size}x${size}" "$work/sampled.png"
        [ "$(compare -metric AE "$icon" "$work/sampled.png" null: 2>&1)" = 0 ] ||
            fail "$icon is not the artwork scaled up pixel for pixel"
    done

    grep -q 'Permission is hereby granted' /usr/share/doc/zandrel/copyright ||
        fail "the copyright file lacks the MIT licence"
    grep -q 'Bitstream Vera' /usr/share/doc/zandrel/copyright ||
        fail "the copyright file lacks the font's licence"

    desktop-file-validate "/usr/share/applications/$app_id.desktop" ||
        fail "desktop-file-validate rejects the desktop entry"
    appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" ||
        fail "appstreamcli rejects the metadata"

    # groff's warnings all on; man must render it and say nothing on stderr.
    zcat /usr/share/man/man6/zandrel.6.gz | groff -ww -man -z 2>"$work/groff.err"
    [ ! -s "$work/groff.err" ] || { cat "$work/groff.err" >&2; fail "groff warns on zandrel(6)"; }
    man --warnings -l /usr/share/man/man6/zandrel.6.gz >"$work/man.txt" 2>"$work/man.err"
    [ ! -s "$work/man.err" ] || { cat "$work/man.err" >&2; fail "man warns on zandrel(6)"; }
    grep -q ZANDREL_SCALE "$work/man.txt" || fail "zandrel(6) does not describe ZANDREL_SCALE"

    local exec_line wm_class
    exec_line=$(sed -n 's/^Exec=//p' "/usr/share/applications/$app_id.desktop")
    wm_class=$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$app_id.desktop")
    echo "  starting \"$exec_line\" under Xvfb"
    timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" "$here/tools/package_test.sh" \
        --desktop-run "$work" "$exec_line" "$wm_class" || {
        [ -f "$work/screen.ppm" ] && mkdir -p build/package_test &&
            cp "$work/screen.ppm" build/package_test/desktop-run-failed.ppm
        fail "the installed program did not run as its desktop entry says"
    }
    keep_screenshots desktop-idle

    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q zandrel >"$work/apt.log" ||
        { cat "$work/apt.log" >&2; fail "apt-get cannot remove zandrel"; }
    ! dpkg-query -W -f='${Status}' zandrel 2>/dev/null | grep -q 'ok installed' ||
        fail "zandrel is still installed after apt-get remove"
    for path in "${expected[@]}"; do
        [ ! -e "$path" ] || fail "$path is left after apt-get remove"
    done
    echo "package_test: $deb installed, ran, closed with exit code 0 and was removed"
}

# --- the runtime for programmers ------------------------------------------
dev_checks() {
    local dev=$packages/zandrel-dev_${version}_amd64.deb deb=$packages/zandrel_${version}_amd64.deb
    [ -f "$dev" ] || fail "$dev is missing: run tools/package first"
    echo "package_test: $dev"
    echo "  depends on: $(dpkg-deb -f "$dev" Depends)"
    lintian --fail-on error --display-level '>=warning' --tag-display-limit 0 "$dev" ||
        fail "lintian reports errors on $dev"

    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$dev" "./$deb" >"$work/apt.log" ||
        { cat "$work/apt.log" >&2; fail "apt-get cannot install $dev beside $deb"; }
    dpkg -L zandrel-dev >"$work/dev-files"
    local multiarch path
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
    local expected=(
        /usr/include/zandrel/runtime.h
        /usr/include/zandrel/win32/windows.h
        "/usr/lib/$multiarch/libzandrel_runtime.a"
        "/usr/lib/$multiarch/cmake/Zandrel/ZandrelConfig.cmake"
        "/usr/lib/$multiarch/cmake/Zandrel/ZandrelConfigVersion.cmake"
        "/usr/lib/$multiarch/pkgconfig/zandrel-headless.pc"
        "/usr/lib/$multiarch/pkgconfig/zandrel-sdl.pc"
        /usr/share/doc/zandrel-dev/copyright
    )
    for path in "${expected[@]}"; do
        grep -qx "$path" "$work/dev-files" || fail "dpkg -L zandrel-dev does not list $path"
    done
    [ "$(pkg-config --modversion zandrel-headless)" = "$version" ] ||
        fail "pkg-config does not find zandrel-headless $version"
    tools/outside_test.sh system || fail "the examples do not build against zandrel-dev"

    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q zandrel-dev zandrel >"$work/apt.log" ||
        { cat "$work/apt.log" >&2; fail "apt-get cannot remove zandrel-dev"; }
    for path in "${expected[@]}"; do
        [ ! -e "$path" ] || fail "$path is left after apt-get remove"
    done
    echo "package_test: $dev installed beside zandrel, built the examples and was removed"
}

# --- the Windows ZIPs -------------------------------------------------------
zip_checks() {
    local architecture=$1
    local name=zandrel-$version-windows-$architecture
    local zip=$packages/$name.zip
    [ -f "$zip" ] || fail "$zip is missing: run tools/package first"
    echo "package_test: $zip"
    unzip -Z1 "$zip" >"$work/$name.list"
    local path
    for path in zandrel.exe README.txt LICENSE.txt LICENSES/DejaVu.txt; do
        grep -qx "$name/$path" "$work/$name.list" || fail "$zip does not hold $name/$path"
    done
    unzip -q -o "$zip" -d "$work"
    local exe=$work/$name/zandrel.exe

    case "$architecture:$(file -b "$exe")" in
    x86_64:"PE32+ executable (GUI) x86-64"*) ;;
    i686:"PE32 executable (GUI) Intel 80386"*) ;;
    *) fail "$exe is not a $architecture Windows program: $(file -b "$exe")" ;;
    esac

    wrestool -l "$exe" >"$work/$name.resources"
    grep -q -- '--type=14 --name=101 ' "$work/$name.resources" || fail "$exe has no icon group 101"
    grep -q -- '--type=16 ' "$work/$name.resources" || fail "$exe has no version resource"
    grep -q -- '--type=24 ' "$work/$name.resources" || fail "$exe has no manifest"
    wrestool -x --raw --type=16 "$exe" | iconv -f UTF-16LE -t UTF-8 -c | tr -c '[:print:]' '\n' \
        >"$work/$name.version"
    for path in ProductName Zandrel FileVersion "$version" FileDescription LegalCopyright \
        "Copyright (c) 2026 the Zandrel developers"; do
        grep -qF "$path" "$work/$name.version" || fail "the version resource lacks \"$path\""
    done
    wrestool -x --raw --type=24 "$exe" >"$work/$name.manifest"
    grep -q '<supportedOS Id=' "$work/$name.manifest" ||
        fail "the manifest declares no supported systems"
    grep -q '<gdiScaling[^>]*>true</gdiScaling>' "$work/$name.manifest" ||
        fail "the manifest does not choose how the window scales on dense displays"

    # Only system DLLs: the C++ and GCC run-times are linked in.
    local imports
    imports=$("$architecture-w64-mingw32-objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
    local dll
    for dll in $imports; do
        case "${dll,,}" in
        kernel32.dll | user32.dll | gdi32.dll | ole32.dll | msvcrt.dll | advapi32.dll) ;;
        *) fail "$exe needs $dll beside it" ;;
        esac
    done
    echo "  $(echo "$imports" | tr '\n' ' ')only; icon 101, version $version and manifest inside"
}

wine_run() {
    local name=zandrel-$version-windows-x86_64
    export WINEDEBUG=-all WINEPREFIX=$work/wineprefix
    echo "package_test: $name/zandrel.exe under Wine in a fresh prefix"
    xvfb-run -a sh -c '/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1; /usr/lib/wine/wineserver -w'
    timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$here/tools/package_test.sh" \
        --wine-run "$work" "$work/$name" || {
        [ -f "$work/screen.ppm" ] && mkdir -p build/package_test &&
            cp "$work/screen.ppm" build/package_test/wine-run-failed.ppm
        fail "the Windows program did not play and quit under Wine"
    }
    /usr/lib/wine/wineserver -w
    keep_screenshots wine-idle wine-playing
    echo "package_test: under Wine, Game > New started play and Game > Quit ended with exit code 0"
}

case "$which" in
all | deb | windows) ;;
*) fail "unknown package '$which' (all, deb or windows)" ;;
esac
if [ "$which" != windows ]; then
    [ "$(id -u)" = 0 ] || fail "installing the Debian package needs root"
    deb_checks
    dev_checks
fi
if [ "$which" != deb ]; then
    zip_checks x86_64
    zip_checks i686
    wine_run
fi
echo "package_test: all packages passed"
