#!/usr/bin/env bash
# Installs what is missing, builds Corvane and starts it in the folder this
# script was called from, so that a corvane.txt there is the text it reads.
set -euo pipefail
here=$PWD
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" run
bash "$root/scripts/build.sh"
cd "$here"
exec "$root/build/corvane" "$@"
