#!/usr/bin/env bash
# Plays the game end to end under a private Xvfb (tests/e2e/play.sh) and keeps the screenshots
# of each screen, cut to the 800x600 window, in docs/screens/ for the README.
# Usage: tools/screenshots.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shots=$(mktemp -d)
E2E_SHOTS=$shots bash "$root/tests/e2e/play.sh" "$build/quillon" "$build"
mkdir -p "$root/docs/screens"
for pair in 1-main-menu:main-menu 2-car-selection:car-selection 3-track-selection:track-selection \
  4-race-ready:race-countdown 7-race-driver-view:race-driver-view 6-race-chase-view:race-chase-view; do
  convert "$shots/play-${pair%%:*}.png" -crop 800x600+0+0 +repage -resize 400x300 \
    "$root/docs/screens/${pair##*:}.png"
done
rm -rf "$shots"
echo "screenshots in docs/screens/"
