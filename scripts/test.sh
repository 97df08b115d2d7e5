#!/usr/bin/env bash
# Installs what is missing, builds Corvane and runs the whole test suite:
# unit tests, widget tests, fuzz smoke runs and end-to-end tests under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 600 "$@"
