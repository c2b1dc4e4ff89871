#!/usr/bin/env bash
# Releases the repository's current commit twice, from two clones in folders of different names
# made minutes apart, both signed with one throwaway certificate, and holds the two to what the
# release promises: the same files byte for byte, SHA256SUMS that sha256sum checks, and exes whose
# Authenticode signature verifies against the certificate. Without a certificate the script says
# in one line, before it builds, that the programs will not be signed.
# Usage: release-test.sh REPOSITORY WORK_DIR
set -uo pipefail
export LC_ALL=C
repository=$(realpath "$1")
work=$(realpath -m "$2")
for tool in git openssl osslsigncode cmp sha256sum file; do
    command -v "$tool" >/dev/null || { echo "release-test: skipped: no $tool"; exit 77; }
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
commit=$(git -C "$repository" rev-parse HEAD) || exit 1

# The throwaway certificate: a self-signed code-signing certificate as its own CA.
certificate=$work/certificate
mkdir -p "$certificate"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quorvin release test" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$certificate/key.pem" \
    -out "$certificate/cert.pem" 2>"$certificate/openssl.log" &&
    openssl pkcs12 -export -inkey "$certificate/key.pem" -in "$certificate/cert.pem" \
        -passout pass:throwaway -out "$certificate/cert.pfx" 2>>"$certificate/openssl.log" ||
    { cat "$certificate/openssl.log"; exit 1; }

# Clones the commit into FOLDER and releases it into FOLDER/dist with the certificate.
release() {
    local clone=$1
    git clone -q "$repository" "$clone" && git -C "$clone" checkout -q --detach "$commit" ||
        return 1
    local started=$SECONDS
    QUORVIN_SIGN_PFX=$certificate/cert.pfx QUORVIN_SIGN_PASSWORD=throwaway \
        QUORVIN_SIGN_TIMESTAMP_URL='' bash "$clone/tools/release.sh" "$clone/dist" \
        >"$clone.log" 2>&1 || { cat "$clone.log"; return 1; }
    echo "release from $clone: $((SECONDS - started)) s"
}

first=$work/a
second=$work/second-clone-in-a-longer-folder
release "$first" || { echo "FAIL: the first release failed"; exit 1; }
release "$second" || { echo "FAIL: the second release failed"; exit 1; }

expected="QuorvinBrindlemark-x64.exe QuorvinBrindlemark-x86.exe SHA256SUMS quorvin_1.0.0.0_amd64.deb"
for dist in "$first/dist" "$second/dist"; do
    [ "$(cd "$dist" && echo *)" = "$expected" ] ||
        fail "$dist holds $(cd "$dist" && echo *), not $expected"
    (cd "$dist" && sha256sum --check --strict SHA256SUMS) || fail "sha256sum -c in $dist"
    for exe in "$dist"/*.exe; do
        osslsigncode verify -CAfile "$certificate/cert.pem" -in "$exe" >"$exe.verify" 2>&1 ||
            { cat "$exe.verify"; fail "the signature of $exe does not verify"; }
        rm -f "$exe.verify"
    done
done
for file in $expected; do
    cmp "$first/dist/$file" "$second/dist/$file" || fail "$file differs between the two releases"
done
file "$first/dist/QuorvinBrindlemark-x64.exe" | grep -q "PE32+ executable (GUI) x86-64" ||
    fail "QuorvinBrindlemark-x64.exe is not a 64-bit Windows program"
file "$first/dist/QuorvinBrindlemark-x86.exe" | grep -q "PE32 executable (GUI) Intel 80386" ||
    fail "QuorvinBrindlemark-x86.exe is not a 32-bit Windows program"

# Unsigned: the one line comes before any build, which a cmake that fails stops at once.
shim=$work/failing-cmake
mkdir -p "$shim"
printf '#!/bin/sh\nexit 1\n' >"$shim/cmake"
chmod +x "$shim/cmake"
unsigned=$(cd "$first" && env -u QUORVIN_SIGN_PFX PATH="$shim:$PATH" bash tools/release.sh \
    "$work/unsigned" 2>/dev/null)
[ "$(grep -c "will not be signed" <<<"$unsigned")" = 1 ] &&
    ! grep -q "will be signed" <<<"$unsigned" ||
    fail "without a certificate the release did not say once that it is not signed: $unsigned"

if [ "$failures" = 0 ]; then
    echo "release-test: passed"
    rm -rf "$first" "$second"
fi
[ "$failures" = 0 ]
