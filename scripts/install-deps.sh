#!/usr/bin/env bash
# Installs with apt-get what Corvane needs, and nothing more:
#   install-deps.sh run    building and running the program
#   install-deps.sh test   that, and everything the test suite and benchmarks use
# Does nothing when everything is already there. Uses sudo only when not root.
set -euo pipefail

run_packages=(
  g++ make cmake ninja-build pkg-config
  qt6-base-dev qt6-wayland libgl-dev libxcb1-dev
  libharfbuzz-dev libfontconfig-dev libjpeg62-turbo-dev libzip-dev
  fonts-ipafont-mincho fonts-ipafont-gothic fonts-liberation
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
  clang libclang-rt-14-dev clang-format
  xvfb x11-utils xdotool imagemagick python3 desktop-file-utils appstream trayer openbox weston
  scdoc man-db
)

case "${1:-}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

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
