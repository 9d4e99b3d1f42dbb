#!/usr/bin/env bash
# End to end: the real binary under Xvfb answers the start question from the keyboard, opens its
# 800x600 window and quits with F4; with no display it fails with exit code 1 and says why, naming
# the step, on standard error. (F1 both ways: fullscreen.sh, and sound.sh on a 4:3 screen.)
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"

# No display at all: a failed start, not an invisible game.
code=0
out=$(cd "$build" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$game" 2>&1 </dev/null) ||
  code=$?
[ "$code" -eq 1 ] || e2e_fail "no display: exit code $code, expected 1"
echo "$out" | grep -q "^quillon: starting SDL's video failed: " ||
  e2e_fail "no display: message missing from standard error: $out"

e2e_start_xvfb
cd "$build"
e2e_start_game "$game" game.log
win=$E2E_WINDOW
size=$(e2e_window_size "$win")
[ "$size" = "800x600" ] || e2e_fail "game window is $size, expected 800x600"
e2e_until 30 e2e_drawn "$win" || e2e_fail "the main menu was never drawn"
e2e_shot window-start >/dev/null
e2e_quit "$win" F4
echo "e2e window: passed"
