#!/usr/bin/env bash
# Start-up times of the Windows program under Wine on a virtual X display: from launch to the
# disclaimer on the screen, and from the OK click to the results window on the screen (the store
# page's load not included), over a recorded machine, with a window manager as on a desktop. Wine's own server is started first and kept,
# and one unmeasured run warms the caches, so each run measures the program, not Wine's boot.
# Prints the median of several runs, in seconds.
# Usage: bench/windows-startup.sh [PROGRAM.exe] [RUNS]   (WINEPREFIX: a prefix of your own)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$repo/build-windows-tests/app/QuorvinBrindlemark.exe}
runs=${2:-5}
export WINEPREFIX=${WINEPREFIX:-$repo/build-windows-tests/wineprefix}
export QUORVIN_SNAPSHOT="Z:$repo/tests/app/machine.json"
wine_run=$repo/cmake/wine-run.sh

source "$repo/tests/desktop.sh"
start_virtual_display 120
start_window_manager
"$wine_run" --prepare
/usr/lib/wine/wineserver -p
trap '/usr/lib/wine/wineserver -k 2>/dev/null; kill $wm_pid $xvfb_pid 2>/dev/null' EXIT
sleep 1

# Waits for a visible window with the program's title whose client area has the given size (Wine
# draws a tool window's frame inside the X window); prints its id and the client area's origin.
wait_window() { # width height
    local id geometry w h
    while true; do
        for id in $(xdotool search --onlyvisible --name '^Quorvin - System Memory Information$' 2>/dev/null); do
            geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {print $2}' || true)
            [ -n "$geometry" ] || continue
            w=${geometry%x*} h=${geometry#*x}
            if [ "$w" -ge "$1" ] && [ $((w - $1)) -le 16 ] && [ "$h" -ge "$2" ] &&
                [ $((h - $2)) -le 40 ]; then
                echo "$id $(((w - $1) / 2)) $((h - $2 - (w - $1) / 2))"
                return
            fi
        done
        sleep 0.005
    done
}

to_disclaimer=()
to_results=()
for run in $(seq 0 "$runs"); do
    start=$(now)
    "$wine_run" "$program" >/dev/null 2>&1 &
    pid=$!
    read -r dialog x y < <(wait_window 410 322)
    shown=$(now)
    xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
    xdotool mousemove --window "$dialog" $((x + 168)) $((y + 300))
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

printf 'launch to disclaimer: %.3f s (median of %d)\n' "$(printf '%s\n' "${to_disclaimer[@]}" | median)" "$runs"
printf 'OK to results window: %.3f s (median of %d)\n' "$(printf '%s\n' "${to_results[@]}" | median)" "$runs"
