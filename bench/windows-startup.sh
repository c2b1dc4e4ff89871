#!/usr/bin/env bash
# Start-up times of the 64- and 32-bit Windows programs under Wine on a virtual X display: from
# launch to the disclaimer on the screen, and from the OK click to the results window on the
# screen (the store page's load not included), over a recorded machine, with a window manager as
# on a desktop. Wine's server is started first and kept, and one unmeasured run warms the caches,
# so each run measures the program, not Wine's boot. Prints each program's size and the median of
# several runs, in seconds. A bare window of the same title and size (bench/windows/BareWindow.cpp,
# built here with the build's compiler), alone and with the program's manifest and the
# disclaimer's three controls, is timed
# alternately with the program as the yardstick: the program's first window should take at most
# 1.1 times as long as the bare one.
# Usage: bench/windows-startup.sh [RUNS] [ARCH...]   (ARCH: x64, x86; the windows-tests-ARCH
# builds' programs and prefixes, both unless named)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
shift || true
arches=("$@")
[ ${#arches[@]} -gt 0 ] || arches=(x64 x86)
wine_run=$repo/cmake/wine-run.sh
title='^Quorvin - System Memory Information$'

source "$repo/tests/support/desktop.sh"
start_virtual_display 120
start_window_manager
trap 'kill $wm_pid $xvfb_pid 2>/dev/null' EXIT

# Waits for a visible window with the program's title whose X window has the given size (the
# client area; a window manager draws the frame outside it); prints its id.
wait_window() { # width height
    local id geometry
    while true; do
        for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
            geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {print $2}' || true)
            [ "$geometry" = "$1x$2" ] && echo "$id" && return
        done
        sleep 0.005
    done
}

# Starts a program, waits for its 410 x 322 window and ends it; the seconds it took are in shown.
launch_to_window() { # program [argument]
    local start
    start=$(now)
    "$wine_run" "$@" >/dev/null 2>&1 &
    pid=$!
    wait_window 410 322 >/dev/null
    shown=$(echo "$(now) - $start" | bc -l)
    kill $pid
    wait $pid 2>/dev/null || true
}

bench_arch() { # x64|x86
    local build=$repo/build-windows-tests-$1
    local program inspector=$build/tests/app/win32/window-inspector.exe
    program=$(find "$build/app" -name QuorvinBrindlemark.exe 2>/dev/null | head -1)
    [ -n "$program" ] && [ -f "$inspector" ] ||
        { echo "$1: build it first: cmake --workflow --preset windows-tests-$1" >&2; return 1; }
    # The yardsticks: a bare window, and the same carrying the program's manifest with the
    # disclaimer's three controls in it (common controls 6, which Windows loads for them).
    local bare=$build/bench/bare-window.exe styled=$build/bench/bare-window-manifest.exe
    if [ ! "$bare" -nt "$repo/bench/windows/BareWindow.cpp" ] || [ ! "$styled" -nt "$bare" ]; then
        local compiler
        compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake)
        mkdir -p "$build/bench"
        "$compiler" -O2 -municode -mwindows -static "$repo/bench/windows/BareWindow.cpp" -o "$bare"
        printf '#include <winuser.h>\n1 RT_MANIFEST "%s"\n' "$repo/app/QuorvinBrindlemark.manifest" \
            >"$build/bench/manifest.rc"
        "${compiler%g++*}windres" "$build/bench/manifest.rc" -O coff -o "$build/bench/manifest.o"
        "$compiler" -O2 -municode -mwindows -static "$repo/bench/windows/BareWindow.cpp" \
            "$build/bench/manifest.o" -o "$styled"
    fi
    export WINEPREFIX=$build/wineprefix QUORVIN_SNAPSHOT="Z:$repo/tests/support/machine.json"
    if [ "$1" = x86 ]; then export QUORVIN_WINE=/usr/lib/wine/wine; else unset QUORVIN_WINE; fi
    "$wine_run" --prepare
    /usr/lib/wine/wineserver -p
    local to_disclaimer=() to_bare=() to_styled=() to_results=() run start shown clicked results x y
    for run in $(seq 0 "$runs"); do
        launch_to_window "$bare"
        [ "$run" = 0 ] || to_bare+=("$shown")
        launch_to_window "$styled" --controls
        [ "$run" = 0 ] || to_styled+=("$shown")
        start=$(now)
        "$wine_run" "$program" >/dev/null 2>&1 &
        pid=$!
        wait_window 410 322 >/dev/null
        shown=$(now)
        # Found by name, outside the timed span.
        read -r x y < <("$wine_run" "$inspector" Quorvin.Dialog --control OKButton)
        xdotool mousemove "$x" "$y"
        clicked=$(now)
        xdotool click 1
        wait_window 785 706 >/dev/null
        results=$(now)
        kill $pid
        wait $pid 2>/dev/null || true
        [ "$run" = 0 ] && continue # the warm-up
        to_disclaimer+=("$(echo "$shown - $start" | bc -l)")
        to_results+=("$(echo "$results - $clicked" | bc -l)")
    done
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    printf '%s: %s bytes\n' "$1" "$(stat -c %s "$program")"
    local disclaimer_median yardstick median
    disclaimer_median=$(printf '%s\n' "${to_disclaimer[@]}" | median)
    printf '%s: launch to disclaimer: %.3f s (median of %d)\n' "$1" "$disclaimer_median" "$runs"
    for yardstick in bare styled; do
        local -n times=to_$yardstick
        median=$(printf '%s\n' "${times[@]}" | median)
        printf '%s: launch to a %s: %.3f s (median of %d); the disclaimer takes %.2f times as long%s\n' \
            "$1" "$([ $yardstick = bare ] && echo 'bare window' || echo 'bare window with the manifest and three controls')" \
            "$median" "$runs" "$(echo "$disclaimer_median / $median" | bc -l)" \
            "$([ $yardstick = bare ] && echo ' (target: at most 1.10)')"
    done
    printf '%s: OK to results window: %.3f s (median of %d)\n' "$1" \
        "$(printf '%s\n' "${to_results[@]}" | median)" "$runs"
}

for arch in "${arches[@]}"; do bench_arch "$arch"; done
