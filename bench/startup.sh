#!/usr/bin/env bash
# Start-up times of the real program under Xvfb, step by step: process start to the disclaimer
# painted, then (after a reader's pause) the OK click to the scan done and to the results window
# painted (the store page's load not included). The program marks its steps in the file
# QUORVIN_STARTUP_TRACE names. Prints the median of several runs, in seconds. Targets on a 2-core
# machine: the disclaimer within 0.25 s, the results within 0.15 s of OK.
# Usage: bench/startup.sh [PROGRAM] [RUNS] [SECONDS READING THE DISCLAIMER, default 1]
set -euo pipefail
program=${1:-build/app/qt/QuorvinBrindlemark}
runs=${2:-7}
reading=${3:-1}
[ -f "$program" ] && [ -x "$program" ] || { echo "startup.sh: $program is not an executable program" >&2; exit 2; }
for tool in Xvfb xdotool bc; do
    command -v "$tool" >/dev/null || { echo "startup.sh: $tool is not installed" >&2; exit 2; }
done

source "$(dirname "$0")/../tests/support/desktop.sh"
start_virtual_display 120
export QT_QPA_PLATFORM=xcb
trace=$(mktemp)
trap 'kill $xvfb_pid 2>/dev/null; rm -f "$trace"' EXIT
export QUORVIN_STARTUP_TRACE=$trace

# Waits up to 20 s for a visible window of the program with the given size; prints its id.
wait_window() {
    local id
    for _ in $(seq 4000); do
        kill -0 "$1" 2>/dev/null || { echo "startup.sh: the program ended early" >&2; return 1; }
        for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            [ "$(xdotool getwindowgeometry "$id" | awk '/Geometry/ {print $2}')" = "$2" ] &&
                { echo "$id"; return 0; }
        done
        sleep 0.005
    done
    echo "startup.sh: no $2 window within 20 s" >&2
    return 1
}

# The time the program marked for a step.
step() { awk -v s="$1" '$1 == s {print $2; exit}' "$trace"; }
# Waits up to 20 s for the program to mark a step.
wait_step() {
    for _ in $(seq 2000); do
        [ -n "$(step "$1")" ] && return 0
        sleep 0.01
    done
    echo "startup.sh: the program never marked $1" >&2
    return 1
}

declare -a painted seen scanned results view
for _ in $(seq "$runs"); do
    : >"$trace"
    start=$(now)
    "$program" >/dev/null 2>&1 &
    pid=$!
    dialog=$(wait_window $pid 410x322)
    wait_step disclaimer-painted
    sleep "$reading"
    xdotool mousemove --window "$dialog" 168 300 click 1
    wait_step results-painted
    wait_window $pid 785x706 >/dev/null
    shown=$(now)
    ok=$(step ok)
    painted+=("$(echo "$(step disclaimer-painted) - $start" | bc -l)")
    scanned+=("$(echo "$(step scan-done) - $ok" | bc -l)")
    results+=("$(echo "$(step results-painted) - $ok" | bc -l)")
    seen+=("$(echo "$shown - $ok" | bc -l)")
    # Where the store page has a web-engine view, it takes its place just after the first paint.
    sleep 0.5
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    [ -z "$(step store-view-shown)" ] || view+=("$(echo "$(step store-view-shown) - $ok" | bc -l)")
done

report() { # label values...
    local label=$1
    shift
    printf '%-38s %.3f s (median of %d)\n' "$label" "$(printf '%s\n' "$@" | median)" "$#"
}
report "process start to disclaimer painted:" "${painted[@]}"
report "OK to scan done:" "${scanned[@]}"
report "OK to results window painted:" "${results[@]}"
report "OK to results window found by xdotool:" "${seen[@]}" # polling included
[ "${#view[@]}" = 0 ] || report "OK to the store page's view shown:" "${view[@]}"
