#!/usr/bin/env bash
# Builds the static Qt 6.4.2 for 64-bit Windows that the Windows edition links, from Debian 12's
# own qt6-base source package, with Debian's MinGW-w64 (posix threads): Core, Gui, Widgets and
# Test, the windows and offscreen platforms, the windowsvista style and the ico image format.
# Host tools (moc, rcc, uic) come from the installed Linux Qt, which must be 6.4.2 as well.
# Usage: tools/windows/build-qt.sh [PREFIX]   (default: the cache folder tools/windows/qt.sh uses)
# Needs g++-mingw-w64-x86-64, qt6-base-dev, cmake, ninja-build and dpkg-dev; the machine's apt
# sources stay untouched. About 40 minutes on 2 cores; PREFIX ends up about 108 MB.
set -euo pipefail
prefix=$(realpath -m "${1:-${QUORVIN_QT_MINGW:-$HOME/.cache/quorvin/qt6-mingw-static-6.4.2}}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
started=$(date +%s)

# The source package through a deb-src list and apt state of our own.
mkdir -p "$work/apt/lists/partial"
echo "deb-src http://deb.debian.org/debian bookworm main" >"$work/apt/sources.list"
apt_options=(-o Dir::Etc::sourcelist="$work/apt/sources.list" -o Dir::Etc::sourceparts=/nonexistent
             -o Dir::State::Lists="$work/apt/lists")
apt-get "${apt_options[@]}" update
# The same release as the host tools, which the build runs.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
(cd "$work" && apt-get "${apt_options[@]}" source --download-only "qt6-base=$version")
tar -xJf "$work"/qt6-base_*.orig.tar.xz -C "$work"

# Qt's configure wants the compilers named outright.
cat >"$work/mingw.cmake" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# Debian's source drops src/3rdparty/wintab, hence no tablet events. Nothing the program does not
# use is built: no OpenGL, SQL, network, D-Bus, printing or concurrency.
mkdir -p "$work/build"
cd "$work/build"
"$(echo "$work"/qtbase-everywhere-src-*)"/configure -prefix "$prefix" -release -static -static-runtime \
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
    -qt-host-path /usr -nomake examples -nomake tests -no-opengl \
    -no-feature-sql -no-feature-network -no-feature-dbus -no-feature-printsupport \
    -no-feature-concurrent -no-feature-tabletevent \
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz \
    -- -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake"
cmake --build . --parallel "$(nproc)"
cmake --install .

elapsed=$(($(date +%s) - started))
printf 'Static Qt for MinGW-w64 in %s, built in %d min %02d s\n' "$prefix" $((elapsed / 60)) \
    $((elapsed % 60))
