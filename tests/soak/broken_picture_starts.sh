#!/usr/bin/env bash
# Starts the game again and again on a Data/ folder whose pictures are all damaged (half of them
# cut short, half not pictures at all): the start question and every "Error" box are answered
# from the keyboard; once the main menu is drawn, F4, with the boxes that come behind it answered. Each start has a watchdog of its own:
# one that does not reach the menu and end in time counts as hung, is killed and is reported with
# what was on the screen. Prints the count; fails when any start hung or failed.
# Usage: broken_picture_starts.sh GAME BUILD [STARTS (100)] [SECONDS PER START (180)]
set -u
game=$1
build=$2
starts=${3:-100}
limit=${4:-180}
. "$(dirname "$0")/../e2e/lib.sh"
# What is checked here is that no start hangs; leaks are the unit tests' and the soak's concern
# (a system library's leak report at exit would count as a failed start).
export ASAN_OPTIONS=${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0
logs=$E2E_SHOTS/broken-picture-starts
mkdir -p "$logs"
title="Quillon: Game built with the Tarn Project"

e2e_copy_data "$build"
n=0
for picture in "$E2E_WORK"/Data/*.bmp "$E2E_WORK"/Data/*/*.bmp; do
  [ -f "$picture" ] || continue
  n=$((n + 1))
  if [ $((n % 2)) = 0 ]; then
    printf 'not a picture' >"$picture"
  else
    truncate -s $(($(stat -c %s "$picture") / 2)) "$picture"
  fi
done
[ "$n" -gt 0 ] || e2e_fail "no pictures in $build/Data"

# The stacks of every thread of the hung game and of its children (a message box's helper
# process), beside the start's log, so that a hang can be understood after the run.
dump_stacks() {
  command -v gdb >/dev/null || return 0
  local pid
  for pid in $(pgrep -g "$E2E_GAME_PID"); do
    echo "== process $pid: $(tr '\0' ' ' </proc/"$pid"/cmdline 2>/dev/null)"
    timeout 60 gdb -p "$pid" -batch -nx -ex 'thread apply all bt' 2>&1 | grep -v '^\[New LWP'
  done >"$logs/start-$i.stacks"
}

# One start: every box answered as it comes; once the main menu is drawn, F4, and the boxes of
# the pictures that load behind the menu answered too until the game has ended.
one_start() {
  local deadline=$((SECONDS + limit)) box win boxes=0 quit_at=-1
  e2e_launch "$log" "$game"
  while :; do
    if [ $SECONDS -ge $deadline ]; then
      dump_stacks
      e2e_fail "hung after $boxes boxes: windows $(xwininfo -root -tree | grep -c '"')"
    fi
    if ! kill -0 "$E2E_GAME_PID" 2>/dev/null; then
      [ "$quit_at" -ge 0 ] && break
      e2e_fail "the game ended by itself after $boxes boxes"
    fi
    box=$(e2e_find_windows "Start FullScreen?" | head -n 1)
    if [ -n "$box" ]; then
      # Not waited out either (see below): the next box may take its window number.
      e2e_key "$box" Escape
      e2e_until 1 e2e_window_gone "$box" || true
      continue
    fi
    box=$(e2e_find_windows Error | head -n 1)
    if [ -n "$box" ]; then
      # Each box is a new X client that often takes the slot, and so the window number, of the
      # box before it: a number still shown may be the next box already. So the box is not
      # waited out here; the loop answers whatever box is up next, and a box that never closes
      # shows as more answers than the damaged pictures can give boxes.
      e2e_key "$box" Return
      e2e_until 1 e2e_window_gone "$box" || true
      boxes=$((boxes + 1))
      [ "$boxes" -le $((n * 3 + 10)) ] || e2e_fail "a box did not close: $boxes answers"
      continue
    fi
    win=$(e2e_find_windows "$title" | head -n 1)
    [ -z "$win" ] && [ "$quit_at" -ge 0 ] && break
    # F4 again after a while: a box that came up as it was pressed may have taken it.
    if [ -n "$win" ] && { [ "$quit_at" -lt 0 ] || [ $((SECONDS - quit_at)) -ge 10 ]; } &&
      e2e_menu_drawn; then
      e2e_key "$win" F4
      quit_at=$SECONDS
    fi
    sleep 0.2
  done
  [ "$boxes" -gt 0 ] || e2e_fail "no error box"
  e2e_wait_exit "$E2E_GAME_PID"
  [ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "F4: exit code $E2E_EXIT_CODE, expected 0"
}

e2e_start_xvfb
# A client that stays connected: Xvfb resets when its last client leaves, and a game started
# during the reset ends with "no display answered" (code 1), which is not what this counts.
xprop -root -spy >/dev/null 2>&1 &
cd "$E2E_WORK"
hung=0
failed=0
for ((i = 1; i <= starts; i++)); do
  log=$logs/start-$i.log
  if (trap - EXIT; set -e; one_start) 2>"$logs/start-$i.why"; then
    rm -f "$log" "$logs/start-$i.why"
  else
    grep -q "hung" "$logs/start-$i.why" && hung=$((hung + 1)) || failed=$((failed + 1))
    e2e_shot "broken-picture-starts/start-$i" >/dev/null
    echo "start $i: $(tr '\n' ' ' <"$logs/start-$i.why")| game: $(tr '\n' ' ' <"$log" | head -c 400)"
    kill -KILL -- -"$(cat "$E2E_DATA_HOME/game.pid")" 2>/dev/null
    sleep 0.5
  fi
done
echo "broken picture starts: $starts starts, $hung hung, $failed failed otherwise"
[ "$hung" -eq 0 ] && [ "$failed" -eq 0 ]
