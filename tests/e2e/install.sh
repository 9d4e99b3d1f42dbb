#!/usr/bin/env bash
# End to end, as a player who installed the game: install into a temporary prefix, start the
# installed game from an empty folder (textured main menu, no error box), the command-line
# options, the desktop files against their validators, and the .deb with lintian.
set -eu
build=$2
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
trap 'e2e_cleanup; rm -rf "$work"' EXIT

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
game=$prefix/games/quillon
share=$prefix/share
id=io.github.quillon.Quillon
for f in "$share/games/quillon/Data/menuMain.bmp" "$share/applications/$id.desktop" \
  "$share/icons/hicolor/scalable/apps/$id.svg" "$share/metainfo/$id.metainfo.xml" \
  "$share/man/man6/quillon.6.gz" "$share/doc/quillon/copyright"; do
  [ -s "$f" ] || e2e_fail "install: $f missing"
done

# Outside judges of the desktop files, the icon and the manual page.
desktop-file-validate "$share/applications/$id.desktop" || e2e_fail "desktop entry invalid"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/appstream.log" ||
  e2e_fail "AppStream metadata invalid: $(cat "$work/appstream.log")"
rsvg-convert -w 64 -h 64 "$share/icons/hicolor/scalable/apps/$id.svg" -o "$work/icon.png" ||
  e2e_fail "icon does not render"
e2e_gt "$(e2e_region_detail "$work/icon.png" 64x64+0+0)" 0.1 || e2e_fail "icon is blank"
warnings=$(man --warnings -l "$share/man/man6/quillon.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || e2e_fail "manual page: $warnings"

# Command line, from an empty folder.
empty=$work/empty
mkdir "$empty"
cd "$empty"
out=$("$game" --version) || e2e_fail "--version failed"
[[ "$out" =~ ^quillon\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || e2e_fail "--version printed: $out"
# (What each option prints and returns is the unit tests'.)
"$game" --help >/dev/null || e2e_fail "--help failed"
! "$game" --help >/dev/full 2>/dev/null || e2e_fail "--help into a full disk reported success"

# The installed game from the empty folder: the question, then the textured main menu.
e2e_start_xvfb
e2e_start_game "$game" "$work/game.log"
e2e_until 30 e2e_drawn "$E2E_WINDOW" || e2e_fail "installed game: main menu never drawn"
menu=$(e2e_shot install-main-menu)
e2e_gt "$(e2e_region_detail "$menu" 300x300+250+150)" 0.05 || e2e_fail "installed game: no menu picture"
# Untextured, the picture's quad is plain white; the generated picture is dark there.
read -r r g b <<<"$(e2e_mean_rgb "$menu" 200x100+300+300)"
[ "$g" -lt 200 ] || e2e_fail "installed game: menu picture untextured ($r $g $b)"
[ -z "$(e2e_find_windows Error)" ] || e2e_fail "installed game: an error box is showing"
e2e_press "$E2E_WINDOW" F4 e2e_window_gone "$E2E_WINDOW"
e2e_wait_exit "$E2E_GAME_PID"
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "installed game: exit code $E2E_EXIT_CODE"
! grep -q "no Data/" "$work/game.log" || e2e_fail "installed game found no data: $(cat "$work/game.log")"

# The Debian package: control fields, file list, lintian without errors.
cpack -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  e2e_fail "cpack: $(tail -5 "$work/cpack.log")"
deb=$(ls "$work"/deb/quillon_*_*.deb)
control=$(dpkg-deb -f "$deb")
for field in "Package: quillon" "Section: games" "Maintainer: " "Depends: .*libsdl2" \
  "Depends: .*libglu" "Depends: .*libopenal1" "Description: .+"; do
  grep -qE "^$field" <<<"$control" || e2e_fail ".deb control lacks '$field'"
done
! grep -q "libegl" <<<"$control" || e2e_fail ".deb depends on libEGL"
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/games/quillon ./usr/share/games/quillon/Data/wingman.ms3d \
  ./usr/share/games/quillon/Data/Sounds/engine.wav \
  "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml" \
  ./usr/share/man/man6/quillon.6.gz ./usr/share/doc/quillon/changelog.gz; do
  grep -qxF "$f" <<<"$files" || e2e_fail ".deb lacks $f"
done
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || e2e_fail "lintian: $(cat "$work/lintian.log")"
echo "e2e install: passed"
