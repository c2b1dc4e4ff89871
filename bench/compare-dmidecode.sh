#!/bin/sh
# Times "wmi-dump --json --smbios FILE" against "dmidecode --from-dump FILE" on the same file in
# one hyperfine run and prints how many times slower (>1) or faster (<1) wmi-dump is.
# Usage: bench/compare-dmidecode.sh [FILE]   (default: the server table the tests' builder makes)
# Needs hyperfine, dmidecode and python3; builds wmi-dump with the bench preset, in build-bench.
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$source_dir/build-bench"
cd "$source_dir"
cmake --preset bench >/dev/null
cmake --build --preset bench --target wmi-dump smbios-seed-corpus >/dev/null

file=${1:-}
if [ -z "$file" ]; then
    "$build_dir/tests/linux/smbios-seed-corpus" "$build_dir/smbios-samples"
    file="$build_dir/smbios-samples/v3-server.bin"
fi
[ -r "$file" ] || { echo "compare-dmidecode: cannot read $file" >&2; exit 2; }

wmi_dump="$build_dir/tools/wmi-dump/wmi-dump"
"$wmi_dump" --json --smbios "$file" >/dev/null # fails here, not inside hyperfine
results="$build_dir/compare-dmidecode.json"
hyperfine --warmup 20 --min-runs 200 -N --export-json "$results" \
    -n wmi-dump "$wmi_dump --json --smbios $file" \
    -n dmidecode "dmidecode --from-dump $file"

python3 - "$results" <<'PY'
import json, sys
runs = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
ours, theirs = runs["wmi-dump"]["mean"], runs["dmidecode"]["mean"]
print(f"wmi-dump {ours * 1e3:.3f} ms, dmidecode {theirs * 1e3:.3f} ms (means)")
print(f"ratio wmi-dump / dmidecode: {ours / theirs:.2f}")
PY
