#!/usr/bin/env bash
# Removes the packages that install-deps.sh may have installed, and what apt
# pulled in only for them. Lists them first and asks, as apt-get does.
# Packages you had before are removed too if they are on these lists: read the
# list apt shows before you answer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mapfile -t packages < <(sed -n '/^run_packages=(/,/^)/p; /^test_packages=(/,/^)/p' \
  "$root/scripts/install-deps.sh" | grep -v '=(\|^)' | tr ' ' '\n' | grep -v '^$')
installed=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' && installed+=("$p")
done
[ ${#installed[@]} -eq 0 ] && { echo "Nothing to remove."; exit 0; }
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get remove --autoremove "${installed[@]}"
