#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test, one CMake workflow a build: a
# bounded fuzzing run of every parser of outside input, the Qt-free core under ASan and UBSan, the
# Linux program with its widget, browser, screen-reader and end-to-end tests, and the Windows
# programs (64- and 32-bit) under Wine; last, two releases from fresh clones compared file by file.
# Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh || exit 1

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# The widget tests build the web engine's view directly, as root in CI: without its sandbox.
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1

# One X server for the tests that drive the real programs.
if [ -z "${DISPLAY:-}" ]; then
    Xvfb :91 -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill $xvfb_pid 2>/dev/null' EXIT
    export DISPLAY=:91
fi

# Each workflow's test preset writes ctest-junit.xml into its build folder.
declare -A build_dirs=([fuzz]=build-fuzz [sanitize]=build-sanitize [default]=build
                       [windows-tests-x64]=build-windows-tests-x64
                       [windows-tests-x86]=build-windows-tests-x86)
workflows=(fuzz sanitize default windows-tests-x64 windows-tests-x86)

results=()
for workflow in "${workflows[@]}"; do
    junit="${build_dirs[$workflow]}/ctest-junit.xml"
    rm -f "$junit"
    cmake --workflow --preset "$workflow"
    results+=("$workflow=$junit")
done

# Last, as it takes longest: two releases from fresh clones, compared file by file.
rm -f build-release-test/ctest-junit.xml
cmake -S tests/release -B build-release-test >/dev/null &&
    ctest --test-dir build-release-test --output-on-failure \
        --output-junit "$PWD/build-release-test/ctest-junit.xml"
results+=("release=build-release-test/ctest-junit.xml")

python3 tools/ci/summary.py "${results[@]}"
