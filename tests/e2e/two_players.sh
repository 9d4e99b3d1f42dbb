#!/usr/bin/env bash
# End to end, two players on one keyboard: W on the car selection joins player two (the orange
# line in the top band), each chooses a car in turn (player two's name in orange), the race
# shows two skies one above the other, Up and W drive both halves, Escape leaves, F4 ends with 0.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
[ -d "$build/Data" ] || e2e_fail "no Data/ folder in $build (build the content target)"

e2e_start_xvfb
cd "$build"
e2e_start_game "$game" two_players.log
win=$E2E_WINDOW
probe() { e2e_shot two-players-probe; }
orange_in() { e2e_gt "$(e2e_color_share "$(probe)" "$1" '#ff8c1a' 20%)" "$2"; }
# Blue over red in the top rows of a half: that half shows a race's sky.
sky_at() {
  local r g b
  read -r r g b <<<"$(e2e_mean_rgb "$(probe)" "800x60+0+$1")"
  [ "$b" -gt $((r + 40)) ]
}
halves_sky() { sky_at 0 && sky_at 305; }
differs() { e2e_gt "$(e2e_region_diff "$1" "$(probe)" "$2")" 0.03; }

e2e_until 30 e2e_menu_drawn || e2e_fail "the main menu was never drawn"
e2e_press "$win" Return e2e_car_shown
alone=$(e2e_shot two-players-1-alone)
e2e_gt "$(e2e_color_share "$alone" 800x40+0+0 '#ff8c1a' 20%)" 0 && e2e_fail "an orange line before anybody joined"

# W joins player two: a small orange line at the top.
e2e_press "$win" w orange_in 800x40+0+0 0.001
e2e_shot two-players-2-joined >/dev/null
# Player one takes their car; player two's choice shows its name in orange.
e2e_press "$win" Return orange_in 500x120+150+470 0.01
e2e_shot two-players-3-second-choice >/dev/null
e2e_press "$win" Return e2e_track_shown
e2e_press "$win" Return halves_sky
ready=$(e2e_shot two-players-4-ready)

# Both players drive: Up and W held a second at a time until each half's picture has moved.
drive_both() {
  xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
  xdotool keydown Up keydown w
  sleep 1
  xdotool keyup Up keyup w
  differs "$ready" 800x290+0+0 && differs "$ready" 800x290+0+310
}
e2e_until 60 drive_both || e2e_fail "the two halves did not both move"
e2e_shot two-players-5-driving >/dev/null

e2e_press "$win" Escape e2e_menu_drawn
e2e_quit "$win" F4
echo "two players: ok"
