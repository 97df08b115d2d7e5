#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite:
# unit tests, widget tests, fuzz smoke runs and end-to-end tests under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
bash scripts/build.sh --all
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 600 "$@"
