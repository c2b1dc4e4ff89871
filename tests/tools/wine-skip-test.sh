#!/usr/bin/env bash
# The rule for Windows suites on a machine that cannot run their programs, end to end in small: a
# project registers one Windows program's tests and one check that runs no Windows code, ctest runs
# it, and the test command's summary reads ctest's JUnit file. Where the probe fails (pretended, or a
# loader that cannot start), the program's tests are skipped with the reason and the run passes;
# where it succeeds, they run and their failure counts.
# Usage: wine-skip-test.sh REPOSITORY WORK_DIR
set -uo pipefail
repository=$(realpath "$1")
work=$(realpath -m "$2")
rm -rf "$work"
mkdir -p "$work/project"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A loader that runs, and one refused as the kernel refuses a 32-bit program on such a machine.
printf '#!/bin/sh\nexit 0\n' >"$work/loader-runs"
printf '#!/bin/sh\necho "cannot execute binary file: Exec format error" >&2\nexit 126\n' \
    >"$work/loader-refused"
chmod +x "$work/loader-runs" "$work/loader-refused"

cat >"$work/project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(WineSkip NONE)
enable_testing()
list(APPEND CMAKE_MODULE_PATH "$repository/cmake")
include(WineTests)
quorvin_probe_wine(\${LOADER} x86)
if(quorvin_wine_skip_reason)
    quorvin_add_skipped_wine_test(windows_program_tests)
else()
    # Stands in for a Windows test program that runs and fails.
    add_test(NAME windows_program_tests COMMAND false)
endif()
add_test(NAME pe_facts COMMAND true)
CMAKE

# Configures, runs and sums up the project with LOADER; prints the summary, returns its exit code.
run() {
    local name=$1 loader=$2
    shift 2
    local build=$work/build-$name
    env "$@" cmake -S "$work/project" -B "$build" -DLOADER="$loader" >"$build.log" 2>&1 ||
        { cat "$build.log"; return 99; }
    ctest --test-dir "$build" --output-junit "$build/junit.xml" >>"$build.log" 2>&1
    python3 "$repository/tools/ci/summary.py" "windows-tests-x86=$build/junit.xml"
}

# name | loader | environment | expected exit code | expected summary lines
while IFS='|' read -r name loader environment status lines; do
    summary=$(run "$name" "$work/$loader" $environment)
    got=$?
    [ "$got" = "$status" ] || fail "$name: the summary exited with $got, not $status: $summary"
    IFS=';' read -ra wanted <<<"$lines"
    for line in "${wanted[@]}"; do
        grep -qxF "$line" <<<"$summary" || fail "$name: no line \"$line\" in: $summary"
    done
done <<'TABLE'
pretended|loader-runs|QUORVIN_TEST_PRETEND_NO_32BIT=1|0|windows-tests-x86: 1 passed, 0 failed, 1 skipped (this machine cannot run 32-bit programs);quorvin: 1 passed, 0 failed, 1 skipped
refused|loader-refused|-u QUORVIN_TEST_PRETEND_NO_32BIT|0|windows-tests-x86: 1 passed, 0 failed, 1 skipped (this machine cannot run 32-bit programs);quorvin: 1 passed, 0 failed, 1 skipped
missing|no-such-loader|-u QUORVIN_TEST_PRETEND_NO_32BIT|0|quorvin: 1 passed, 0 failed, 1 skipped
runs|loader-runs|-u QUORVIN_TEST_PRETEND_NO_32BIT|1|windows-tests-x86: 1 passed, 1 failed, 0 skipped;quorvin: 1 passed, 1 failed, 0 skipped
TABLE

# A run whose JUnit file is missing did not build: one failure, never a pass.
summary=$(python3 "$repository/tools/ci/summary.py" "windows-tests-x86=$work/none.xml")
[ $? = 1 ] && grep -qxF "quorvin: 0 passed, 1 failed, 0 skipped" <<<"$summary" ||
    fail "a missing JUnit file was not counted as a failure: $summary"

[ "$failures" = 0 ] && echo "wine-skip-test: passed"
[ "$failures" = 0 ]
