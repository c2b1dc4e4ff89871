#!/usr/bin/env bash
# Puts the static Qt for MinGW-w64 that the Windows build uses in place, and prints its folder:
# QUORVIN_QT_MINGW, or the user's cache folder. A tree already there is used as it is; otherwise
# the prebuilt archive beside the project (../shared/qt6-mingw-static/, or QUORVIN_QT_MINGW_ARCHIVE)
# is unpacked there. Without either it says how to build one and fails.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
prefix=${QUORVIN_QT_MINGW:-$HOME/.cache/quorvin/qt6-mingw-static-6.4.2}
archive=${QUORVIN_QT_MINGW_ARCHIVE:-$repo/../shared/qt6-mingw-static/qt6-mingw-static-6.4.2.tar.xz}

if [ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    echo "$prefix"
    exit 0
fi
if [ ! -f "$archive" ]; then
    echo "no static Qt for MinGW-w64 in $prefix, and no archive at $archive;" \
        "build one with: bash tools/windows/build-qt.sh (about 40 minutes on 2 cores)" >&2
    exit 1
fi
# Unpacked beside its final place and moved there whole, so a broken unpacking leaves nothing.
parent=$(dirname "$prefix")
mkdir -p "$parent"
unpacked=$(mktemp -d "$parent/.qt-unpack.XXXXXX")
trap 'rm -rf "$unpacked"' EXIT
tar -xJf "$archive" -C "$unpacked"
mv "$unpacked"/qt6-mingw-static-6.4.2 "$prefix"
echo "$prefix"
