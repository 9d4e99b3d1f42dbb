#!/usr/bin/env bash
# Prints the non-blank lines of code under tests/ and elsewhere in the files git tracks, and the
# tests' share of all of them.
set -eu
cd "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"
files=$(git ls-files | grep -E '\.(cpp|h|sh|cmake|txt)$|CMakeLists|Makefile' | grep -v corpus || true)
# Non-blank lines of the files named on standard input, one a line.
count() { xargs -r -d '\n' grep -cv '^[[:space:]]*$' /dev/null | awk -F: '{ n += $NF } END { print n + 0 }'; }
tests=$(grep '^tests/' <<<"$files" | count)
other=$(grep -v '^tests/' <<<"$files" | count)
awk -v t="$tests" -v o="$other" \
  'BEGIN { printf "tests %d, other %d, tests %.1f %% of all\n", t, o, t + o ? 100 * t / (t + o) : 0 }'
