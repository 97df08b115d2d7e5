#!/usr/bin/env bash
# Configures and builds Corvane into build/ (the program is build/corvane).
#   build.sh          the program and corvane-render only
#   build.sh --all    everything: also the tests, benchmarks and fuzz targets
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
if [ ! -f build/CMakeCache.txt ] && command -v ninja >/dev/null; then generator=(-G Ninja); fi
if [ "${1:-}" = --all ]; then
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVANE_TESTS=ON -DCORVANE_FUZZ=ON >/dev/null
  cmake --build build -j"$(nproc)"
else
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target corvane corvane-render
fi
