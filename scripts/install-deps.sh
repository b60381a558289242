#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, when any
# is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri
  libgtest-dev libbenchmark-dev libpng-dev
  libsdl2-dev libsdl2-mixer-dev libasound2-dev libenet-dev
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev
  xvfb xauth x11-utils xdotool imagemagick apitrace ffmpeg
  clang libclang-rt-14-dev ccache
  python3
  scdoc # the manual pages
  lintian appstream desktop-file-utils # the package test judges the .deb as Debian does
)

# One question to dpkg for the whole list: every `make` asks it, and it answers in a
# few milliseconds. A package it does not know gets no line at all.
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for p in "${packages[@]}"; do
  [[ $'\n'$installed$'\n' == *$'\n'"$p install ok installed"$'\n'* ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "error: these packages are missing and neither root nor sudo is available to install them: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
