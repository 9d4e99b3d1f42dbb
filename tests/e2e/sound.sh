#!/usr/bin/env bash
# End to end, the sound: OpenAL Soft's wave-file backend records what the game plays. A race
# must hold five countdown beeps a second apart ("READY" to "1" at 880 Hz, "GO" at 1760 Hz) and
# an engine whose pitch rises while Up is held, and menu ticks after F1's new window; --mute
# records silence; a start without a usable
# audio device plays on and says so once.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
# Keys held 150 ms: a busy machine draws few frames a second, and a shorter tap may fall between.
export E2E_KEY_DELAY=300
[ -d "$build/Data/Sounds" ] || e2e_fail "no Data/Sounds/ folder in $build (build the content target)"
command -v sox >/dev/null || e2e_fail "sox is needed"
work=$E2E_WORK

# An OpenAL Soft configuration that mixes into a WAVE file instead of a device.
wave_conf() {
  printf '[general]\ndrivers = wave\nfrequency = 22050\nchannels = mono\n[wave]\nfile = %s\n' "$1" \
    >"$work/$2.conf"
  echo "$work/$2.conf"
}

now() { date +%s.%N; }

# Times (seconds into the recording) where the band LOW-HIGH Hz starts to sound after 80 ms of
# quiet: 10 ms windows, loud meaning a third of the band's loudest window.
onsets() {
  sox "$1" -t dat - remix - sinc "$2"-"$3" rate 8000 2>/dev/null | awk '
    /^;/ { next }
    { sum += $2 * $2; n++; if (n == 80) { e[w++] = sqrt(sum / n); if (e[w-1] > top) top = e[w-1]; sum = 0; n = 0 } }
    END { quiet = 100; for (i = 0; i < w; i++) {
            if (e[i] > top / 3) { if (quiet >= 8) printf "%.2f\n", i / 100; quiet = 0 } else quiet++ } }'
}

# The engine's frequency in Hz from FROM to TO seconds: zero crossings below 300 Hz.
engine_hz() {
  sox "$1" -n remix - trim "$2" "=$3" sinc -300 stat 2>&1 | awk '/Rough   frequency/ { print $3 }'
}

e2e_start_xvfb
cd "$build"

