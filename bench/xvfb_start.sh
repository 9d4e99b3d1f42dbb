# The start the window benchmarks share, sourced after `here` is set: the build folder given as
# the first argument, the end-to-end helpers, a private Xvfb, a scratch folder $work removed at
# exit, the run count, and awk's `median` for the summaries.
set -u
build=${1:-build}
runs=${RUNS:-7}
cd "$build"
. "$here/../tests/e2e/lib.sh"
work=$(mktemp -d)
trap 'e2e_cleanup; rm -rf "$work"' EXIT
e2e_start_xvfb
median_awk='
  function median(list, n,   i, j, t) {
    for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (list[j] < list[i]) { t = list[i]; list[i] = list[j]; list[j] = t }
    return n % 2 ? list[(n + 1) / 2] : (list[n / 2] + list[n / 2 + 1]) / 2
  }'
