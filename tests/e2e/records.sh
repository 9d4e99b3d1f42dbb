#!/usr/bin/env bash
# End to end, the real binary's record options without a display: `quillon --records` prints one
# line per track and car from the best-times file (CRLF read in place) with its ghost's time and
# exits 0; a ghost exported and imported on another home arrives byte for byte; a broken
# best-times file is said on standard error (exit 1). The cases behind each (formats, refusals,
# listing, files left as they were) are the unit tests'.
set -eu
game=$1
. "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
file=$XDG_DATA_HOME/quillon/best-times.txt

[ -z "$("$game" --records)" ] || e2e_fail "records printed without a file"
[ ! -e "$XDG_DATA_HOME/quillon" ] || e2e_fail "reading created the folder"

# With a kept ghost of 40 steps: its time in hundredths.
mkdir -p "$XDG_DATA_HOME/quillon/ghosts"
cp "$(dirname "$0")/../../fuzz/corpus/ghost/two-laps.ghost" "$XDG_DATA_HOME/quillon/ghosts/Sunny-SMiLE.ghost"
printf 'quillon-best-times 1\r\nrace\tSunny\tSMiLE\t91\t2026-12-07T00:30:00Z\r\n' >"$file"
[ "$("$game" --records)" = "$(printf 'Sunny\tSMiLE\t91 seconds\t2026-12-07\tghost 0.67 seconds')" ] ||
  e2e_fail "CRLF file or ghost not read"

# Shared: exported from this home with the player's name, imported on a second home byte for
# byte.
mkdir -p "$XDG_CONFIG_HOME/quillon"
printf 'quillon-settings 1\nname\tZoe\n' >"$XDG_CONFIG_HOME/quillon/settings.txt"
shared=$(mktemp -d)
"$game" --export-ghost Sunny SMiLE "$shared/sunny.ghost" >/dev/null || e2e_fail "export failed"
XDG_DATA_HOME=$shared/home "$game" --import-ghost "$shared/sunny.ghost" >/dev/null ||
  e2e_fail "import failed"
cmp "$shared/sunny.ghost" "$shared/home/quillon/ghosts/imported/Sunny-SMiLE-Zoe.ghost" ||
  e2e_fail "imported bytes differ"
rm -r "$shared" "$XDG_CONFIG_HOME/quillon"
rm -r "$XDG_DATA_HOME/quillon/ghosts"

echo garbage >"$file"
if err=$("$game" --records 2>&1 >/dev/null); then e2e_fail "--records on a broken file exited 0"; fi
[[ "$err" == *"not a best-times file"* ]] || e2e_fail "broken file not reported: $err"
echo "records: ok"
