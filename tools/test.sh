#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the main suite (widgets and
# the real program under Xvfb, the Wine run of the Windows backend, the fuzzer), then the
# Qt-free core under ASan and UBSan, and a bounded fuzzing run. Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh || exit 1

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1

# One X server for the tests that drive the real program.
if [ -z "${DISPLAY:-}" ]; then
    Xvfb :91 -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill $xvfb_pid 2>/dev/null' EXIT
    export DISPLAY=:91
fi

total_passed=0
total_failed=0
status=0

run_ctest() { # preset
    local log
    log=$(mktemp)
    ctest --preset "$1" 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -n "$line" ]; then
        local failed all
        failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
        all=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
        total_failed=$((total_failed + failed))
        total_passed=$((total_passed + all - failed))
    fi
    [ "$rc" = 0 ] || status=1
    rm -f "$log"
}

build_preset() {
    if ! { cmake --preset "$1" && cmake --build --preset "$1"; }; then
        echo "Build '$1' failed" >&2
        status=1
        total_failed=$((total_failed + 1))
        return 1
    fi
}

# A bounded fuzzing run of the SMBIOS parser (clang, ASan, UBSan).
if bash tools/ci/run-fuzzer.sh 60; then
    total_passed=$((total_passed + 1))
else
    echo "The SMBIOS fuzzer found a fault or did not build" >&2
    total_failed=$((total_failed + 1))
    status=1
fi

build_preset sanitize && run_ctest sanitize
build_preset default && run_ctest default

echo "quorvin: $total_passed passed, $total_failed failed"
exit $status
