#!/usr/bin/env bash
# Installs what is needed, builds, and starts Quorvin on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
program=build/app/qt/QuorvinBrindlemark
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: start it under a virtual one, e.g.  xvfb-run -a -s '-screen 0 1280x1024x24' $program" >&2
    exit 1
fi
exec "$program"
