#!/bin/sh
# Builds the SMBIOS parser's libFuzzer target with clang and runs it for a bounded time on the
# seeds the tests' table builder writes. Usage: tools/ci/run-fuzzer.sh [seconds] (default 60).
# A crash, a sanitizer report or a leak makes the script fail; the reproducer stays in the
# build directory (crash-*, leak-*, timeout-*).
set -eu

seconds=${1:-60}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${QUORVIN_FUZZ_BUILD_DIR:-"$source_dir/build-fuzz"}

cmake -S "$source_dir" -B "$build_dir" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 \
    -DQUORVIN_BUILD_FUZZERS=ON \
    -DQUORVIN_BUILD_GUI=OFF \
    -DQUORVIN_BUILD_BENCHMARKS=OFF
cmake --build "$build_dir" --target smbios_fuzzer smbios-seed-corpus

corpus="$build_dir/smbios-fuzz-corpus"
mkdir -p "$corpus"
"$build_dir/tests/linux/smbios-seed-corpus" "$corpus"

cd "$build_dir"
"$build_dir/tests/linux/fuzz/smbios_fuzzer" -max_total_time="$seconds" -max_len=65536 \
    -timeout=10 -print_final_stats=1 "$corpus"
