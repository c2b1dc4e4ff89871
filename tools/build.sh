#!/usr/bin/env bash
# Configures and builds the program, its tools and tests in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default
cmake --build --preset default
