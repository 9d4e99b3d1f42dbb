#!/usr/bin/env bash
# End to end, as a new player: answer No, main menu, Enter, Right, Enter, Enter into a race,
# wait through the countdown, hold Up, chase view, ESC to the main menu, Down, Enter to quit.
# Each screen's screenshot is checked for what that screen must show (regions and colours).
# Under Xvfb, or with E2E_XWAYLAND=1 through Xwayland on a headless Wayland compositor.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
[ -d "$build/Data" ] || e2e_fail "no Data/ folder in $build (build the content target)"

if [ "${E2E_XWAYLAND:-0}" = 1 ]; then e2e_start_xwayland; else e2e_start_xvfb; fi
cd "$build"
e2e_start_game "$game" play.log
win=$E2E_WINDOW
window="800x600+0+0"

# What each screen shows, judged on a fresh screenshot.
probe() { e2e_shot play-probe; }
frame_at() { e2e_gt "$(e2e_region_max "$(probe)" "30x90+60+$1")" 0.2; }
# The picture (or a region of it) differs from an earlier screenshot.
differs() { e2e_gt "$(e2e_region_diff "$1" "$(probe)" "${2:-$window}")" "${3:-0.05}"; }

# Main menu: the picture in the middle, black around it, the highlight frame on the start
# entry (its outer rectangle's left edge crosses x 60-90 at y 175-265).
e2e_until 30 frame_at 175 || e2e_fail "main menu: never drawn"
main=$(e2e_shot play-1-main-menu)
e2e_gt "$(e2e_region_detail "$main" 300x300+250+150)" 0.05 || e2e_fail "main menu: no picture"
[ "$(e2e_region_max "$main" 40x40+10+550)" = 0 ] || e2e_fail "main menu: corner not black"
[ "$(e2e_region_max "$main" 30x90+60+420)" = 0 ] || e2e_fail "main menu: frame also at the quit entry"

# Car selection: the turning car on the left, its name in teal below.
e2e_press "$win" Return e2e_car_shown
car=$(e2e_shot play-2-car-selection)
e2e_gt "$(e2e_region_detail "$car" 220x200+60+180)" 0.05 || e2e_fail "car selection: no car model"
e2e_press "$win" Right differs "$car" 220x200+60+180 0.02
e2e_shot play-2b-car-selection-second >/dev/null

# Track selection: the wire preview with its yellow sample points.
e2e_press "$win" Return e2e_track_shown
e2e_shot play-3-track-selection >/dev/null

# Race: sky above, road below, then the countdown.
e2e_press "$win" Return e2e_race_shown
ready=$(e2e_shot play-4-race-ready)
read -r r g b <<<"$(e2e_mean_rgb "$ready" 400x80+200+500)"
[ $((r > g ? r - g : g - r)) -lt 40 ] || e2e_fail "race: no grey road in front ($r $g $b)"
# Up moves the car once the countdown is over: held a second at a time until the picture moves.
drive() { e2e_hold "$win" Up 1 && differs "$ready" "$window" 0.05; }
e2e_until 40 drive || e2e_fail "race: the car did not move"
e2e_shot play-5-race-driving >/dev/null

# Brake to a stop, then the chase view shows the car in front of the camera; view 1 hides it.
e2e_hold "$win" Down 2
stopped=$(e2e_shot play-6a-race-stopped)
e2e_press "$win" 2 differs "$stopped"
chase=$(e2e_shot play-6-race-chase-view)
e2e_press "$win" 1 differs "$chase"
driver=$(e2e_shot play-7-race-driver-view)
e2e_gt "$(e2e_region_diff "$chase" "$driver" 300x150+250+450)" 0.05 ||
  e2e_fail "race: the chase view shows no car"

# Back to the main menu (on the start entry), then quit through the menu.
e2e_key "$win" 2
e2e_press "$win" Escape frame_at 175
e2e_shot play-8-main-menu-again >/dev/null
e2e_press "$win" Down frame_at 420
e2e_shot play-9-quit-entry >/dev/null
e2e_quit "$win" Return
echo "e2e play: passed (screenshots in $E2E_SHOTS)"
