#!/usr/bin/env bash
# Installs what building, running and testing Quorvin needs on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
# The 32-bit Windows program runs under Wine's 32-bit loader, which comes from the i386 packages.
dpkg --add-architecture i386
# A mirror caught mid-sync refuses an index ("File has unexpected size"): wait and fetch it again.
update_package_lists() {
    local attempt
    for attempt in 1 2 3 4 5 6; do
        if apt-get -o Acquire::Retries=3 update; then
            return 0
        fi
        echo "install-deps: package lists incomplete (attempt $attempt), trying again in $((attempt * 20)) s" >&2
        sleep $((attempt * 20))
    done
    echo "install-deps: the package lists could not be fetched; carrying on with what arrived" >&2
}
update_package_lists
apt-get -o Acquire::Retries=3 install -y --no-install-recommends \
    ca-certificates cmake ninja-build g++ clang-format python3 \
    qt6-base-dev qt6-webengine-dev libgl-dev nlohmann-json3-dev \
    libgtest-dev libgmock-dev libbenchmark-dev \
    xvfb xauth xdotool wmctrl openbox tint2 x11-utils imagemagick fonts-dejavu-core fonts-liberation2 \
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 wine32:i386 fonts-wine \
    clang-14 libfuzzer-14-dev libclang-rt-14-dev \
    dmidecode hyperfine bc dpkg-dev file valgrind \
    lintian desktop-file-utils xdg-utils \
    dbus dbus-x11 at-spi2-core python3-pyatspi \
    osslsigncode openssl
