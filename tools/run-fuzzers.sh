#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each over its seed corpus for a while.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
if ! ls "$root"/fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  echo "run-fuzzers: no fuzz targets"
  exit 0
fi
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLON_SANITIZE=ON -DQUILLON_FUZZ=ON -DQUILLON_BENCH=OFF >/dev/null
targets=()
for src in "$root"/fuzz/*_fuzz.cpp; do
  name=$(basename "$src" _fuzz.cpp)
  targets+=("fuzz_$name")
done
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  work="$build/corpus/$name"
  mkdir -p "$work"
  seeds="$root/fuzz/corpus/$name"
  echo "== $target for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/$target" -max_total_time="$seconds" \
    -print_final_stats=1 "$work" $([ -d "$seeds" ] && echo "$seeds") 2>&1 | tail -n 12
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "run-fuzzers: $target found a fault"; exit 1; }
done
