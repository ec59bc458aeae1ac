#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, when any is missing.
set -euo pipefail

BM_PACKAGES=(
  build-essential cmake pkg-config
  freeglut3-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libopenal-dev libalut-dev libopenal1
  libx11-dev libx11-xcb-dev libxdamage-dev
  googletest libgtest-dev libbenchmark-dev
  librsvg2-bin libstb-dev fonts-dejavu-core
  xvfb xauth xdotool imagemagick x11-utils xdg-utils
  sox python3 python3-numpy
  desktop-file-utils appstream openbox
  clang libclang-rt-14-dev
)

missing=()
for p in "${BM_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
