#!/usr/bin/env bash
# The console tool and the core libraries stay free of Qt: none of the given programs (wmi-dump,
# and a test program that links the scan, results, Linux backend and recording libraries) needs a
# Qt library, directly or through another library.
# Usage: no-qt.sh PROGRAM...
set -uo pipefail
failures=0
for program in "$@"; do
    needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    # A program that needs no C library was not read at all.
    if ! grep -q '^libc\.so' <<<"$needed"; then
        echo "no-qt: $program: its dynamic section could not be read"
        failures=$((failures + 1))
        continue
    fi
    all=$(ldd "$program" | awk '{print $1}')
    if qt=$(grep -i 'qt' <<<"$needed"$'\n'"$all" | sort -u | tr '\n' ' ') && [ -n "$qt" ]; then
        echo "no-qt: $(basename "$program") links $qt"
        failures=$((failures + 1))
    else
        echo "no-qt: $(basename "$program"): no Qt library among $(wc -l <<<"$all") it loads"
    fi
done
[ "$failures" = 0 ] && echo "no-qt: all passed" || echo "no-qt: $failures failed"
exit $((failures > 0))
