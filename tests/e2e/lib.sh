# Helpers for end-to-end tests: a private Xvfb, the game started in a folder, windows found
# by title, keys sent with xdotool, screenshots with xwd and ImageMagick.
# Sourced by the e2e scripts; each script calls e2e_start_xvfb first, e2e_cleanup runs at exit.

E2E_XVFB_PID=""
E2E_GAME_PID=""
E2E_WESTON_PID=""
E2E_SHOTS=${E2E_SHOTS:-${TMPDIR:-/tmp}/quillon-e2e-shots}
mkdir -p "$E2E_SHOTS"
# The game keeps best times under XDG_DATA_HOME and settings under XDG_CONFIG_HOME: private
# folders, never the player's own.
E2E_DATA_HOME=$(mktemp -d)
export XDG_DATA_HOME=$E2E_DATA_HOME XDG_CONFIG_HOME=$E2E_DATA_HOME/config
# The script's own scratch folder. Both go at exit, with the game and the X server.
E2E_WORK=$(mktemp -d)
trap e2e_cleanup EXIT

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts Xvfb on a free display number and exports DISPLAY; the screen is 1024x768 unless a
# size WxH is given. Its auto-repeat is off (-r), so that a key held until the game shows what it
# does acts once, unless E2E_AUTOREPEAT=1. The server keeps its state when its last client
# leaves (-noreset): otherwise a game started just as the one before it ended may meet the server
# resetting (and end, as it should, with "no display"), and a layout set with setxkbmap while no
# game runs is undone at once.
e2e_start_xvfb() {
  local size=${1:-1024x768} fifo repeat=-r
  [ "${E2E_AUTOREPEAT:-0}" = 1 ] && repeat=
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 ${size}x24 -nolisten tcp $repeat -noreset 3>"$fifo" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || e2e_fail "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=":$number"
  unset WAYLAND_DISPLAY
}

