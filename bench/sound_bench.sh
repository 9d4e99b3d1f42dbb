#!/usr/bin/env bash
# The sound side by side with the game without it, under a private Xvfb from the folder that
# holds Data/: start-up to the first frame (interleaved runs), CPU and peak memory in a race with
# Up held, each with the sound mixed by OpenAL Soft into a file (its wave backend, a real mixer
# thread in real time) and with no usable device. bench_sound measures the mixing alone.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb_start.sh"
seconds=${SECONDS_IN_RACE:-10}
printf '[general]\ndrivers = wave\n[wave]\nfile = %s/out.wav\n' "$work" >"$work/wave.conf"
printf '[general]\ndrivers = nosuchdriver\n' >"$work/none.conf"
out=$work/figures
bench() {  # MODE ARGS...: one bench_window game run with sound (wave) or without (none)
  local mode=$1
  shift
  ALSOFT_CONF=$work/$mode.conf ./bench/bench_window game "$(date +%s%N)" "$@" \
    2>/dev/null | sed "s/^game:/$mode:/" | tee -a "$out"
}
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for i in $(seq "$runs"); do
  bench wave 0.2 | grep 'first presented'
  bench none 0.2 | grep 'first presented'
done >/dev/null
for i in 1 2; do
  bench wave "$seconds" race | grep -E 'CPU|peak' >/dev/null
  bench none "$seconds" race | grep -E 'CPU|peak' >/dev/null
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk "$median_awk"'
  /first presented/ { s[$1, ++n[$1]] = $(NF - 1) }
  /CPU while paced/ { cpu[$1] += $(NF - 4) / 2 }
  /peak resident/ { peak[$1] += $(NF - 1) / 2 }
  END {
    for (i = 1; i <= n["wave:"]; ++i) w[i] = s["wave:", i]
    for (i = 1; i <= n["none:"]; ++i) o[i] = s["none:", i]
    mw = median(w, n["wave:"]); mo = median(o, n["none:"])
    printf "summary: start-up median %.0f ms with sound, %.0f ms without: %+.0f ms (aim at most +10)\n", mw, mo, mw - mo
    printf "summary: CPU in a race %.1f %% of a core with sound, %.1f %% without: %+.1f (aim at most +2)\n", cpu["wave:"], cpu["none:"], cpu["wave:"] - cpu["none:"]
    printf "summary: peak resident memory in a race %.1f MB with sound, %.1f MB without: %+.1f MB (aim at most +8)\n", peak["wave:"], peak["none:"], peak["wave:"] - peak["none:"]
  }' "$out"
