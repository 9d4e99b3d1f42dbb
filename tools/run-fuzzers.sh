#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each over its seed corpus for a while.
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

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLON_SANITIZE=ON -DQUILLON_FUZZ=ON -DQUILLON_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

status=0
for name in "${names[@]}"; do
  target=fuzz_$name
  # New inputs go to the build folder; the committed seeds are only read.
  work="$build/corpus/$name"
  artifacts="$build/artifacts/$name/"
  log="$build/$target.log"
  mkdir -p "$work" "$artifacts"
  seeds="$root/fuzz/corpus/$name"
  echo "== $target for ${seconds}s"
  set +e
  # shellcheck disable=SC2086
  ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/$target" -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$artifacts" ${FUZZ_ARGS:-} \
    "$work" $([ -d "$seeds" ] && echo "$seeds") >"$log" 2>&1
  result=$?
  set -e
  if [ $result -eq 0 ]; then
    grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|Done )" "$log" || tail -n 5 "$log"
  else
    tail -n 40 "$log"
    echo "run-fuzzers: $target found a fault (log $log, inputs in $artifacts)"
    status=1
  fi
done
exit $status