# Starts a headless Wayland compositor (weston) and on it an X server (Xwayland, rootful: its
# root window is one Wayland surface of the screen's size); exports DISPLAY as for Xvfb and
# WAYLAND_DISPLAY for native Wayland clients.
e2e_start_xwayland() {
  local size=${1:-1024x768} fifo number
  E2E_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR=$E2E_RUNTIME_DIR
  weston --backend=headless-backend.so --socket=wayland-e2e --width="${size%x*}" \
    --height="${size#*x}" --idle-time=0 >"$E2E_RUNTIME_DIR/weston.log" 2>&1 &
  E2E_WESTON_PID=$!
  local deadline=$((SECONDS + 20))
  until [ -S "$E2E_RUNTIME_DIR/wayland-e2e" ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "weston did not start: $(cat "$E2E_RUNTIME_DIR/weston.log")"
    sleep 0.2
  done
  export WAYLAND_DISPLAY=wayland-e2e
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xwayland -displayfd 3 -nolisten tcp -r 3>"$fifo" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  read -r -t 20 number <"$fifo" || e2e_fail "Xwayland did not start"
  rm -f "$fifo"
  export DISPLAY=":$number"
}

e2e_cleanup() {
  # The game's whole process group: a message box SDL forked goes with it.
  [ -n "$E2E_GAME_PID" ] && kill -- -"$E2E_GAME_PID" 2>/dev/null
  [ -n "$E2E_GAME_PID" ] && kill "$E2E_GAME_PID" 2>/dev/null
  [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null
  [ -n "$E2E_WESTON_PID" ] && kill "$E2E_WESTON_PID" 2>/dev/null
  [ -n "${E2E_RUNTIME_DIR:-}" ] && rm -rf "$E2E_RUNTIME_DIR"
  wait 2>/dev/null
  rm -rf "$E2E_DATA_HOME" "$E2E_WORK"
  return 0
}

# Ids of the viewable windows with exactly this title. xwininfo rather than xdotool's search:
# SDL's message boxes name themselves with a property type that xdotool cannot read.
e2e_find_windows() {
  local title=$1 id
  xwininfo -root -tree 2>/dev/null | grep -F "\"$title\": (" | awk '{print $1}' | while read -r id; do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id"
  done
  return 0
}

# Waits until a window with exactly this title is viewable; prints its id.
e2e_wait_window() {
  local title=$1 timeout=${2:-30} id=""
  local deadline=$((SECONDS + timeout))
  while [ $SECONDS -lt $deadline ]; do
    id=$(e2e_find_windows "$title" | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  e2e_fail "no window titled '$title' within ${timeout}s"
}

# Waits until no window with this title is viewable.
e2e_wait_window_gone() {
  local title=$1 timeout=${2:-20}
  local deadline=$((SECONDS + timeout))
  while [ $SECONDS -lt $deadline ]; do
    [ -z "$(e2e_find_windows "$title")" ] && return 0
    sleep 0.2
  done
  e2e_fail "window '$title' still there after ${timeout}s"
}

# Client size of a window as WIDTHxHEIGHT.
e2e_window_size() {
  [ -n "$1" ] || e2e_fail "e2e_window_size: no window id"
  xwininfo -id "$1" | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w "x" h}'
}

# Sends keys to a window: focus it (there is no window manager), then type through XTEST.
# (Events sent straight to a window are synthetic, and SDL's message boxes ignore them.)
# Each key is held for half of E2E_KEY_DELAY ms (80 unless set): a tap shorter than a frame is
# lost, as the game polls its keys once a frame.
e2e_key() {
  local id=$1
  shift
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  xdotool key --delay "${E2E_KEY_DELAY:-80}" "$@"
}

# Holds a key down for some seconds.
e2e_hold() {
  local id=$1 key=$2 seconds=$3
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  xdotool keydown "$key"
  sleep "$seconds"
  xdotool keyup "$key"
}

# Screenshot of the whole screen into $E2E_SHOTS/NAME.png; prints the path.
e2e_shot() {
  local path="$E2E_SHOTS/$1.png"
  xwd -root -silent | convert xwd:- "$path"
  echo "$path"
}

# Mean colour of a region of a PNG as "R G B" (0-255): region WxH+X+Y.
e2e_mean_rgb() {
  convert "$1" -crop "$2" +repage -scale 1x1\! -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}

# Standard deviation of a region (0-1): low on a flat area, higher where something is drawn.
e2e_region_detail() {
  convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:standard_deviation]' info:
}

# Runs GAME [ARGS...] in the background in a process group of its own (so that cleanup also ends
# what it forked), output to LOG; sets E2E_GAME_PID (not for use inside $(...)).
e2e_launch() {
  local log=$1
  shift
  setsid "$@" >"$log" 2>&1 &
  E2E_GAME_PID=$!
  echo "$E2E_GAME_PID" >"$E2E_DATA_HOME/game.pid"
}

# Runs a check again and again until it succeeds, for up to TIMEOUT seconds; false after that.
e2e_until() {
  local timeout=$1
  shift
  local deadline=$((SECONDS + timeout))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

# Presses KEY on a window until CHECK... succeeds: the key is held until the check passes (a busy
# machine's slow frame or a load cannot lose it, and with no auto-repeat it acts once), and
# pressed again should the change not come within E2E_RESEND seconds (20: the window lost the
# focus). Fails after E2E_PRESS_TIMEOUT seconds (90).
e2e_press() {
  local id=$1 key=$2 ok
  shift 2
  local deadline=$((SECONDS + ${E2E_PRESS_TIMEOUT:-90}))
  while [ $SECONDS -lt $deadline ]; do
    xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id" 2>/dev/null
    xdotool keydown "$key"
    ok=0
    e2e_until "${E2E_RESEND:-20}" "$@" && ok=1
    xdotool keyup "$key"
    [ $ok = 1 ] && return 0
  done
  e2e_fail "$key on window $id: no change ($*) within ${E2E_PRESS_TIMEOUT:-90}s"
}

# Whether a viewable window with this title exists.
e2e_has_window() {
  [ -n "$(e2e_find_windows "$1")" ]
}

# Whether the middle of window ID shows a whole picture: each quarter of its middle 200x200 has
# something drawn (not one flat colour, as before the first frame or in a frame drawn for the
# window's former size).
e2e_drawn() {
  local x y w h shot dx dy
  [ -n "$1" ] || e2e_fail "e2e_drawn: no window id"
  read -r x y w h <<<"$(xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ {x=$4}
    /Absolute upper-left Y/ {y=$4} /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}')"
  [ -n "$h" ] || return 1
  shot=$(e2e_shot drawn-probe)
  for dx in -100 0; do
    for dy in -100 0; do
      e2e_gt "$(e2e_region_detail "$shot" 100x100+$((x + w / 2 + dx))+$((y + h / 2 + dy)))" 0.03 ||
        return 1
    done
  done
}

# Whether window ID is no longer viewable.
e2e_window_gone() {
  [ -n "$1" ] || e2e_fail "e2e_window_gone: no window id"
  ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# Starts the game in the current folder (output to LOG), answers the start question with No
# from the keyboard (or with the key given: Return for Yes) and waits for the game window; sets
# E2E_GAME_PID and E2E_WINDOW (not for use inside $(...)).
e2e_start_game() {
  local game=$1 log=$2 answer=${3:-Escape} box
  e2e_launch "$log" "$game"
  box=$(e2e_wait_window "Start FullScreen?")
  e2e_answer_box "$box" "$answer"
  E2E_WINDOW=$(e2e_wait_window "Quillon: Game built with the Tarn Project")
}

# Answers a message box with a key (boxes act on the key's release), again while it stays.
e2e_answer_box() {
  local id=$1 key=$2
  e2e_key "$id" "$key"
  e2e_until "${E2E_RESEND:-4}" e2e_window_gone "$id" && return 0
  e2e_key "$id" "$key"
  e2e_until 30 e2e_window_gone "$id" || e2e_fail "box $id did not close on $key"
}

# Waits for the game process to exit; sets E2E_EXIT_CODE (not for use inside $(...)).
e2e_wait_exit() {
  local pid=$1 timeout=${2:-20}
  local deadline=$((SECONDS + timeout))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || e2e_fail "game did not exit within ${timeout}s"
    sleep 0.2
  done
  E2E_EXIT_CODE=0
  wait "$pid" || E2E_EXIT_CODE=$?
  E2E_GAME_PID=""
}

# Brightest grey level of a region (0-1): above 0 where anything at all is drawn.
e2e_region_max() {
  convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:maxima]' info:
}

# Root-mean-square difference (0-1) between the same region of two screenshots.
e2e_region_diff() {
  local a b
  a=$(mktemp --suffix=.png)
  b=$(mktemp --suffix=.png)
  convert "$1" -crop "$3" +repage "$a"
  convert "$2" -crop "$3" +repage "$b"
  compare -metric RMSE "$a" "$b" null: 2>&1 | sed 's/.*(\(.*\))/\1/'
  rm -f "$a" "$b"
}

# Fraction of a region's pixels near a colour: e2e_color_share FILE REGION "#rrggbb" FUZZ%
# (those pixels made transparent and counted: white ones elsewhere must not count).
e2e_color_share() {
  convert "$1" -crop "$2" +repage -alpha off -fuzz "$4" -transparent "$3" -alpha extract -negate \
    -format '%[fx:mean]' info:
}

# a > b for decimal numbers.
# Anything that is not a number (a failed measurement) fails the comparison.
e2e_gt() {
  [[ "$1" =~ ^[0-9.eE+-]+$ ]] || { echo "not a measurement: $1" >&2; return 1; }
  awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 0 > b + 0) }'
}

