#!/usr/bin/env bash
# Starts the real game again and again under one Xvfb, as a player and a test machine do: answer
# the start question, reach the drawn main menu, in every other start F1 to full screen and F1
# back to a window, then F4. A start that shows an error box, misses a window or ends with another
# exit code counts as failed; the count is printed at the end. Run by `make soak`.
# Usage: repeated_starts.sh GAME BUILD [STARTS (200)]
set -u
game=$1
build=$2
starts=${3:-200}
. "$(dirname "$0")/../e2e/lib.sh"
[ -d "$build/Data" ] || e2e_fail "no Data/ folder in $build (build the content target)"
logs=$E2E_SHOTS/repeated-starts
mkdir -p "$logs"
title="Quillon: Game built with the Tarn Project"

no_error_box() {
  local box
  for box in ERROR Error "SHUTDOWN ERROR" "Dovi GL"; do
    ! e2e_has_window "$box" || e2e_fail "box '$box'"
  done
}

# One start; fails (through e2e_fail) at the first thing that does not come.
one_start() {
  local toggle=$1 win
  e2e_start_game "$game" "$log"
  win=$(e2e_wait_window_size "$title" 800x600)
  e2e_until 30 e2e_drawn "$win" || e2e_fail "main menu not drawn"
  if [ "$toggle" = 1 ]; then
    e2e_toggle "$win" 1024x768
    e2e_toggle "$E2E_WINDOW" 640x480
    win=$E2E_WINDOW
  fi
  no_error_box
  e2e_quit "$win" F4
}

e2e_start_xvfb
cd "$build"
failed=0
recreations=0
for ((i = 1; i <= starts; i++)); do
  log=$logs/start-$i.log
  toggle=$((i % 2 == 0))
  if (trap - EXIT; set -e; one_start "$toggle") 2>"$logs/start-$i.why"; then
    recreations=$((recreations + 2 * toggle))
    rm -f "$log" "$logs/start-$i.why"
  else
    failed=$((failed + 1))
    e2e_shot "repeated-starts/start-$i" >/dev/null
    echo "start $i: $(tr '\n' ' ' <"$logs/start-$i.why")| game: $(tr '\n' ' ' <"$log")"
    # End whatever the failed start left: the game and the boxes it forked.
    kill -KILL -- -"$(cat "$E2E_DATA_HOME/game.pid")" 2>/dev/null
  fi
done
echo "repeated starts: $starts starts, $recreations F1 re-creations, $failed failed"
[ "$failed" -eq 0 ]
