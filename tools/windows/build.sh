#!/usr/bin/env bash
# Cross-builds QuorvinBrindlemark.exe for 64-bit and for 32-bit Windows with Debian's MinGW-w64:
# two files, each one needing nothing beside it, under BUILD_DIR/x64/ and BUILD_DIR/x86/.
# Usage: tools/windows/build.sh BUILD_DIR [CMAKE_ARGS...]; the arguments go to CMake after the
# presets' (-DQUORVIN_STORE_HOST=..., for instance). Prints the two programs' paths.
# Needs what tools/install-deps.sh installs (g++-mingw-w64-x86-64, g++-mingw-w64-i686, cmake, ninja).
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: tools/windows/build.sh BUILD_DIR [CMAKE_ARGS...]" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "$1")
shift
cd "$repo"
for arch in x64 x86; do
    cmake --preset "windows-$arch" -B "$build/$arch" "$@" >&2
    cmake --build "$build/$arch" --target QuorvinBrindlemark >&2
done
for arch in x64 x86; do
    echo "$build/$arch/app/win32/QuorvinBrindlemark.exe"
done
