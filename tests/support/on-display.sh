#!/usr/bin/env bash
# Runs a Qt test program on a virtual X display of its own (Qt's xcb platform), for what the
# offscreen platform cannot do: it opens no address with the desktop's programs.
# Usage: on-display.sh DISPLAY_BASE PROGRAM [ARGS...]
set -uo pipefail
wm_pid=
command -v Xvfb >/dev/null || { echo "on-display: skipped: Xvfb is not installed"; exit 77; }
source "$(dirname "$0")/desktop.sh"
start_virtual_display "$1" || exit 1
shift
# A window is made active only by a window manager.
command -v openbox >/dev/null && start_window_manager
trap 'kill $wm_pid $xvfb_pid 2>/dev/null; wait 2>/dev/null' EXIT
QT_QPA_PLATFORM=xcb "$@"
