#!/usr/bin/env bash
# End to end, the sound: OpenAL Soft's wave-file backend records what the game plays. A race
# must hold "READY" (660 Hz), three beeps a second apart ("3" to "1", 880 Hz) and "GO" (1760 Hz),
# each its own sound however close "READY" and "3" come; an engine within 10 dB of the beeps
# (ffmpeg's BS.1770 meter) that brightens as Up is held (ffmpeg's spectral centroid); a steady
# rumble off the road (40-80 Hz); a mix whose true peak stays under -1 dBFS; and menu ticks after F1's new
# window. A race of two holds both engines (two firing rates) and its replay the race's engine
# and crashes (see two_attempt). --mute records silence; a start without a usable audio device
# plays on and says so once.
set -eu
game=$1
build=$2
. "$(dirname "$0")/lib.sh"
# Keys held 150 ms: a busy machine draws few frames a second, and a shorter tap may fall between.
export E2E_KEY_DELAY=300
[ -d "$build/Data/Sounds" ] || e2e_fail "no Data/Sounds/ folder in $build (build the content target)"
command -v sox >/dev/null || e2e_fail "sox is needed"
command -v ffmpeg >/dev/null || e2e_fail "ffmpeg is needed"
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

# ffmpeg's BS.1770 momentary loudness (400 ms) from FROM to TO seconds: the loudest (max) or
# the middle value (median), in LUFS.
loudness() {
  ffmpeg -hide_banner -nostats -v verbose -ss "$2" -to "$3" -i "$1" -af ebur128=framelog=verbose \
    -f null - 2>&1 | awk '/ M:/ { for (i = 1; i < NF; i++) if ($i == "M:") print $(i + 1) }' |
    sort -g | awk -v how="$4" '{ m[n++] = $1 }
    END { if (n < 5) print "none"; else if (how == "max") print m[n - 1]; else print m[int(n / 2)] }'
}

# The mean spectral centroid from FROM to TO seconds, in Hz (ffmpeg's aspectralstats).
centroid() {
  ffmpeg -hide_banner -nostats -ss "$2" -to "$3" -i "$1" \
    -af aspectralstats,ametadata=print:file=- -f null - 2>/dev/null |
    awk -F= '/centroid/ { s += $2; n++ } END { if (n) printf "%.0f", s / n; else print "none" }'
}

# The level (dB) of the band LOW-HIGH Hz in 50 ms windows from FROM to TO seconds, one a line.
band_series() {
  sox "$1" -t dat - remix - trim "$4" "=$5" sinc "$2"-"$3" rate 8000 2>/dev/null | awk '
    /^;/ { next }
    { sum += $2 * $2; n++; if (n == 400) { printf "%.1f\n", 10 * log(sum / n + 1e-12) / log(10); sum = 0; n = 0 } }'
}

e2e_start_xvfb
cd "$build"

