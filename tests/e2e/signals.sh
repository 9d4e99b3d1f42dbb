#!/usr/bin/env bash
# End to end: SIGTERM and SIGINT end the game with exit code 0 in every state it can be in (the
# start question, loading, the menus, a race, an error box, a picture read that never returns,
# a sound output whose opening never returns, where F4 must end it too), leaving no window, no
# process it forked and no half-written file behind.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
e2e_start_xvfb
title="Quillon: Game built with the Tarn Project"

# state, signal: the state is reached, the signal sent, the end checked.
cases=(
  "question TERM" "question INT"
  "loading TERM"
  "menu INT"
  "race TERM"
  "box INT"
  "blocked TERM" "blocked INT"
  "soundstuck TERM" "soundstuck INT" "soundstuck F4"
)
for case in "${cases[@]}"; do
  read -r state signal <<<"$case"
  e2e_copy_data "$build"
  cd "$E2E_WORK"
  [ "$state" = box ] && printf 'not a picture' >Data/menuMain.bmp
  [ "$state" = blocked ] && rm Data/menuMain.bmp && mkfifo Data/menuMain.bmp
  # OpenAL Soft's wave-file output on a pipe nobody reads: opening the output never returns.
  conf=/dev/null
  if [ "$state" = soundstuck ]; then
    mkfifo "$E2E_WORK/sound.pipe"
    conf=$E2E_WORK/sound.conf
    printf '[general]\ndrivers = wave\n[wave]\nfile = %s\n' "$E2E_WORK/sound.pipe" >"$conf"
  fi
  ALSOFT_CONF=$conf e2e_launch game.log "$game"
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
  if [ "$state" = menu ] || [ "$state" = race ] || [ "$state" = soundstuck ]; then
    e2e_until 30 e2e_menu_drawn || e2e_fail "$case: no main menu"
  fi
  if [ "$state" = race ]; then
    e2e_to_track_selection "$win"
    e2e_press "$win" Return e2e_race_shown
  fi
  if [ "$signal" = F4 ]; then
    e2e_press "$win" F4 e2e_window_gone "$win"
  else
    kill -s "$signal" "$pid"
  fi
  # The game's watchdog ends it within a second of the request whatever still waits.
  e2e_wait_exit "$pid" 20
  [ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "$case: exit code $E2E_EXIT_CODE, expected 0"
  for left in "$title" "Start FullScreen?" Error; do
    e2e_until 5 eval '! e2e_has_window "$left"' || e2e_fail "$case: window '$left' left behind"
  done
  # A box the game forked ends with it (its parent-death signal), a moment after the game.
  e2e_until 5 eval '! kill -0 -- -"$pid" 2>/dev/null' ||
    e2e_fail "$case: a process of the game is still running"
  [ -z "$(find "$XDG_DATA_HOME" -name '*.tmp-*')" ] || e2e_fail "$case: a half-written file"
  if [ "$state" = soundstuck ]; then
    grep -q "no audio\|playing without sound" game.log && e2e_fail "$case: the sound output opened"
    rm -f "$E2E_WORK/sound.pipe"
  fi
  echo "$case: ended with 0"
done
echo "e2e signals: passed"
