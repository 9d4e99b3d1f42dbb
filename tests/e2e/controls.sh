#!/usr/bin/env bash
# End to end: C on the main menu opens the controls screen; accelerate rebound to W from the
# keyboard is kept in the settings by the key's place and the race is driven with W. Played
# twice: with the X server's layout as it is, and French (where the key labelled W is the Z
# key's place). Refusals, the pad's line, restarting and the reset are the unit tests'.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
[ -d "$build/Data" ] || e2e_fail "no Data/ folder in $build (build the content target)"
settings=$XDG_CONFIG_HOME/quillon/settings.txt

# setxkbmap runs while no game is connected: the server must keep the keymap it sets.
e2e_start_xvfb
cd "$build"
window="800x600+0+0"
probe() { e2e_shot controls-probe; }
differs() { e2e_gt "$(e2e_region_diff "$1" "$(probe)" "${2:-$window}")" "${3:-0.01}"; }
# The controls screen: the title at the top, where the main menu is black, and no menu frame.
controls_shown() { e2e_gt "$(e2e_region_max "$(probe)" 300x50+250+10)" 0.2 && ! e2e_menu_drawn; }
# Accelerate's row: its name, its two keys and its pad button.
accelerate_row=800x28+0+72
has_line() { grep -qx "$(printf '%s\t%s' "$1" "$2")" "$settings" 2>/dev/null; }

play() {
  local layout=$1 stored=$2 win
  [ "$layout" = us ] || setxkbmap "$layout" || e2e_fail "setxkbmap $layout"
  # Player two's accelerate moved off W, so that player one may take the W place.
  mkdir -p "$(dirname "$settings")"
  printf 'quillon-settings 1\nkey2.accelerate\tI\n' >"$settings"
  e2e_start_game "$game" "controls-$layout.log"
  win=$E2E_WINDOW
  e2e_until 30 e2e_menu_drawn || e2e_fail "$layout: main menu never drawn"
  e2e_press "$win" c controls_shown
  e2e_shot "controls-$layout-1-screen" >/dev/null

  # Enter waits (the wait's line appears), W answers: kept as the place's name.
  local before
  before=$(e2e_shot controls-before)
  e2e_press "$win" Return differs "$before" 800x80+0+480
  e2e_shot "controls-$layout-2-waiting" >/dev/null
  e2e_press "$win" w has_line key.accelerate "$stored"
  e2e_until 30 differs "$before" "$accelerate_row" || e2e_fail "$layout: accelerate's row not redrawn"
  e2e_shot "controls-$layout-3-rebound" >/dev/null

  # Back to the main menu and into a race, driven with W.
  e2e_press "$win" Escape e2e_menu_drawn
  e2e_to_track_selection "$win"
  e2e_press "$win" Return e2e_race_shown
  local ready
  ready=$(e2e_shot "controls-$layout-5-ready")
  drive() { e2e_hold "$win" w 1 && differs "$ready" "$window" 0.05; }
  e2e_until 40 drive || e2e_fail "$layout: W did not drive"
  e2e_shot "controls-$layout-6-driving" >/dev/null
  e2e_press "$win" Escape e2e_menu_drawn
  e2e_quit "$win" F4
}

play us W
# French: the X server takes the new keymap (kept, as the server does not reset between the
# games), and the key labelled W now sits at the Z key's place.
setxkbmap fr || e2e_fail "setxkbmap fr"
xkbcomp -xkb "$DISPLAY" - 2>/dev/null | grep -A2 'key <AD02>' | grep -q 'z, *Z' ||
  e2e_fail "the X server kept its layout after setxkbmap fr"
play fr Z
# The layout's names on the controls screen: accelerate bound to the Z place shows "W" on the
# French keyboard, as the W place does on the first one, so the two rows look the same.
apart=$(e2e_region_diff "$E2E_SHOTS/controls-us-3-rebound.png" \
  "$E2E_SHOTS/controls-fr-3-rebound.png" "$accelerate_row")
e2e_gt "$apart" -1 && ! e2e_gt "$apart" 0.01 ||
  e2e_fail "fr: accelerate's key not shown by its French name ($apart apart)"
echo "controls: ok"
