#!/usr/bin/env bash
# Builds Castellan (release) and starts it from the staged program tree.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCASTELLAN_TESTS=OFF -DCASTELLAN_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target castellan
exec build/stage/Castellan/castellan "$@"