# A race: Enter three times, the countdown, Up held for 2.5 seconds (still on the first straight),
# then Up and Left into the border for 2.5 seconds, Escape, F1, quit. Enter comes at PHASE
# seconds after the calendar second turns: "3" comes at the next turn after "READY", so a late
# phase brings them within a fraction of a second. The countdown's texts come with frames: a
# machine too busy to draw one a second can skip a text and its beep, so a race that misses is
# run again, three times at most.
race_attempt() {
  local rec=$work/race-$1.wav phase=$2
  t0=$(now)
  ALSOFT_CONF=$(wave_conf "$rec" race) e2e_start_game "$game" "$work/race.log"
  win=$E2E_WINDOW
  e2e_to_track_selection "$win"
  sleep "$(awk -v t="$(now)" -v p="$phase" 'BEGIN { d = p - (t - int(t)); if (d < 0.02) d += 1; printf "%.3f", d }')"
  t_enter=$(now)
  e2e_press "$win" Return e2e_race_shown
  sleep 6.5
  t_up=$(now)
  e2e_hold "$win" Up 2.5
  t_release=$(now)
  xdotool keydown Up Left
  sleep 2.5
  xdotool keyup Up Left
  t_off_end=$(now)
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

  ready=$(onsets "$rec" 640 680 | head -n 1)
  beeps=$(onsets "$rec" 850 910)
  go=$(onsets "$rec" 1720 1800)
  echo "phase $phase: ready at $ready / beeps at: $beeps / go at: $go"
  [ -n "$ready" ] || { echo "no READY sound"; return 1; }
  [ "$(echo "$beeps" | wc -l)" = 3 ] || { echo "three 880 Hz beeps expected: $beeps"; return 1; }
  [ "$(echo "$go" | wc -l)" = 1 ] || { echo "one GO expected: $go"; return 1; }
  # The countdown runs on whole calendar seconds: "3" comes at the next turn of the second after
  # "READY" (up to a second later), then each text a second after the one before.
  printf '%s\n%s\n%s\n' "$ready" "$beeps" "$go" | awk 'NR == 2 && ($1 - last > 1.05 || $1 < last) { bad = 1 }
    NR > 2 { gap = $1 - last; if (gap < 0.8 || gap > 1.2) bad = 1 }
    { last = $1 } END { exit bad }' ||
    { echo "the countdown is not a second apart"; return 1; }

  # The recording's clock against the script's: the READY sound started when Enter was pressed.
  shift_s=$(awk -v a="$t_enter" -v b="$t0" -v r="$ready" 'BEGIN { print a - b - r }')
  span() { awk -v t="$1" -v b="$t0" -v s="$shift_s" -v d="$2" 'BEGIN { printf "%.2f", t - b - s + d }'; }
  first=$(echo "$beeps" | head -n 1)
  beep_lufs=$(loudness "$rec" "$first" "$(awk -v g="$go" 'BEGIN { print g + 0.6 }')" max)
  engine_lufs=$(loudness "$rec" "$(span "$t_up" 0.3)" "$(span "$t_release" -0.1)" median)
  echo "loudness: countdown $beep_lufs LUFS, engine under Up $engine_lufs LUFS"
  e2e_gt "$engine_lufs" "$(awk -v b="$beep_lufs" 'BEGIN { print b - 10 }')" ||
    { echo "the engine is more than 10 dB under the beeps"; return 1; }
  idle=$(centroid "$rec" "$(span "$t_up" -0.9)" "$(span "$t_up" -0.2)")
  early=$(centroid "$rec" "$(span "$t_up" 0.2)" "$(span "$t_up" 0.7)")
  late=$(centroid "$rec" "$(span "$t_release" -0.6)" "$(span "$t_release" -0.1)")
  echo "engine's spectral centroid: idle $idle Hz, Up held $early Hz then $late Hz"
  e2e_gt "$late" "$(awk -v e="$early" 'BEGIN { print e * 1.1 }')" || { echo "the engine did not brighten"; return 1; }
  e2e_gt "$late" "$(awk -v e="$idle" 'BEGIN { print e * 1.1 }')" || { echo "no engine above idle"; return 1; }

  # Off the road: the rumble's band (under the engine's notes) rises 6 dB over its level on the
  # road for half a second or more, and from its first such window to its last never falls 8 dB
  # under its middle (bursts with gaps would fall back to the road's level).
  road=$(band_series "$rec" 40 80 "$(span "$t_up" 0.5)" "$(span "$t_release" -0.1)" | sort -g |
    awk '{ e[n++] = $1 } END { print n ? e[int(n / 2)] : "none" }')
  read -r loud stretch median lowest <<<"$(band_series "$rec" 40 80 "$(span "$t_release" 0)" \
    "$(span "$t_off_end" -0.1)" | awk -v road="$road" '{ e[n++] = $1 }
    END { first = -1; for (i = 0; i < n; i++) if (e[i] > road + 6) { if (first < 0) first = i; last = i; loud++ }
          if (first < 0) { print "0 0 none none"; exit }
          for (i = first; i <= last; i++) s[i - first] = e[i]; m = last - first + 1
          for (i = 0; i < m; i++) for (j = i + 1; j < m; j++) if (s[j] < s[i]) { t = s[i]; s[i] = s[j]; s[j] = t }
          print loud, m, s[int(m / 2)], s[0] }')"
  echo "40-80 Hz: on the road $road dB; off it $loud windows of 50 ms over $stretch, middle $median dB, lowest $lowest dB"
  [ "$loud" -ge 10 ] || { echo "no rumble off the road"; return 1; }
  e2e_gt "$lowest" "$(awk -v m="$median" 'BEGIN { print m - 8 }')" || { echo "the rumble comes in bursts"; return 1; }

  peak=$(ffmpeg -hide_banner -nostats -i "$rec" -af ebur128=peak=true -f null - 2>&1 | awk '/Peak:/ { p = $2 } END { print p }')
  echo "the mix's true peak: $peak dBFS"
  e2e_gt -1.0 "$peak" || { echo "the mix goes over -1 dBFS"; return 1; }
  # Kept beside the screenshots, to look at (sox spectrogram) after the run.
  if [ -n "${E2E_SHOTS:-}" ]; then mkdir -p "$E2E_SHOTS" && cp "$rec" "$E2E_SHOTS/race-$phase.wav"; fi

  ticks=$(onsets "$rec" 1950 2050 | awk -v from="$(span "$t_f1" 0)" '$1 > from' | wc -l)
  [ "$ticks" -ge 2 ] || { echo "no menu ticks after F1 ($ticks)"; return 1; }
}
# Enter early in a second, then at the phase that brings "READY" about a tenth of a second
# before the turn (from how late "READY" came after Enter the first time), so "3" follows close.
phase=0.1
for run in early late; do
  attempt=1
  until race_attempt "$run-$attempt" "$phase"; do
    [ $attempt -lt 3 ] || e2e_fail "the race's sounds ($run), three times over"
    attempt=$((attempt + 1))
  done
  first=$(echo "$beeps" | head -n 1)
  echo "$run: READY to 3 in $(awk -v r="$ready" -v b="$first" 'BEGIN { printf "%.2f", b - r }') s"
  phase=$(awk -v r="$ready" -v b="$first" -v p="$phase" 'BEGIN { late = (1 - (b - r)) - p
    q = 0.9 - late; q -= int(q); if (q < 0) q += 1; printf "%.2f", q }')
