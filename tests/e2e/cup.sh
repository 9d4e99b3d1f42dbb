#!/usr/bin/env bash
# End to end, medals and the cup: with a best time on the first track, the track selection shows
# its medal in the medal's colour above it; K starts a cup on the first track, Escape asks to
# leave it (a line at the top right), Y goes back to the track selection.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
[ -d "$build/Data" ] || e2e_fail "no Data/ folder in $build (build the content target)"
mkdir -p "$XDG_DATA_HOME/quillon"
# 120 seconds on Sunny with SMiLE: silver (the autopilot's 110.5 s is gold, +10 % silver).
printf 'quillon-best-times 1\nrace\tSunny\tSMiLE\t120\t2026-12-07T00:30:00Z\n' \
  >"$XDG_DATA_HOME/quillon/best-times.txt"

e2e_start_xvfb
cd "$build"
e2e_start_game "$game" cup.log
win=$E2E_WINDOW
e2e_to_track_selection "$win"

# The medal's line: "Silver" in its light blue, just above the best time in the bottom left.
silver() { e2e_gt "$(e2e_color_share "$(e2e_shot probe)" 300x24+20+536 '#b3d9ff' 12%)" 0.005; }
e2e_until 30 silver || e2e_fail "track selection: no silver medal shown"
e2e_shot cup-1-track-selection-medal >/dev/null

# K: the cup's first race, its countdown under way.
e2e_press "$win" k e2e_race_shown
ready=$(e2e_shot cup-2-race)
# Escape: the question at the top right, over the sky.
asked() { e2e_gt "$(e2e_region_diff "$ready" "$(e2e_shot probe)" 300x60+500+0)" 0.05; }
e2e_press "$win" Escape asked
e2e_shot cup-3-leave-asked >/dev/null
# Y: back on the track selection.
e2e_press "$win" y e2e_track_shown
e2e_shot cup-4-back >/dev/null
echo "cup: ok"
