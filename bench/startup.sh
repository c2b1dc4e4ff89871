#!/usr/bin/env bash
# Start-up times of the real program under Xvfb: from launch to the disclaimer on the screen, and
# from the OK click to the results window on the screen (the store page's load not included).
# Prints the median of several runs, in seconds. Targets on a 2-core machine: under 0.5 s to the
# disclaimer, under 0.15 s from OK to the results.
# Usage: bench/startup.sh [PROGRAM] [RUNS]
set -euo pipefail
program=${1:-build/app/QuorvinBrindlemark}
runs=${2:-7}

source "$(dirname "$0")/../tests/desktop.sh"
start_virtual_display 120
trap 'kill $xvfb_pid 2>/dev/null' EXIT
export QT_QPA_PLATFORM=xcb

# Waits for a visible window of the program with the given size; prints its id.
wait_window() {
    local id
    while true; do
        for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            [ "$(xdotool getwindowgeometry "$id" | awk '/Geometry/ {print $2}')" = "$2" ] &&
                { echo "$id"; return; }
        done
        sleep 0.005
    done
}

to_disclaimer=()
to_results=()
for _ in $(seq "$runs"); do
    start=$(now)
    "$program" >/dev/null 2>&1 &
    pid=$!
    dialog=$(wait_window $pid 410x322)
    shown=$(now)
    xdotool mousemove --window "$dialog" 168 300
    clicked=$(now)
    xdotool click 1
    wait_window $pid 785x706 >/dev/null
    results=$(now)
    kill $pid
    wait $pid 2>/dev/null || true
    to_disclaimer+=("$(echo "$shown - $start" | bc -l)")
    to_results+=("$(echo "$results - $clicked" | bc -l)")
done

printf 'launch to disclaimer: %.3f s (median of %d)\n' "$(printf '%s\n' "${to_disclaimer[@]}" | median)" "$runs"
printf 'OK to results window: %.3f s (median of %d)\n' "$(printf '%s\n' "${to_results[@]}" | median)" "$runs"
