#!/usr/bin/env bash
# Builds the Debian package corvane_<version>_<arch>.deb beside this clone (in
# its parent folder, where dpkg-buildpackage puts it), with the upstream tests
# that need no display, and checks it with lintian.
# Installs what is missing first: devscripts, debhelper, lintian and the
# build dependencies in debian/control. Extra arguments go to dpkg-buildpackage
# (for example DEB_BUILD_OPTIONS=nocheck scripts/package.sh skips the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends devscripts debhelper lintian >/dev/null
"${sudo[@]}" apt-get build-dep -y -qq ./ >/dev/null

dpkg-buildpackage -us -uc -b "$@"

version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
changes=../corvane_${version}_${arch}.changes
# Errors and warnings fail; informational tags are listed for the record.
lintian --info --display-info --fail-on error,warning "$changes"
echo "Package: $(cd .. && pwd)/corvane_${version}_${arch}.deb"
