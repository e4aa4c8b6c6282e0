#!/usr/bin/env bash
# Builds the benchmarks (optimised) and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DCASTELLAN_TESTS=OFF -DCASTELLAN_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in build-bench/bench/*_bench; do "$b" "$@"; done
