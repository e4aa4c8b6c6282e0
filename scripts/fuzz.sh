#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), makes the seed corpora from games and records
# the program writes, and runs every target for the given number of seconds
# (default 60). Targets run FUZZ_JOBS at a time (default 1); extra arguments
# after the seconds choose targets by name (game_file rich_text ...).
#
# Inputs found are kept in build-fuzz/corpus/<target>/, crashes and hangs in
# build-fuzz/artifacts/<target>/, each run's output in build-fuzz/logs/. A
# crash found is fixed, then its input goes to fuzz/reproducers/<target>/ so
# the test build replays it (scripts/test.sh -L fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
jobs=${FUZZ_JOBS:-1}
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCASTELLAN_FUZZ=ON \
  -DCASTELLAN_TESTS=OFF -DCASTELLAN_BENCH=OFF >/dev/null
cmake --build "$build" -j"${FUZZ_BUILD_JOBS:-$(nproc)}"

export QT_QPA_PLATFORM=offscreen
export CASTELLAN_STAGE_DIR=$PWD/$build/stage
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
seeds=$PWD/$build/fuzz-seeds
rm -rf "$seeds"
"$build/fuzz/castellan_fuzz_seeds" "$seeds"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" _fuzz.cpp)"); done
fi
mkdir -p "$build/logs"

run() {
  local name=$1 corpus=$PWD/$build/corpus/$1 artifacts=$PWD/$build/artifacts/$1/
  mkdir -p "$corpus" "$artifacts"
  local dirs=("$corpus")
  [ -d "$seeds/$name" ] && dirs+=("$seeds/$name")
  [ -d "fuzz/reproducers/$name" ] && dirs+=("$PWD/fuzz/reproducers/$name")
  "$build/fuzz/fuzz_$name" "${dirs[@]}" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
    -max_len="${FUZZ_MAX_LEN:-65536}" -artifact_prefix="$artifacts" -print_final_stats=1 \
    >"$build/logs/$name.log" 2>&1
}

status=0
pids=()
names=()
for name in "${targets[@]}"; do
  run "$name" &
  pids+=($!)
  names+=("$name")
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || { echo "fuzz_${names[0]}: FAILED, see $build/logs/${names[0]}.log"; status=1; }
    pids=("${pids[@]:1}")
    names=("${names[@]:1}")
  fi
done
for i in "${!pids[@]}"; do
  wait "${pids[$i]}" || { echo "fuzz_${names[$i]}: FAILED, see $build/logs/${names[$i]}.log"; status=1; }
done

# One line per target: executions and coverage at the end of its run.
for name in "${targets[@]}"; do
  log=$build/logs/$name.log
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || true)
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true)
  echo "fuzz_$name: ${runs:-?} executions, ${cov:-no coverage line}"
done
exit $status
