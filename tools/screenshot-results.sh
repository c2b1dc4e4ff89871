#!/bin/sh
# Screenshot of the filled results window under a virtual X server.
# Usage: tools/screenshot-results.sh [build-dir] [output.png]
# Needs xvfb-run (package xvfb) and import (package imagemagick).
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build"}
out=${2:-"$build/form1-screenshot.png"}

cmake --build "$build" --target quorvin_form1_preview
preview="$build/tests/forms/qt/quorvin_form1_preview"

# The web engine refuses to run as root with its sandbox.
export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY || true

xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" sh -c '
    "$1" 12 &
    app=$!
    sleep 8
    import -window root "$2"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
' screenshot "$preview" "$out"
echo "Screenshot written to $out"
