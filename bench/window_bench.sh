#!/usr/bin/env bash
# Runs bench_window under a private Xvfb from the folder that holds Data/: start-up of the game
# beside the floor (a bare SDL2 window drawing one tinted 256 by 256 picture over the window) and
# a bare window that only clears (interleaved runs), the game's pacing and CPU use on each screen
# (the race with Up held; race2 a race of two, Up and W held) beside the floor's, peak resident
# memory in a race beside the floor's, and a summary of each figure against its aim. The game's
# sound is mixed by OpenAL Soft into a file (its wave output: a real mixer thread). TRACKS=N puts
# N track files (copies of the shipped ones under other names) in the player's folder.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb_start.sh"
seconds=${SECONDS_PER_SCREEN:-10}
out=$work/figures
printf '[general]\ndrivers = wave\n[wave]\nfile = %s/out.wav\n' "$work" >"$work/wave.conf"
export ALSOFT_CONF=$work/wave.conf
tracks=${TRACKS:-0}
if [ "$tracks" -gt 0 ]; then
  mkdir -p "$XDG_DATA_HOME/quillon/tracks"
  for i in $(seq "$tracks"); do
    set -- Data/Tracks/*.track
    shift $(((i - 1) % $#))
    sed "s/^name .*/name Copy$i/" "$1" >"$XDG_DATA_HOME/quillon/tracks/copy$i.track"
  done
  cp Data/Tracks/*.bmp "$XDG_DATA_HOME/quillon/tracks/"
fi
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg); $tracks track files in the player's folder"
for i in $(seq "$runs"); do
  ./bench/bench_window game "$(date +%s%N)" 0.2 2>/dev/null | grep 'first presented' | tee -a "$out"
  ./bench/bench_window bare "$(date +%s%N)" 0 picture | tee -a "$out"
  ./bench/bench_window bare "$(date +%s%N)" | tee -a "$out"
done
for screen in menu car track race race2; do
  echo "== $screen"
  ./bench/bench_window game "$(date +%s%N)" "$seconds" "$screen" 2>/dev/null | grep -v 'first presented' |
    sed "s/^game:/game $screen:/" | tee -a "$out"
done
./bench/bench_window empty "$(date +%s%N)" "$seconds" 2>/dev/null | grep -v 'first presented'
./bench/bench_window bare "$(date +%s%N)" "$seconds" picture | grep -v 'first presented' | tee -a "$out"
./bench/bench_window bare "$(date +%s%N)" "$seconds" | grep 'peak' | tee -a "$out"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk "$median_awk"'
  /^game: start to first/ { g[++ng] = $(NF - 1) }
  /^floor: start to first/ { f[++nf] = $(NF - 1) }
  /^bare: start to first/ { b[++nb] = $(NF - 1) }
  /^floor: CPU while paced/ { floorcpu = $(NF - 4) }
  /^game .*CPU while paced/ { split($0, w, " "); cpu[w[2]] = $(NF - 4) }
  /frames presented in/ { split($0, w, " "); v = $(NF - 2); gsub(/[()]/, "", v); fps[w[2]] = v }
  /^game race: peak/ { race = $(NF - 1) }
  /^floor: peak/ { floor = $(NF - 1) }
  /^bare: peak/ { bare = $(NF - 1) }
  END {
    mg = median(g, ng); mf = median(f, nf); mb = median(b, nb)
    printf "summary: start-up median %.0f ms, floor %.0f ms: %.2f times (aim at most 1.15; a bare window that only clears: %.0f ms)\n", mg, mf, mg / mf, mb
    printf "summary: CPU paced, main menu %s %% of a core, floor %s %%: %+.1f points (aim at most +2); car %s, track %s, race %s %%\n", cpu["menu:"], floorcpu, cpu["menu:"] - floorcpu, cpu["car:"], cpu["track:"], cpu["race:"]
    if (cpu["race:"] > 0 && fps["race:"] > 0 && fps["race2:"] > 0) printf "summary: race of two %s %% of a core at %s frames a second: CPU per frame %.2f times the race alone\n", cpu["race2:"], fps["race2:"], (cpu["race2:"] / fps["race2:"]) / (cpu["race:"] / fps["race:"])
    printf "summary: peak resident memory in a race %.1f MB, floor %.1f MB: %+.1f MB (aim at most +20; a bare window that only clears: %.1f MB)\n", race, floor, race - floor, bare
  }' "$out"
