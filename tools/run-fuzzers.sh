#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each over its seed corpus for a while, as many
# at once as there are cores (FUZZ_JOBS). A build folder already set up for fuzzing (as `make
# test`'s sanitizer build is) is used as it is; any other is set up for it.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET [TARGET_NAME...]
# FUZZ_ARGS adds libFuzzer options (for example FUZZ_ARGS=-runs=10000000).
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-20}
shift $(($# > 2 ? 2 : $#))
root=$(cd "$(dirname "$0")/.." && pwd)
if ! ls "$root"/fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  echo "run-fuzzers: no fuzz targets"
  exit 0
fi
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for src in "$root"/fuzz/*_fuzz.cpp; do names+=("$(basename "$src" _fuzz.cpp)"); done
fi
targets=()
for name in "${names[@]}"; do targets+=("fuzz_$name"); done

if ! grep -qx 'QUILLON_FUZZ:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_SANITIZE=ON -DQUILLON_FUZZ=ON -DQUILLON_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

# One target for its time; its summary (or the end of its log, with the fault) afterwards.
fuzz_one() {
  local name=$1 target=fuzz_$1 result=0 summary
  # New inputs go to the build folder; the committed seeds are only read.
  local work="$build/corpus/$name" artifacts="$build/artifacts/$name/" log="$build/$target.log"
  local seeds="$root/fuzz/corpus/$name"
  mkdir -p "$work" "$artifacts"
  # shellcheck disable=SC2086
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0 \
    "$build/fuzz/$target" -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$artifacts" ${FUZZ_ARGS:-} \
    "$work" $([ -d "$seeds" ] && echo "$seeds") >"$log" 2>&1 || result=$?
  if [ $result -eq 0 ]; then
    summary=$(grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|Done )" "$log" || tail -n 5 "$log")
  else
    summary=$(tail -n 40 "$log")$'\n'"run-fuzzers: $target found a fault (log $log, inputs in $artifacts)"
  fi
  # One write, so that the reports of targets ending together do not interleave.
  printf '== %s for %ss\n%s\n' "$target" "$seconds" "$summary"
  [ $result -eq 0 ]
}

# Up to FUZZ_JOBS targets at once, each printing when it ends; fails when any found a fault.
jobs_at_once=${FUZZ_JOBS:-$(nproc)}
status=0
pids=()
for name in "${names[@]}"; do
  if [ ${#pids[@]} -ge "$jobs_at_once" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
  fuzz_one "$name" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
