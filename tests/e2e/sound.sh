#!/usr/bin/env bash
# End to end, the sound: OpenAL Soft's wave-file backend records what the game plays. A race
# must hold five countdown beeps a second apart ("READY" to "1" at 880 Hz, "GO" at 1760 Hz) and
# an engine whose pitch rises while Up is held; --mute records silence; a start without a usable
# audio device plays on and says so once.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT
[ -d "$build/Data/Sounds" ] || e2e_fail "no Data/Sounds/ folder in $build (build the content target)"
command -v sox >/dev/null || e2e_fail "sox is needed"
work=$(mktemp -d)
trap 'e2e_cleanup; rm -rf "$work"' EXIT

# An OpenAL Soft configuration that mixes into a WAVE file instead of a device.
wave_conf() {
  printf '[general]\ndrivers = wave\nfrequency = 22050\nchannels = mono\n[wave]\nfile = %s\n' "$1" \
    >"$work/$2.conf"
  echo "$work/$2.conf"
}

now() { date +%s.%N; }

# Times (seconds into the recording) where the band LOW-HIGH Hz starts to sound after a quiet
# spell: 10 ms windows, loud meaning a third of the band's loudest window.
onsets() {
  sox "$1" -t dat - remix - sinc "$2"-"$3" rate 8000 2>/dev/null | awk '
    /^;/ { next }
    { sum += $2 * $2; n++; if (n == 80) { e[w++] = sqrt(sum / n); if (e[w-1] > top) top = e[w-1]; sum = 0; n = 0 } }
    END { quiet = 100; for (i = 0; i < w; i++) {
            if (e[i] > top / 3) { if (quiet >= 30) printf "%.2f\n", i / 100; quiet = 0 } else quiet++ } }'
}

# The engine's frequency in Hz from FROM to TO seconds: zero crossings below 300 Hz.
engine_hz() {
  sox "$1" -n remix - trim "$2" "=$3" sinc -300 stat 2>&1 | awk '/Rough   frequency/ { print $3 }'
}

e2e_start_xvfb
cd "$build"

# A race: Enter three times, the countdown, Up held for three seconds, Escape, quit.
rec=$work/race.wav
t0=$(now)
ALSOFT_CONF=$(wave_conf "$rec" race) e2e_start_game "$game" "$work/race.log"
win=$E2E_WINDOW
sleep 1
e2e_key "$win" Return
sleep 0.5
e2e_key "$win" Return
sleep 0.5
e2e_key "$win" Return
t_enter=$(now)
sleep 6.5
t_up=$(now)
e2e_hold "$win" Up 3
t_release=$(now)
e2e_key "$win" Escape
sleep 0.5
e2e_key "$win" Down Return
e2e_wait_exit "$E2E_GAME_PID"
[ -s "$rec" ] || e2e_fail "no recording"

beeps=$(onsets "$rec" 850 910)
go=$(onsets "$rec" 1720 1800)
echo "beeps at: $beeps / go at: $go"
[ "$(echo "$beeps" | wc -l)" = 4 ] || e2e_fail "four 880 Hz beeps expected: $beeps"
[ "$(echo "$go" | wc -l)" = 1 ] || e2e_fail "one GO beep expected: $go"
# The countdown runs on whole calendar seconds: "3" comes at the next turn of the second after
# "READY" (up to a second later), then each text a second after the one before.
printf '%s\n%s\n' "$beeps" "$go" | awk 'NR == 2 && $1 - last > 1.2 { bad = 1 }
  NR > 2 { gap = $1 - last; if (gap < 0.8 || gap > 1.2) bad = 1 }
  { last = $1 } END { exit bad }' || e2e_fail "the countdown beeps are not a second apart"

# The recording's clock against the script's: the READY beep sounded when Enter was pressed.
ready=$(echo "$beeps" | head -n 1)
shift_s=$(awk -v a="$t_enter" -v b="$t0" -v r="$ready" 'BEGIN { print a - b - r }')
span() { awk -v t="$1" -v b="$t0" -v s="$shift_s" -v d="$2" 'BEGIN { printf "%.2f", t - b - s + d }'; }
idle=$(engine_hz "$rec" "$(span "$t_enter" 1.3)" "$(span "$t_enter" 1.8)")
early=$(engine_hz "$rec" "$(span "$t_up" 0.3)" "$(span "$t_up" 0.8)")
late=$(engine_hz "$rec" "$(span "$t_release" -0.6)" "$(span "$t_release" -0.1)")
echo "engine: idle $idle Hz, Up held $early Hz then $late Hz"
e2e_gt "$late" "$(awk -v e="$early" 'BEGIN { print e * 1.2 }')" || e2e_fail "the engine's pitch did not rise"
e2e_gt "$late" "$(awk -v e="$idle" 'BEGIN { print e * 1.5 }')" || e2e_fail "no engine above idle"

# --mute: the same menus and race start record silence.
rec=$work/mute.wav
ALSOFT_CONF=$(wave_conf "$rec" mute) "$game" --windowed --mute >"$work/mute.log" 2>&1 &
E2E_GAME_PID=$!
win=$(e2e_wait_window "Quillon: Game built with the Tarn Project")
sleep 1
e2e_key "$win" Return
sleep 0.5
e2e_key "$win" Return
sleep 0.5
e2e_key "$win" Return
sleep 2
e2e_key "$win" Escape
sleep 0.5
e2e_key "$win" Down Return
e2e_wait_exit "$E2E_GAME_PID"
peak=$(sox "$rec" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
[ "$peak" = "0.000000" ] || e2e_fail "--mute: the recording is not silent (peak $peak)"

# No usable audio device: the game plays on and says so once.
printf '[general]\ndrivers = nosuchdriver\n' >"$work/none.conf"
ALSOFT_CONF=$work/none.conf "$game" --windowed >"$work/none.log" 2>&1 &
E2E_GAME_PID=$!
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
