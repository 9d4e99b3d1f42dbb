#!/usr/bin/env bash
# Installs the Debian packages Quillon needs to build, test and run; only what is missing.
# Idempotent: prints what it installs, and does nothing when everything is present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev
  libgl-dev libglu1-mesa-dev libegl-dev
  libegl-mesa0 libglx-mesa0 libgl1-mesa-dri
  libfreetype-dev libfontconfig-dev fonts-liberation2
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xdotool imagemagick xfonts-base x11-apps x11-xkb-utils
  file dpkg-dev desktop-file-utils appstream lintian man-db librsvg2-bin
  weston xwayland
  libopenal-dev sox ffmpeg
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
