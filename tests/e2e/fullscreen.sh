#!/usr/bin/env bash
# End to end: full screen on a 16:9 screen that offers no 4:3 mode. Yes at the start covers the
# screen with the 4:3 picture centred between black bars, with no fallback question; F1 gives the
# 640x480 window, F1 again full screen again, F4 ends with exit code 0.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"

e2e_start_xvfb 1280x720
cd "$build"
e2e_start_game "$game" game.log Return
title="Quillon: Game built with the Tarn Project"

# The picture is 960x720 from x=160; the pillars are black, the middle is drawn.
check_full_screen() {
  local shot=$1 bar
  for bar in 150x720+0+0 150x720+1130+0; do
    [ "$(e2e_region_max "$shot" "$bar")" = "0" ] || e2e_fail "$shot: bar $bar is not black"
  done
  e2e_gt "$(e2e_region_detail "$shot" 960x720+160+0)" 0.05 || e2e_fail "$shot: nothing drawn"
  [ -z "$(e2e_find_windows "Dovi GL")" ] || e2e_fail "full screen asked the fallback question"
}

win=$(e2e_wait_window_size "$title" 1280x720)
e2e_until 30 e2e_drawn "$win" || e2e_fail "full screen never drawn"
start=$(e2e_shot fullscreen-start)
check_full_screen "$start"

e2e_toggle "$win" 640x480
window=$(e2e_shot fullscreen-window)

e2e_toggle "$E2E_WINDOW" 1280x720
again=$(e2e_shot fullscreen-again)
check_full_screen "$again"

# The same picture as in the window, only bigger (a stretched one differs by about 0.18).
scaled=$(mktemp --suffix=.png)
convert "$again" -crop 960x720+160+0 +repage -resize 640x480\! "$scaled"
diff=$(e2e_region_diff "$scaled" "$window" 640x480+0+0)
rm -f "$scaled"
e2e_gt 0.1 "$diff" || e2e_fail "full-screen picture differs from the window's by $diff"

e2e_quit "$E2E_WINDOW" F4
echo "e2e fullscreen: passed"
