#!/usr/bin/env bash
# Makes what a store hands its customers, from this checkout's commit, into the folder DIST: the
# 64-bit and the 32-bit Windows program (QuorvinBrindlemark-x64.exe, QuorvinBrindlemark-x86.exe),
# the Debian package, and SHA256SUMS over the three.
#
# Usage: bash tools/release.sh DIST
#
# Reproducible: the same commit gives the same bytes from any folder at any time. Every date is the
# commit's (SOURCE_DATE_EPOCH), and the builds, made afresh in build-release/ of the checkout, write
# no folder names. So the checkout's tracked files must be the commit's: the script refuses to run
# otherwise (untracked files are not looked at).
#
# Signed when QUORVIN_SIGN_PFX names a PKCS#12 certificate and QUORVIN_SIGN_PASSWORD holds its
# password: each exe is signed with Authenticode (SHA-256, signing time = the commit's date), with a
# time stamp from QUORVIN_SIGN_TIMESTAMP_URL only when that names a server (a time stamp differs
# from one signing to the next, so such exes are no longer reproducible).
set -euo pipefail

fail() {
    echo "release: $*" >&2
    exit 1
}

[ $# -eq 1 ] || { echo "usage: bash tools/release.sh DIST" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/.." && pwd)
dist=$(realpath -m "$1")
cd "$repo"

git rev-parse --verify -q HEAD >/dev/null 2>&1 || fail "$repo is not a git checkout with a commit"
git diff --quiet HEAD -- ||
    fail "the checkout has changes that are not committed; a release is made from a commit"
if [ -n "${QUORVIN_SIGN_PFX:-}" ]; then
    [ -r "$QUORVIN_SIGN_PFX" ] || fail "QUORVIN_SIGN_PFX names no readable file: $QUORVIN_SIGN_PFX"
    [ -n "${QUORVIN_SIGN_PASSWORD+set}" ] ||
        fail "QUORVIN_SIGN_PFX is set but QUORVIN_SIGN_PASSWORD, its password, is not"
fi

# Said before the builds, which take minutes.
if [ -n "${QUORVIN_SIGN_PFX:-}" ]; then
    echo "release: the programs will be signed with $QUORVIN_SIGN_PFX"
else
    echo "release: the programs will not be signed (QUORVIN_SIGN_PFX names no certificate)"
fi

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
# What else a build may pick up from whoever runs it.
export TZ=UTC LC_ALL=C.UTF-8
umask 022
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
export CMAKE_BUILD_PARALLEL_LEVEL=$jobs

work=$repo/build-release
rm -rf "$work"
mkdir -p "$work"

# Runs a step with its output in a log, shown only when the step fails.
step() {
    local name=$1 log=$work/$1.log
    shift
    echo "release: $name"
    "$@" >"$log" 2>&1 || { tail -n 40 "$log" >&2; fail "$name failed (log: $log)"; }
}

step debian-package bash -c '
    cmake --preset package -B "$1/package" &&
    cmake --build "$1/package" -j "$2" &&
    cd "$1/package" && cpack -G DEB' _ "$work" "$jobs"
packages=("$work"/package/*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || fail "CPack made no single .deb"

# build.sh prints the two programs' paths, and nothing else, on its output.
programs=$work/windows-programs.txt
step windows-programs bash -c 'bash tools/windows/build.sh "$1" 2>&1 >"$2"' _ "$work/windows" \
    "$programs"
exe_x64=$(grep -E '/x64/[^ ]*\.exe$' "$programs" || true)
exe_x86=$(grep -E '/x86/[^ ]*\.exe$' "$programs" || true)
[ -f "$exe_x64" ] && [ -f "$exe_x86" ] ||
    fail "tools/windows/build.sh named no x64 and no x86 program: $(cat "$programs")"

mkdir -p "$dist"
names=(QuorvinBrindlemark-x64.exe QuorvinBrindlemark-x86.exe "$(basename "${packages[0]}")")
(cd "$dist" && rm -f SHA256SUMS "${names[@]}")

# Signs SOURCE into TARGET; the password reaches osslsigncode on its input, not its command line.
sign() {
    local timestamp=()
    [ -z "${QUORVIN_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$QUORVIN_SIGN_TIMESTAMP_URL")
    printf '%s' "$QUORVIN_SIGN_PASSWORD" |
        osslsigncode sign -pkcs12 "$QUORVIN_SIGN_PFX" -readpass - -h sha256 \
            -n "Quorvin - System Memory Information" -time "$SOURCE_DATE_EPOCH" \
            "${timestamp[@]}" -in "$1" -out "$2" >>"$work/signing.log" 2>&1 ||
        { cat "$work/signing.log" >&2; fail "signing $(basename "$2") failed"; }
}
if [ -n "${QUORVIN_SIGN_PFX:-}" ]; then
    sign "$exe_x64" "$dist/${names[0]}"
    sign "$exe_x86" "$dist/${names[1]}"
else
    cp "$exe_x64" "$dist/${names[0]}"
    cp "$exe_x86" "$dist/${names[1]}"
fi
cp "${packages[0]}" "$dist/${names[2]}"

cd "$dist"
sha256sum "${names[@]}" >SHA256SUMS
sha256sum --check --quiet SHA256SUMS || fail "SHA256SUMS does not match the files in $dist"
echo "release: $dist"
ls -l "${names[@]}" SHA256SUMS | awk '{print "  " $5 "  " $9}'
