#!/bin/sh
# Cross-builds the Windows backend and its test program with MinGW-w64 and runs the program
# under Wine against Wine's own WMI. Usage: run-wine-tests.sh [BUILD_DIR]
# Exits 77 (a skip for ctest) when MinGW-w64 or Wine is not installed.
set -eu

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$source_dir/build-wine}

skip() {
    echo "run-wine-tests: skipped: $1" >&2
    exit 77
}

command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 ||
    command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1 ||
    skip "MinGW-w64 is not installed (Debian package g++-mingw-w64-x86-64)"
# Debian puts the 64-bit loader outside PATH; the "wine" front end asks for wine32 as well.
wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; } ||
    wine=$(command -v wine || true)
[ -n "$wine" ] || skip "Wine is not installed (Debian package wine64)"

generator=
command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
# shellcheck disable=SC2086
cmake -S "$source_dir" -B "$build_dir" $generator \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DQUORVIN_BUILD_GUI=OFF -DQUORVIN_BUILD_TESTS=OFF -DQUORVIN_BUILD_BENCHMARKS=OFF \
    -DQUORVIN_BUILD_WINE_TESTS=ON >/dev/null
cmake --build "$build_dir" --target quorvin_wine_tests

# A prefix of our own, made quietly: no debug output, no display needed, and no offer to
# install Mono or Gecko, which nothing here uses.
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run-wine-tests: making the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1
    "$wineserver" -w
fi

status=0
"$wine" "$build_dir/tests/windows/quorvin_wine_tests.exe" || status=$?
"$wineserver" -k 2>/dev/null || true
exit $status