# Waits until a viewable window with this title has this client size WxH; prints its id.
e2e_wait_window_size() {
  local title=$1 size=$2 timeout=${3:-30} id
  local deadline=$((SECONDS + timeout))
  while [ $SECONDS -lt $deadline ]; do
    for id in $(e2e_find_windows "$title"); do
      [ "$(e2e_window_size "$id")" = "$size" ] && { echo "$id"; return 0; }
    done
    sleep 0.2
  done
  e2e_fail "no $size window titled '$title' within ${timeout}s"
}

# A copy of BUILD's Data/ folder in E2E_WORK, to start the game there (with files damaged).
e2e_copy_data() {
  [ -d "$1/Data" ] || e2e_fail "no Data/ folder in $1 (build the content target)"
  rm -rf "$E2E_WORK/Data"
  cp -r "$1/Data" "$E2E_WORK/"
}

# What the screens of an 800x600 game window show, on a fresh screenshot: the main menu's frame
# on the start entry, the car's name in teal, the track preview's yellow line (the car is yellow
# too, but has its teal name), a race's blue sky.
e2e_menu_drawn() { e2e_gt "$(e2e_region_max "$(e2e_shot probe)" 30x90+60+175)" 0.2; }
e2e_car_shown() { e2e_gt "$(e2e_color_share "$(e2e_shot probe)" 500x120+150+470 '#008080' 25%)" 0.01; }
e2e_track_shown() {
  ! e2e_car_shown && e2e_gt "$(e2e_color_share "$(e2e_shot probe)" 600x300+0+100 '#ffff00' 20%)" 0.002
}
e2e_race_shown() {
  local r g b
  read -r r g b <<<"$(e2e_mean_rgb "$(e2e_shot probe)" 800x100+0+0)"
  [ "$b" -gt $((r + 40)) ]
}

# From the main menu, once drawn, Enter to the car selection and Enter to the track selection.
e2e_to_track_selection() {
  e2e_until 30 e2e_menu_drawn || e2e_fail "the main menu was never drawn"
  e2e_press "$1" Return e2e_car_shown
  e2e_press "$1" Return e2e_track_shown
}

# F1 on window ID until it goes, then waits for the re-created window of SIZE (WxH) to be drawn;
# sets E2E_WINDOW to it (not for use inside $(...)).
e2e_toggle() {
  e2e_press "$1" F1 e2e_window_gone "$1"
  E2E_WINDOW=$(e2e_wait_window_size "Dovi's OpenGL Framework" "$2")
  e2e_until 30 e2e_drawn "$E2E_WINDOW" || e2e_fail "the $2 window after F1 was never drawn"
}

# KEY on window ID until it goes; the game must then end with exit code 0.
e2e_quit() {
  e2e_press "$1" "$2" e2e_window_gone "$1"
  e2e_wait_exit "$E2E_GAME_PID"
  [ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "$2: exit code $E2E_EXIT_CODE, expected 0"
}
