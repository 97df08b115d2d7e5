#!/usr/bin/env bash
# Installs, with apt-get, whatever Corvane needs to build, run and test.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang
  qt6-base-dev libgl-dev
  libharfbuzz-dev libfontconfig-dev libjpeg62-turbo-dev libicu-dev
  fonts-ipafont-mincho fonts-ipafont-gothic fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool trayer imagemagick x11-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
