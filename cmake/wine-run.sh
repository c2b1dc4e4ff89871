#!/bin/sh
# Runs a Windows program under Wine, quietly, in the prefix WINEPREFIX names (by default one in the
# user's cache folder), making the prefix first when it is new. ctest starts every Windows test
# program through this. Usage: wine-run.sh PROGRAM.exe [ARGUMENTS...], or wine-run.sh --prepare
# to make the prefix and stop.
set -eu
wine=${QUORVIN_WINE:-/usr/lib/wine/wine64}
if [ ! -x "$wine" ]; then
    wine=$(command -v wine64 || command -v wine || true)
    [ -n "$wine" ] || { echo "wine-run: Wine is not installed (Debian package wine64)" >&2; exit 77; }
fi
export WINEPREFIX="${WINEPREFIX:-$HOME/.cache/quorvin/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No offer to install Mono or Gecko, which nothing here uses.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"
# Wine keeps this machine's QT_* variables from Windows programs and hands WINEQT_* on under the
# name without its prefix, so the Qt settings of a test reach the Windows program that way.
for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$name=\"\${$name}\""
done
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # Tests run side by side: one of them makes the prefix, the others wait for it.
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            "$wine" wineboot -i >/dev/null 2>&1
            "$(dirname "$wine")/wineserver" -w
        fi
    ) 9>"$WINEPREFIX.lock"
fi
[ "${1:-}" = --prepare ] && exit 0
exec "$wine" "$@"
