#!/usr/bin/env bash
# End to end: SIGTERM and SIGINT end the game with exit code 0 in every state it can be in (the
# start question, loading, the menus, a race, an error box, a picture read that never returns),
# leaving no window, no process it forked and no half-written file behind.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
trap 'e2e_cleanup; rm -rf "$folder"' EXIT
[ -d "$build/Data" ] || e2e_fail "no Data/ folder in $build (build the content target)"
e2e_start_xvfb
title="Quillon: Game built with the Tarn Project"
folder=$(mktemp -d)

menu_drawn() { e2e_gt "$(e2e_region_max "$(e2e_shot signals-probe)" 30x90+60+175)" 0.2; }
car_shown() { e2e_gt "$(e2e_color_share "$(e2e_shot signals-probe)" 500x120+150+470 '#008080' 25%)" 0.01; }
track_shown() { e2e_gt "$(e2e_color_share "$(e2e_shot signals-probe)" 600x300+0+100 '#ffff00' 20%)" 0.002; }
race_shown() {
  local r g b
  read -r r g b <<<"$(e2e_mean_rgb "$(e2e_shot signals-probe)" 800x100+0+0)"
  [ "$b" -gt "$r" ]
}

# state, signal: the state is reached, the signal sent, the end checked.
cases=(
  "question TERM" "question INT"
  "loading TERM"
  "menu INT"
  "race TERM"
  "box INT"
  "blocked TERM" "blocked INT"
)
for case in "${cases[@]}"; do
  read -r state signal <<<"$case"
  rm -rf "$folder"/*
  cp -r "$build/Data" "$folder/"
  [ "$state" = box ] && printf 'not a picture' >"$folder/Data/menuMain.bmp"
  [ "$state" = blocked ] && rm "$folder/Data/menuMain.bmp" && mkfifo "$folder/Data/menuMain.bmp"
  cd "$folder"
  e2e_launch game.log "$game"
  pid=$E2E_GAME_PID
  box=$(e2e_wait_window "Start FullScreen?")
  if [ "$state" != question ]; then
    e2e_answer_box "$box" Escape
    if [ "$state" = box ]; then
      e2e_wait_window Error >/dev/null
    else
      win=$(e2e_wait_window "$title")
    fi
  fi
  # "loading" and "blocked" go at once: the pictures are being read (or never come).
  if [ "$state" = menu ] || [ "$state" = race ]; then
    e2e_until 30 menu_drawn || e2e_fail "$case: no main menu"
  fi
  if [ "$state" = race ]; then
    e2e_press "$win" Return car_shown
    e2e_press "$win" Return track_shown
    e2e_press "$win" Return race_shown
  fi
  kill -s "$signal" "$pid"
  e2e_wait_exit "$pid" 20
  [ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "$case: exit code $E2E_EXIT_CODE, expected 0"
  for left in "$title" "Start FullScreen?" Error; do
    e2e_until 5 eval '! e2e_has_window "$left"' || e2e_fail "$case: window '$left' left behind"
  done
  # A box the game forked ends with it (its parent-death signal), a moment after the game.
  e2e_until 5 eval '! kill -0 -- -"$pid" 2>/dev/null' ||
    e2e_fail "$case: a process of the game is still running"
  [ -z "$(find "$XDG_DATA_HOME" -name '*.tmp-*')" ] || e2e_fail "$case: a half-written file"
  echo "$case: ended with 0"
done
echo "e2e signals: passed"
