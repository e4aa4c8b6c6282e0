#!/usr/bin/env bash
# Builds Castellan with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test with CTest. Extra arguments go to ctest (for example -L engine).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DCASTELLAN_SANITIZE=ON -DCASTELLAN_BENCH=OFF >/dev/null
cmake --build build-test -j"$(nproc)"
# Leaks fail the tests. LeakSanitizer's bookkeeping of dynamically loaded
# thread-local storage crashes it now and then at exit on this glibc; that
# bookkeeping is left off.
export ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0
export UBSAN_OPTIONS=print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --output-on-failure -j"$(nproc)" "$@"