# A race: Enter three times, the countdown, Up held for 2.5 seconds (still on the first straight),
# Escape, F1, quit. The
# countdown's texts come with frames: a machine too busy to draw one a second can skip a text
# and its beep, so a race that misses is run again, three times at most.
race_attempt() {
  local rec=$work/race-$1.wav
  t0=$(now)
  ALSOFT_CONF=$(wave_conf "$rec" race) e2e_start_game "$game" "$work/race.log"
  win=$E2E_WINDOW
  e2e_to_track_selection "$win"
  # "3" comes when the calendar second turns after "READY": Enter just after a turn keeps their
  # beeps apart, where a late one would sound them back to back as one.
  sleep "$(awk -v t="$(now)" 'BEGIN { f = t - int(t); printf "%.3f", f < 0.05 ? 0.05 - f : 1.05 - f }')"
  t_enter=$(now)
  e2e_press "$win" Return e2e_race_shown
  sleep 6.5
  t_up=$(now)
  e2e_hold "$win" Up 2.5
  t_release=$(now)
  e2e_key "$win" Escape
  sleep 0.5
  # F1's new window keeps the sound: the menu ticks after it are recorded too.
  t_f1=$(now)
  e2e_toggle "$win" 1024x768
  win=$E2E_WINDOW
  e2e_key "$win" Down
  sleep 0.5
  e2e_key "$win" Up
  sleep 0.5
  e2e_key "$win" Down Return
  e2e_wait_exit "$E2E_GAME_PID"
  [ -s "$rec" ] || e2e_fail "no recording"

  beeps=$(onsets "$rec" 850 910)
  go=$(onsets "$rec" 1720 1800)
  echo "beeps at: $beeps / go at: $go"
  [ "$(echo "$beeps" | wc -l)" = 4 ] || { echo "four 880 Hz beeps expected: $beeps"; return 1; }
  [ "$(echo "$go" | wc -l)" = 1 ] || { echo "one GO beep expected: $go"; return 1; }
  # The countdown runs on whole calendar seconds: "3" comes at the next turn of the second after
  # "READY" (up to a second later), then each text a second after the one before.
  printf '%s\n%s\n' "$beeps" "$go" | awk 'NR == 2 && $1 - last > 1.2 { bad = 1 }
    NR > 2 { gap = $1 - last; if (gap < 0.8 || gap > 1.2) bad = 1 }
    { last = $1 } END { exit bad }' ||
    { echo "the countdown beeps are not a second apart"; return 1; }

  # The recording's clock against the script's: the READY beep sounded when Enter was pressed.
  ready=$(echo "$beeps" | head -n 1)
  shift_s=$(awk -v a="$t_enter" -v b="$t0" -v r="$ready" 'BEGIN { print a - b - r }')
  span() { awk -v t="$1" -v b="$t0" -v s="$shift_s" -v d="$2" 'BEGIN { printf "%.2f", t - b - s + d }'; }
  idle=$(engine_hz "$rec" "$(span "$t_enter" 1.3)" "$(span "$t_enter" 1.8)")
  early=$(engine_hz "$rec" "$(span "$t_up" 0.3)" "$(span "$t_up" 0.8)")
  late=$(engine_hz "$rec" "$(span "$t_release" -0.6)" "$(span "$t_release" -0.1)")
  echo "engine: idle $idle Hz, Up held $early Hz then $late Hz"
  e2e_gt "$late" "$(awk -v e="$early" 'BEGIN { print e * 1.15 }')" || { echo "the engine's pitch did not rise"; return 1; }
  e2e_gt "$late" "$(awk -v e="$idle" 'BEGIN { print e * 1.15 }')" || { echo "no engine above idle"; return 1; }

  ticks=$(onsets "$rec" 1950 2050 | awk -v from="$(span "$t_f1" 0)" '$1 > from' | wc -l)
  [ "$ticks" -ge 2 ] || { echo "no menu ticks after F1 ($ticks)"; return 1; }
}
attempt=1
until race_attempt $attempt; do
  [ $attempt -lt 3 ] || e2e_fail "the race's sounds, three times over"
  attempt=$((attempt + 1))
done

# --mute: the same menus and race start record silence.
rec=$work/mute.wav
ALSOFT_CONF=$(wave_conf "$rec" mute) e2e_launch "$work/mute.log" "$game" --windowed --mute
win=$(e2e_wait_window "Quillon: Game built with the Tarn Project")
e2e_to_track_selection "$win"
e2e_press "$win" Return e2e_race_shown
sleep 2
e2e_key "$win" Escape
sleep 0.5
e2e_key "$win" Down Return
e2e_wait_exit "$E2E_GAME_PID"
peak=$(sox "$rec" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
[ "$peak" = "0.000000" ] || e2e_fail "--mute: the recording is not silent (peak $peak)"

# No usable audio device: the game plays on and says so once.
printf '[general]\ndrivers = nosuchdriver\n' >"$work/none.conf"
ALSOFT_CONF=$work/none.conf e2e_launch "$work/none.log" "$game" --windowed
win=$(e2e_wait_window "Quillon: Game built with the Tarn Project")
sleep 1
e2e_key "$win" Return
sleep 0.5
e2e_key "$win" Escape
sleep 0.5
e2e_key "$win" Down Return
e2e_wait_exit "$E2E_GAME_PID"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "without a device the game ended with $E2E_EXIT_CODE"
[ "$(grep -c 'audio device' "$work/none.log")" = 1 ] ||
  e2e_fail "without a device: not said exactly once: $(cat "$work/none.log")"
echo "sound: ok"
