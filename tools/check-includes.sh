#!/usr/bin/env bash
# Checks that each source folder includes only folders on floors below its own. Floors, top to
# bottom: app, menu, then editor and replay side by side, race, game, then records and track side
# by side, assets, platform. Folders that share a floor never include each other.
set -euo pipefail
cd "$(dirname "$0")/../src"
floors=(app menu "editor replay" race game "records track" assets platform)
status=0
for ((i = 0; i < ${#floors[@]}; i++)); do
  for room in ${floors[i]}; do
    for ((j = 0; j <= i; j++)); do
      for higher in ${floors[j]}; do
        [ "$higher" = "$room" ] && continue
        if grep -rn "#include \"$higher/" "$room" 2>/dev/null; then
          echo "check-includes: $room includes $higher, a folder on its floor or above it" >&2
          status=1
        fi
      done
    done
  done
done
exit $status
