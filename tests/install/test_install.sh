#!/usr/bin/env bash
# cmake --install puts the programs, the desktop entry, the icons, the
# metainfo and the licence where a desktop finds them, and each is valid.
set -euo pipefail
build=${1:?usage: test_install.sh BUILD_DIR}
prefix=$(mktemp -d /tmp/corvane-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/corvane bin/corvane-render; do
  [ -x "$prefix/$f" ] || fail "$f not installed as a program"
done
share=$prefix/share
desktop=$share/applications/corvane.desktop
[ -f "$desktop" ] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop entry not valid"
grep -qx 'Exec=corvane %f' "$desktop" || fail "desktop entry does not start corvane with a file"
grep -qx 'Icon=corvane' "$desktop" || fail "desktop entry names another icon"

[ "$(identify -format '%wx%h' "$share/icons/hicolor/48x48/apps/corvane.png")" = 48x48 ] ||
  fail "48x48 icon has the wrong size"
[ "$(identify -format '%wx%h' "$share/icons/hicolor/256x256/apps/corvane.png")" = 256x256 ] ||
  fail "256x256 icon has the wrong size"
grep -q '<svg' "$share/icons/hicolor/scalable/apps/corvane.svg" || fail "no scalable icon"

metainfo=$share/metainfo/corvane.metainfo.xml
[ -f "$metainfo" ] || fail "no metainfo"
# Only errors count: the one warning is the id, which is the desktop entry's name.
out=$(appstreamcli validate --no-net "$metainfo" 2>&1 || true)
if grep -q '^E:' <<<"$out"; then echo "$out" >&2; fail "metainfo not valid"; fi
[ -f "$share/doc/Corvane/LICENSE" ] || fail "no licence"
echo PASS
