#!/usr/bin/env bash
# End to end: Enter held on an error box (a damaged menu picture), repeating, closes the box
# but does not also start a game on the main menu; a fresh Enter then does.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
trap 'e2e_cleanup; rm -rf "$folder"' EXIT
[ -d "$build/Data" ] || e2e_fail "no Data/ folder in $build (build the content target)"
folder=$(mktemp -d)
cp -r "$build/Data" "$folder/"
printf 'not a picture' >"$folder/Data/menuMain.bmp"

E2E_AUTOREPEAT=1
e2e_start_xvfb
cd "$folder"
e2e_launch game.log "$game"
e2e_answer_box "$(e2e_wait_window "Start FullScreen?")" Escape
box=$(e2e_wait_window "Error")
xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
xdotool keydown Return
sleep 1.5  # past the auto-repeat delay
xdotool keyup Return
e2e_wait_window_gone "Error"
win=$(e2e_wait_window "Quillon: Game built with the Tarn Project")
# Car selection shows the car's name in teal below the car; the main menu (white picture
# frame, since its picture is damaged) has no teal there.
teal_share() {
  convert "$1" -crop 500x120+150+470 +repage -fuzz 12% -fill black +opaque '#008080' \
    -fill white -opaque '#008080' -colorspace gray -format '%[fx:mean]' info:
}
car_shown() { e2e_gt "$(teal_share "$(e2e_shot box-keys-probe)")" 0.01; }
# The main menu's highlight frame on the start entry (its picture is damaged: a white square).
menu_drawn() { e2e_gt "$(e2e_region_max "$(e2e_shot box-keys-probe)" 30x90+60+175)" 0.2; }
e2e_until 30 menu_drawn || e2e_fail "the main menu was never drawn"
# What the Enter would have done shows within a frame; a second is many frames.
sleep 1
e2e_gt 0.01 "$(teal_share "$(e2e_shot box-keys-after-answer)")" ||
  e2e_fail "the Enter that answered the box also started a game"
e2e_key "$win" Return
e2e_until 60 car_shown || e2e_fail "a fresh Enter after the box did not start a game"
e2e_shot box-keys-fresh-enter >/dev/null
E2E_KEY_DELAY=600 e2e_key "$win" F4
e2e_wait_exit "$E2E_GAME_PID"
echo "e2e box keys: passed"
