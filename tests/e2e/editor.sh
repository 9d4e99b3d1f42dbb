#!/usr/bin/env bash
# End to end: E on a track of the player's own opens the editor; a waypoint dragged with the mouse,
# one inserted on the road and raised, T tries the track, Escape comes back, Ctrl+S saves and
# Escape returns to the track selection; the saved file passes --check-track and the autopilot
# races it to the finish. Then the editing and saving with the keyboard alone, a letter beyond
# ASCII typed into the name.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
[ -d "$build/Data" ] || e2e_fail "no Data/ folder in $build (build the content target)"
tracks=$XDG_DATA_HOME/quillon/tracks
mkdir -p "$tracks"
file=$tracks/Mine.track
{
  printf 'quillon-track 1\nname Mine\nsteps 59\nhalfWidth 0.7\nlaps 1\nroad Road.bmp\n'
  printf 'border border.bmp\nsky Sky.bmp\nbanner bannerStart.ms3d\n'
} >"$file"
# The oval's pieces, as the editor itself writes them.
cat >>"$file" <<'POINTS'
point 0 0 0
point 1.6666666666666665 0 0
point 7 0 1.3333333333333333
point 10 0 0
point 10 0 0
point 13 0 -1.3333333333333333
point 18 0 -5.333333333333333
point 18 0 -8
point 18 0 -8
point 18 0 -10.666666666666666
point 13.333333333333334 0 -16
point 10 0 -16
point 10 0 -16
point 3.333333333333333 0 -16
point -3.333333333333333 0 -16
point -10 0 -16
point -10 0 -16
point -13.333333333333334 0 -16
point -18 0 -10.666666666666666
point -18 0 -8
point -18 0 -8
point -18 0 -5.333333333333333
point -11.027961001420617 0 0
point -8 0 0
POINTS
"$game" --check-track "$file" >/dev/null || e2e_fail "the starting track is refused"

# The editor's height strip, dark blue, fills the bottom of the window.
e2e_editor_shown() { e2e_gt "$(e2e_color_share "$(e2e_shot probe)" 500x25+250+515 '#14141f' 8%)" 0.8; }
# The first pixel of a colour in the map (above the strips) of a fresh screenshot, as "X Y".
e2e_find() {
  convert "$(e2e_shot find)" -crop 800x480+0+0 +repage txt:- | grep -i "$1" | sed -n "${2:-1}p" |
    sed 's/^\([0-9]*\),\([0-9]*\):.*/\1 \2/'
}
changed() { [ "$(md5sum <"$file")" != "$1" ]; }
# The race tests' autopilot drives the saved file (headless, no window) to the finish.
autopilot() {
  local tests=$build/tests/race_tests
  [ -x "$tests" ] || e2e_fail "no $tests to drive the saved track (build race_tests)"
  QUILLON_AUTOPILOT_TRACK=$file QUILLON_SOURCE_DIR=$source_dir "$tests" \
    --gtest_filter='*QuillonAutopilotTrack*' >"$E2E_SHOTS/autopilot-$1.log" 2>&1 &&
    grep -q '^\[       OK \]' "$E2E_SHOTS/autopilot-$1.log" ||
    e2e_fail "the autopilot did not finish the track saved by $1 (see $E2E_SHOTS/autopilot-$1.log)"
}
differs() { e2e_gt "$(e2e_region_diff "$1" "$(e2e_shot probe)" "$2")" 0.01; }

e2e_start_xvfb
cd "$build"

# With the mouse.
e2e_start_game "$game" editor-1.log
win=$E2E_WINDOW
e2e_to_track_selection "$win"
first=$(e2e_shot editor-1-first-track)
e2e_press "$win" Left differs "$first" 800x600+0+0  # round to the last track: the player's own
e2e_press "$win" e e2e_editor_shown
before=$(e2e_shot editor-2-opened)
read -r x y <<<"$(e2e_find '#33CCFF')"
[ -n "$y" ] || e2e_fail "no waypoint handle on the map"
xdotool mousemove "$x" "$y" sleep 0.2 mousedown 1 sleep 0.2 mousemove $((x + 15)) $((y + 10)) \
  sleep 0.2 mousemove $((x + 40)) $((y + 25)) sleep 0.3 mouseup 1
e2e_until 20 differs "$before" 800x480+0+0 || e2e_fail "the drag moved nothing"
moved=$(e2e_shot editor-3-moved)
read -r x y <<<"$(e2e_find '#525252' 400)"
[ -n "$y" ] || e2e_fail "no road on the map"
xdotool mousemove "$x" "$y" sleep 0.2 click 1
e2e_until 20 differs "$moved" 800x480+0+0 || e2e_fail "the click inserted nothing"
inserted=$(e2e_shot editor-4-inserted)
E2E_KEY_DELAY=150 e2e_key "$win" Prior Prior Prior Prior Prior Prior
e2e_until 20 differs "$inserted" 800x90+0+510 || e2e_fail "PgUp raised nothing"
e2e_shot editor-5-raised >/dev/null
unchanged=$(md5sum <"$file")
e2e_press "$win" t e2e_race_shown
e2e_shot editor-6-trial >/dev/null
e2e_press "$win" Escape e2e_editor_shown
changed "$unchanged" && e2e_fail "the file changed before Ctrl+S"
e2e_press "$win" ctrl+s changed "$unchanged"
e2e_press "$win" Escape e2e_track_shown
e2e_shot editor-7-offered >/dev/null
e2e_quit "$win" F4
"$game" --check-track "$file" || e2e_fail "the saved track is refused"
grep -q "^# Made with Quillon's track editor." "$file" || e2e_fail "no editor comment"
[ "$(grep -c '^point' "$file")" -eq 28 ] || e2e_fail "the inserted waypoint is not saved"
grep '^point' "$file" | awk '$3 > 0.4 { found = 1 } END { exit !found }' || e2e_fail "no height saved"
"$game" --list-tracks | grep -q "Mine" || e2e_fail "the saved track is not offered"
autopilot mouse

# The keyboard alone: the next waypoint, moved, one inserted after it and raised.
e2e_start_game "$game" editor-2.log
win=$E2E_WINDOW
e2e_to_track_selection "$win"
first=$(e2e_shot editor-8-first-track)
e2e_press "$win" Left differs "$first" 800x600+0+0
e2e_press "$win" e e2e_editor_shown
before=$(md5sum <"$file")
# Each key held until the picture shows what it did (a tap can fall between two frames).
press_changes() {
  local shot
  shot=$(e2e_shot editor-key)
  e2e_press "$win" "$1" differs "$shot" "$2"
}
press_changes Tab 800x480+0+0
press_changes Right 800x480+0+0
press_changes Insert 800x480+0+0
press_changes Prior 800x90+0+510
# The name, a letter beyond ASCII in it: Enter opens it, é (typed as text) goes in, Enter closes it.
press_changes Return 250x200+0+0
press_changes eacute 250x30+0+0
press_changes Return 250x200+0+0
e2e_press "$win" ctrl+s changed "$before"
e2e_press "$win" Escape e2e_track_shown
e2e_quit "$win" F4
"$game" --check-track "$file" || e2e_fail "the track saved from the keyboard is refused"
[ "$(grep -c '^point' "$file")" -eq 32 ] || e2e_fail "the waypoint inserted from the keyboard is not saved"
grep -qx "name Mine$(printf '\303\251')" "$file" || e2e_fail "the name typed is not saved"
echo "editor: ok"
