#!/usr/bin/env bash
# Screenshots of every screen of the game with the generated content, for checking the look
# and for the README: take_screenshots.sh <quillon binary> <folder holding Data/> <output folder>
set -eu
game=$(realpath "$1")
folder=$2
out=$(realpath -m "$3")
mkdir -p "$out"
. "$(dirname "$0")/../../tests/e2e/lib.sh"
trap e2e_cleanup EXIT
E2E_SHOTS=$out

e2e_start_xvfb
cd "$folder"
e2e_start_game "$game" /dev/null
win=$E2E_WINDOW
shot() { # name: the 800x600 window at the top left of the screen
  sleep "${2:-1.5}"
  xwd -root -silent | convert xwd:- -crop 800x600+0+0 +repage "$out/$1.png"
}
shot main-menu
e2e_key "$win" Down
shot main-menu-quit 0.5
e2e_key "$win" Up Return
shot car-smile
e2e_key "$win" Right
shot car-pizza
e2e_key "$win" Right
shot car-taco
e2e_key "$win" Left Left Return
shot track-sunny
e2e_key "$win" Right
shot track-bluesky
e2e_key "$win" Right
shot track-yello
e2e_key "$win" Left Left
for track in 0 1 2; do
  # From the track selection with this track chosen (and car number $track): race and look.
  e2e_key "$win" Return
  shot "race-$track-driver" 1
  e2e_key "$win" 2
  shot "race-$track-chase" 0.5
  sleep 3
  e2e_hold "$win" Up 3
  shot "race-$track-chase-driving" 0.2
  # Back through the menus, taking the next car and the next track.
  e2e_key "$win" 1 Escape
  sleep 0.3
  e2e_key "$win" Return
  sleep 0.3
  e2e_key "$win" Right Return
  sleep 0.3
  e2e_key "$win" Right
done
e2e_key "$win" F4
e2e_wait_exit "$E2E_GAME_PID"
echo "screenshots in $out"