done

# Two firing rates from FROM for SECONDS (sox's power spectrum, 60-420 Hz), the lower first: the
# strongest peak, and the strongest within 12 dB of it that is neither a whole multiple of it nor
# of which it is one (more than 5 % off either way): "LOW HIGH", or "F1 none".
firing_rates() {
  sox "$1" -n trim "$2" "$3" rate 4000 stat -freq 2>&1 | awk '$1 ~ /^[0-9.]+$/ && $1 >= 60 && $1 <= 420 { f[n] = $1; p[n++] = $2 }
    END { for (i = 2; i < n - 2; i++) if (p[i] > p[i-1] && p[i] >= p[i+1] && p[i] > p[i-2] && p[i] >= p[i+2]) { F[m] = f[i]; P[m++] = p[i] }
          top = 0; for (i = 0; i < m; i++) if (P[i] > P[top]) top = i
          best = -1; for (i = 0; i < m; i++) { r = F[i] > F[top] ? F[i] / F[top] : F[top] / F[i]; d = (r - int(r + 0.5)) / r
            if (d < 0) d = -d; if (d > 0.05 && P[i] > P[top] / 16 && (best < 0 || P[i] > P[best])) best = i }
          if (best < 0) printf "%.0f none\n", F[top]; else if (F[best] < F[top]) printf "%.0f %.0f\n", F[best], F[top]; else printf "%.0f %.0f\n", F[top], F[best] }'
}
# The strongest frequency between 300 Hz and 2 kHz of 0.6 s from FROM.
ring() {
  sox "$1" -n trim "$2" 0.6 rate 8000 stat -freq 2>&1 |
    awk '$1 ~ /^[0-9.]+$/ && $1 >= 300 && $1 <= 2000 { if ($2 > p) { p = $2; f = $1 } } END { printf "%.0f", f }'
}
# From FROM on, where the recording falls silent for 0.2 s (silent), or sounds again after such a
# silence (after_silence); the recording's end if never.
silence_edges() {
  sox "$1" -t dat - trim "$2" rate 8000 2>/dev/null | awk -v from="$2" -v want="$3" '/^;/ { next }
    { s += $2 * $2; n++; if (n == 400) { db = 10 * log(s / n + 1e-12) / log(10); w++
      if (db < -60) { if (++quiet == 4 && want == "silent") { printf "%.2f\n", from + (w - 4) * 0.05; exit } }
      else { if (quiet >= 4 && want == "after") { printf "%.2f\n", from + (w - 1) * 0.05; exit } quiet = 0 }
      s = 0; n = 0 } }
    END { printf "%.2f\n", from + w * 0.05 }' | head -n 1
}
near() { awk -v a="$1" -v b="$2" -v r="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(b > 0 && d <= r * b) }'; }

# A race of two, both players in a 911PIZ, and its replay. Player one holds Up for 1.5 s, turns
# into the border while player two idles; then player two follows, both crash, and V watches the
# race again. The race holds two firing rates at once (player one's risen, player two's idle);
# the replay holds the same rates at the same moments (idle, just before the first hit: the
# rising one within 7 %, as the half second measured spans fewer steps at the replay's frame
# rate), and each ends in the crash. Moments are found in the sound itself (GO's tone, a hit's
# thud, the silences), as a busy machine replays at another frame rate than it raced.
two_attempt() {
  local rec=$work/two-$1.wav
  ALSOFT_CONF=$(wave_conf "$rec" two) e2e_start_game "$game" "$work/two.log"
  win=$E2E_WINDOW
  orange_in() { e2e_gt "$(e2e_color_share "$(e2e_shot probe)" "$1" '#ff8c1a' 20%)" "$2"; }
  # "Your car has too much damage" in yellow across the half at height Y; looked for once a
  # second, as screenshots taken more often slow the game's frames on a busy machine.
  crashed() {
    sleep 0.8
    e2e_gt "$(e2e_color_share "$(e2e_shot probe)" "600x40+100+$1" '#ffff00' 20%)" 0.02
  }
  e2e_until 30 e2e_menu_drawn && e2e_press "$win" Return e2e_car_shown
  e2e_press "$win" w orange_in 800x40+0+0 0.001
  e2e_key "$win" Right
  e2e_press "$win" Return orange_in 500x120+150+470 0.01
  e2e_key "$win" Right
  e2e_press "$win" Return e2e_track_shown
  e2e_press "$win" Return e2e_race_shown
  sleep 5.5
  e2e_hold "$win" Up 1.5
  xdotool keydown Up Left
  sleep 1.5
  xdotool keydown w a
  e2e_until 60 eval 'crashed 185 && crashed 485' || { xdotool keyup Up Left w a; echo "not both crashed"; return 1; }
  xdotool keyup Up Left w a
  sleep 2 # the crash dies away: the replay starts after a silence
  e2e_press "$win" v eval '! crashed 185'
  e2e_until 90 eval 'crashed 185 && crashed 485' || { echo "the replay never showed both crashes"; return 1; }
  sleep 3 # the crash's ring (OpenAL Soft's file output may lag a busy machine's frames)
  e2e_quit "$win" F4
  if [ -n "${E2E_SHOTS:-}" ]; then cp "$rec" "$E2E_SHOTS/race-of-two.wav"; fi

  go=$(onsets "$rec" 1720 1800 | head -n 1)
  # Thuds: hits and crashes (150-250 Hz).
  onsets "$rec" 150 250 | awk -v g="${go:-0}" '$1 > g + 1' >"$work/thuds"
  hit=$(head -n 1 "$work/thuds")
  race_end=$(silence_edges "$rec" "$hit" silent)
  replay=$(silence_edges "$rec" "$hit" after)
  rhit=$(awk -v r="$replay" '$1 > r' "$work/thuds" | head -n 1)
  replay_end=$(silence_edges "$rec" "$rhit" silent)
  echo "race: GO $go, first hit $hit, silent from $race_end / replay from $replay: first hit $rhit, silent from $replay_end"
  [ -n "$rhit" ] || { echo "no replay after the race"; return 1; }
  at() { awk -v t="$1" -v d="$2" 'BEGIN { print t + d }'; }
  read -r idle _ <<<"$(firing_rates "$rec" "$go" 0.5)"
  read -r low high <<<"$(firing_rates "$rec" "$(at "$hit" -0.6)" 0.5)"
  read -r r_idle _ <<<"$(firing_rates "$rec" "$replay" 0.5)"
  read -r r_low r_high <<<"$(firing_rates "$rec" "$(at "$rhit" -0.6)" 0.5)"
  echo "firing rates (Hz), race / replay: idle $idle / $r_idle; before the first hit $low and $high / $r_low and $r_high"
  [ "$high" != none ] && [ "$r_high" != none ] || { echo "not two engines"; return 1; }
  e2e_gt "$high" "$(awk -v i="$idle" 'BEGIN { print i * 1.25 }')" || { echo "the engine did not rise"; return 1; }
  near "$r_idle" "$idle" 0.03 && near "$r_low" "$low" 0.04 && near "$r_high" "$high" 0.07 ||
    { echo "the replay's engines are not the race's"; return 1; }
  # Each ends on the last crash: once the engines have stopped, its ring is what sounds.
  crash_ring=$(ring "$build/Data/Sounds/crash.wav" 0.6)
  for end in "$race_end" "$replay_end"; do
    near "$(ring "$rec" "$(at "$end" -1.0)")" "$crash_ring" 0.02 || { echo "no crash's ring at $end"; return 1; }
  done
  peak=$(ffmpeg -hide_banner -nostats -i "$rec" -af ebur128=peak=true -f null - 2>&1 | awk '/Peak:/ { p = $2 } END { print p }')
  echo "the race of two's and its replay's true peak: $peak dBFS"
  e2e_gt -1.0 "$peak" || { echo "the mix goes over -1 dBFS"; return 1; }
}
two_attempt 1 || two_attempt 2 || e2e_fail "the race of two's and its replay's sounds, twice over"

# --mute: the same menus and race start record silence. "=" in the main menu (black in its
# bottom right corner) shows "Volume 9" there for a second, and keeps it.
rec=$work/mute.wav
ALSOFT_CONF=$(wave_conf "$rec" mute) e2e_launch "$work/mute.log" "$game" --windowed --mute
win=$(e2e_wait_window "Quillon: Game built with the Tarn Project")
e2e_until 30 e2e_menu_drawn || e2e_fail "the main menu was never drawn"
corner_lit() { e2e_gt "$(e2e_region_max "$(e2e_shot volume)" 130x30+665+562)" 0.5; }
corner_lit && e2e_fail "the main menu's bottom right corner is not black"
e2e_key "$win" equal
e2e_until 10 corner_lit || e2e_fail "= did not show the volume"
e2e_until 10 eval '! corner_lit' || e2e_fail "the volume stayed on the screen"
grep -q "^volume.9$" "$XDG_CONFIG_HOME/quillon/settings.txt" || e2e_fail "the volume was not kept"
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
