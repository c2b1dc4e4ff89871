#!/usr/bin/env bash
# Cross-builds QuorvinBrindlemark.exe for 64-bit Windows with MinGW-w64 and the static Qt: one
# file that needs nothing beside it. Usage: tools/windows/build.sh BUILD_DIR [CMAKE_ARGS...]; the
# arguments go to CMake after the windows preset's (-DQUORVIN_STORE_HOST=..., for instance).
# Needs what tools/install-deps.sh installs.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: tools/windows/build.sh BUILD_DIR [CMAKE_ARGS...]" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "$1")
shift
QUORVIN_QT_MINGW=$(bash "$repo/tools/windows/qt.sh")
export QUORVIN_QT_MINGW
cd "$repo"
cmake --preset windows -B "$build" "$@"
cmake --build "$build" --target QuorvinBrindlemark
echo "$build/app/QuorvinBrindlemark.exe"
