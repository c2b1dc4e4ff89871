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
            # Windows has Times New Roman and Arial; Wine is given the metric twins Debian has.
            for font in "Times New Roman=Liberation Serif" "Arial=Liberation Sans" \
                "Courier New=Liberation Mono"; do
                "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${font%%=*}" \
                    /d "${font#*=}" /f >/dev/null 2>&1
            done
            "$(dirname "$wine")/wineserver" -w
        fi
    ) 9>"$WINEPREFIX.lock"
fi
[ "${1:-}" = --prepare ] && exit 0
# Wine's server outlives each program for a while, so the next one does not wait for it and the
# prefix's services to start again; it goes 30 s after the last one. The server and the services,
# which the first program of a new server starts, must not hold on to this program's output, or
# whoever reads that output waits for them to go: a trivial program starts them without it.
if "$(dirname "$wine")/wineserver" -p30 </dev/null >/dev/null 2>&1; then
    "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
fi
exec "$wine" "$@"
