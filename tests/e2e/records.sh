#!/usr/bin/env bash
# End to end: `quillon --records` prints one line per track and car from the best-times file and
# exits 0, without a display; a broken file is moved aside and said on standard error.
set -eu
game=$1
. "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT
unset DISPLAY WAYLAND_DISPLAY
file=$XDG_DATA_HOME/quillon/best-times.txt

[ -z "$("$game" --records)" ] || e2e_fail "records printed without a file"
[ ! -e "$XDG_DATA_HOME/quillon" ] || e2e_fail "reading created the folder"

mkdir -p "$XDG_DATA_HOME/quillon"
printf 'quillon-best-times 1\nrace\tSunny\tSMiLE\t95\t2026-12-06T23:10:00Z\nrace\tSunny\tSMiLE\t91\t2026-12-07T00:30:00Z\nrace\tYello\t911PIZ\t120\t2026-12-06T23:10:00Z\n' >"$file"
out=$("$game" --records) || e2e_fail "--records exited $?"
expected=$(printf 'Sunny\tSMiLE\t91 seconds\t2026-12-07\tno ghost\nYello\t911PIZ\t120 seconds\t2026-12-06\tno ghost')
[ "$out" = "$expected" ] || e2e_fail "--records printed: $out"

echo garbage >"$file"
err=$("$game" --records 2>&1 >/dev/null) || e2e_fail "--records on a broken file exited $?"
[[ "$err" == *"moved to"* ]] || e2e_fail "broken file not reported: $err"
[ ! -e "$file" ] && [ "$(cat "$XDG_DATA_HOME"/quillon/best-times.txt.broken-*)" = garbage ] ||
  e2e_fail "broken file not moved aside whole"
echo "records: ok"
