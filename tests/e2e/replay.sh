#!/usr/bin/env bash
# End to end: with a kept ghost of the first track and car, V on the track selection shows its
# replay (the race's sky and road, the trackside camera on 3), and Escape returns to the track
# selection.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
[ -d "$build/Data" ] || e2e_fail "no Data/ folder in $build (build the content target)"
mkdir -p "$XDG_DATA_HOME/quillon/ghosts"
ghost=$XDG_DATA_HOME/quillon/ghosts/Sunny-SMiLE.ghost
cp "$(dirname "$0")/../../fuzz/corpus/ghost/two-laps.ghost" "$ghost"

e2e_start_xvfb
cd "$build"
e2e_start_game "$game" replay.log
win=$E2E_WINDOW
e2e_to_track_selection "$win"
e2e_shot replay-1-track-selection >/dev/null

e2e_press "$win" v e2e_race_shown
chase=$(e2e_shot replay-2-chase-view)
differs() { e2e_gt "$(e2e_region_diff "$1" "$(e2e_shot replay-probe)" 800x600+0+0)" 0.02; }
e2e_press "$win" 3 differs "$chase"
e2e_shot replay-3-trackside >/dev/null
e2e_race_shown || e2e_fail "the trackside camera shows no sky"

e2e_press "$win" Escape e2e_track_shown
e2e_quit "$win" F4
echo "replay: ok"
