#!/usr/bin/env bash
# Checks that each source folder includes only folders below it:
# app, menu, race, game, records, track, assets, platform (in that order, top to bottom).
set -euo pipefail
cd "$(dirname "$0")/../src"
order=(app menu race game records track assets platform)
status=0
for ((i = 0; i < ${#order[@]}; i++)); do
  room=${order[i]}
  for ((j = 0; j <= i; j++)); do
    higher=${order[j]}
    [ "$higher" = "$room" ] && continue
    if grep -rn "#include \"$higher/" "$room" 2>/dev/null; then
      echo "check-includes: $room includes $higher, a folder above it" >&2
      status=1
    fi
  done
done
exit $status
