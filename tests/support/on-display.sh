#!/usr/bin/env bash
# Runs a Qt test program on a virtual X display of its own (Qt's xcb platform) with a window
# manager, for what the offscreen platform cannot do: it opens no address with the desktop's
# programs, and makes no window active. Xvfb picks a free display number itself, so tests that
# run at the same time never meet on one.
# Usage: on-display.sh PROGRAM [ARGS...]
set -uo pipefail
for tool in Xvfb xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "on-display: skipped: $tool is not installed"; exit 77; }
done
source "$(dirname "$0")/desktop.sh"
number=$(mktemp)
wm_pid=
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $wm_pid $xvfb_pid 2>/dev/null; wait 2>/dev/null; rm -f "$number"' EXIT
for _ in $(seq 200); do
    [ -s "$number" ] && DISPLAY=:$(head -n 1 "$number") xdpyinfo >/dev/null 2>&1 && break
    sleep 0.05
done
[ -s "$number" ] || { echo "on-display: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n 1 "$number")
command -v openbox >/dev/null && start_window_manager
QT_QPA_PLATFORM=xcb "$@"
