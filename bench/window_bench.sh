#!/usr/bin/env bash
# Runs bench_window under a private Xvfb from the folder that holds Data/: start-up of the game
# beside a bare SDL2 window (interleaved runs), the game's pacing and CPU use on each screen
# (the race with Up held; race2 a race of two, Up and W held), peak resident memory in a race
# beside the bare window, and a summary of each figure against its aim.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb_start.sh"
seconds=${SECONDS_PER_SCREEN:-10}
out=$work/figures
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for i in $(seq "$runs"); do
  ./bench/bench_window game "$(date +%s%N)" 0.2 | grep 'first presented' | tee -a "$out"
  ./bench/bench_window bare "$(date +%s%N)" | tee -a "$out"
  ./bench/bench_window bare "$(date +%s%N)" 0 triangle | tee -a "$out"
done
for screen in menu car track race race2; do
  echo "== $screen"
  ./bench/bench_window game "$(date +%s%N)" "$seconds" "$screen" | grep -v 'first presented' |
    sed "s/^game:/game $screen:/" | tee -a "$out"
done
./bench/bench_window empty "$(date +%s%N)" "$seconds" | grep -v 'first presented'
./bench/bench_window bare "$(date +%s%N)" "$seconds" | grep 'peak' | tee -a "$out"
./bench/bench_window bare "$(date +%s%N)" "$seconds" triangle | grep 'peak' | tee -a "$out"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk "$median_awk"'
  /^game: start to first/ { g[++ng] = $(NF - 1) }
  /^bare: start to first/ { b[++nb] = $(NF - 1) }
  /^bare with a triangle: start to first/ { t[++nt] = $(NF - 1) }
  /CPU while paced/ { split($0, f, " "); cpu[f[2]] = $(NF - 4) }
  /frames presented in/ { split($0, f, " "); v = $(NF - 2); gsub(/[()]/, "", v); fps[f[2]] = v }
  /^game race: peak/ { race = $(NF - 1) }
  /^bare: peak/ { bare = $(NF - 1) }
  /^bare with a triangle: peak/ { triangle = $(NF - 1) }
  END {
    mg = median(g, ng); mb = median(b, nb); mt = median(t, nt)
    printf "summary: start-up median %.0f ms, bare window %.0f ms: %.2f times (aim at most 1.25; a bare window drawing one triangle: %.2f times)\n", mg, mb, mg / mb, mt / mb
    printf "summary: CPU paced, menus %s / %s / %s %% of a core (aim at most 10), race %s %% (aim at most 25)\n", cpu["menu:"], cpu["car:"], cpu["track:"], cpu["race:"]
    if (cpu["race:"] > 0 && fps["race:"] > 0 && fps["race2:"] > 0) printf "summary: race of two %s %% of a core at %s frames a second: CPU per frame %.2f times the race alone\n", cpu["race2:"], fps["race2:"], (cpu["race2:"] / fps["race2:"]) / (cpu["race:"] / fps["race:"])
    printf "summary: peak resident memory in a race %.1f MB, bare window %.1f MB: %+.1f MB (aim at most +24; a bare window drawing one triangle: %+.1f MB)\n", race, bare, race - bare, triangle - bare
  }' "$out"
