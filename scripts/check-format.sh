#!/usr/bin/env bash
# Fails, naming the places, where a tracked C++ file differs from what
# clang-format makes of it under .clang-format. Outside a git checkout (a
# source tarball) there is no list of tracked files, and the check is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  echo "clang-format is not installed (scripts/install-deps.sh test installs it)" >&2
  exit 1
fi
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "not a git checkout: no tracked files to check" >&2
  exit 77
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run -Werror "${files[@]}"
