#!/usr/bin/env bash
# As root the real program loads no web engine: once its disclaimer is painted (when it would
# start the engine) and a moment after, none of the engine's libraries is in its memory, nor is
# any engine process its child. An ordinary user is not tested here: their engine runs.
# Usage: root-starts-no-engine.sh PROGRAM SNAPSHOT_JSON
set -uo pipefail
program=$1
[ "$(id -u)" = 0 ] || { echo "root-starts-no-engine: skipped: not run as root"; exit 77; }
trace=$(mktemp)
export QT_QPA_PLATFORM=offscreen QUORVIN_SNAPSHOT=$2 QUORVIN_STARTUP_TRACE=$trace
unset QTWEBENGINE_DISABLE_SANDBOX
"$program" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null; rm -f "$trace"' EXIT
for _ in $(seq 200); do
    grep -q '^disclaimer-painted' "$trace" && break
    sleep 0.1
done
grep -q '^disclaimer-painted' "$trace" || { echo "root-starts-no-engine: FAIL: no disclaimer"; exit 1; }
sleep 2 # the engine would load and start its processes meanwhile
maps=$(cat "/proc/$pid/maps") || { echo "root-starts-no-engine: FAIL: the program ended"; exit 1; }
if grep -q -e 'quorvin-webengine' -e 'libQt6WebEngine' <<<"$maps"; then
    echo "root-starts-no-engine: FAIL: the web engine is loaded"
    exit 1
fi
if pgrep -P "$pid" >/dev/null; then
    echo "root-starts-no-engine: FAIL: the program started $(pgrep -P "$pid" -a)"
    exit 1
fi
echo "root-starts-no-engine: passed: no engine library among $(wc -l <<<"$maps") mappings"
