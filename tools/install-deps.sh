#!/usr/bin/env bash
# Installs what building, running and testing Quorvin needs on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
# The 32-bit Windows program runs under Wine's 32-bit loader, which comes from the i386 packages.
dpkg --add-architecture i386
# A mirror caught mid-sync refuses an index ("File has unexpected size"): wait and fetch it again.
# If one stays refused, the security suite may now lack one architecture's index while the other
# has it, and multi-arch libraries must have the same version in both: install from the release
# itself then, with the security suite held below it for this run only.
apt_options=(-o Acquire::Retries=3)
update_package_lists() {
    local attempt
    for attempt in 1 2; do
        if apt-get "${apt_options[@]}" update; then
            return 0
        fi
        echo "install-deps: package lists incomplete (attempt $attempt)" >&2
        [ "$attempt" = 2 ] || sleep 10
    done
    return 1
}
if ! update_package_lists; then
    echo "install-deps: carrying on with the release's own packages for both architectures" >&2
    pin_file=$(mktemp)
    trap 'rm -f "$pin_file"' EXIT
    printf 'Package: *\nPin: release n=bookworm-security\nPin-Priority: 100\n' >"$pin_file"
    apt_options+=(-o "Dir::Etc::Preferences=$pin_file")
fi
apt-get "${apt_options[@]}" install -y --no-install-recommends \
    ca-certificates cmake ninja-build g++ clang-format python3 \
    qt6-base-dev qt6-webengine-dev libgl-dev libxcb1-dev pkg-config nlohmann-json3-dev \
    libgtest-dev libgmock-dev libbenchmark-dev \
    xvfb xauth xdotool wmctrl openbox tint2 x11-utils imagemagick fonts-dejavu-core fonts-liberation2 \
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 wine32:i386 fonts-wine \
    clang-14 libfuzzer-14-dev libclang-rt-14-dev \
    dmidecode hyperfine bc dpkg-dev file valgrind \
    lintian desktop-file-utils xdg-utils \
    dbus dbus-x11 at-spi2-core python3-pyatspi \
    osslsigncode openssl
