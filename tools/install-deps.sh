#!/usr/bin/env bash
# Installs what building, running and testing Quorvin needs on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
# The 32-bit Windows program runs under Wine's 32-bit loader, which comes from the i386 packages.
dpkg --add-architecture i386
apt-get update
apt-get install -y --no-install-recommends \
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
