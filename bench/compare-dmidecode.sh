#!/bin/sh
# Times "wmi-dump --json --smbios FILE" against "dmidecode --from-dump FILE" on the same file in
# one hyperfine run, counts the instructions each runs (valgrind's callgrind, the dynamic loader's
# included: a count does not vary with the machine's load as a time does), and prints how many
# times more (>1) or fewer (<1) wmi-dump takes of each.
# Usage: bench/compare-dmidecode.sh [FILE]   (default: the server table the tests' builder makes)
# Needs hyperfine, valgrind, dmidecode and python3; builds wmi-dump with the bench preset, in
# build-bench.
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$source_dir/build-bench"
cd "$source_dir"
cmake --preset bench >/dev/null
cmake --build --preset bench --target wmi-dump smbios-seed-corpus >/dev/null

file=${1:-}
if [ -z "$file" ]; then
    "$build_dir/tests/platform/linux/smbios-seed-corpus" "$build_dir/smbios-samples"
    file="$build_dir/smbios-samples/v3-server.bin"
fi
[ -r "$file" ] || { echo "compare-dmidecode: cannot read $file" >&2; exit 2; }

wmi_dump="$build_dir/wmi-dump/wmi-dump"
"$wmi_dump" --json --smbios "$file" >/dev/null # fails here, not inside hyperfine
results="$build_dir/compare-dmidecode.json"
hyperfine --warmup 20 --min-runs 200 -N --export-json "$results" \
    -n wmi-dump "$wmi_dump --json --smbios $file" \
    -n dmidecode "dmidecode --from-dump $file"

# Instructions of one run, from callgrind's totals.
instructions() { # name command...
    out="$build_dir/callgrind.$1.out"
    shift
    valgrind --tool=callgrind --callgrind-out-file="$out" "$@" >/dev/null 2>&1
    sed -n 's/^summary: *\([0-9]*\).*/\1/p' "$out"
}
ours_ir=$(instructions wmi-dump "$wmi_dump" --json --smbios "$file")
theirs_ir=$(instructions dmidecode dmidecode --from-dump "$file")

python3 - "$results" "$ours_ir" "$theirs_ir" <<'PY'
import json, sys
runs = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
ours, theirs = runs["wmi-dump"]["mean"], runs["dmidecode"]["mean"]
ours_ir, theirs_ir = int(sys.argv[2]), int(sys.argv[3])
print(f"wmi-dump {ours * 1e3:.3f} ms, dmidecode {theirs * 1e3:.3f} ms (means)")
print(f"ratio wmi-dump / dmidecode: {ours / theirs:.2f}")
print(f"wmi-dump {ours_ir:,} instructions, dmidecode {theirs_ir:,} (callgrind)")
print(f"instruction ratio wmi-dump / dmidecode: {ours_ir / theirs_ir:.2f}")
PY
