#!/usr/bin/env bash
# cmake --install puts the programs, the desktop entry, the icons, the
# metainfo, the manual pages and the licence where a desktop finds them, and
# each is valid. It installs from its own copy of the build's install script,
# so the build's install_manifest.txt (a person's uninstall list, perhaps
# root's after a sudo install) is neither overwritten nor needed.
set -euo pipefail
build=${1:?usage: test_install.sh BUILD_DIR}
work=$(mktemp -d /tmp/corvane-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
script=$work/cmake_install.cmake
build_abs=$(cd "$build" && pwd)
sed "s|\"$build_abs/\${CMAKE_INSTALL_MANIFEST}\"|\"$work/\${CMAKE_INSTALL_MANIFEST}\"|" \
  "$build/cmake_install.cmake" >"$script"
grep -q "\"$work/\${CMAKE_INSTALL_MANIFEST}\"" "$script" || fail "install script names no manifest to redirect"
manifest_before=$(stat -c '%Y %s' "$build/install_manifest.txt" 2>/dev/null || echo none)
cmake -DCMAKE_INSTALL_PREFIX="$prefix" -P "$script" >/dev/null
[ "$(stat -c '%Y %s' "$build/install_manifest.txt" 2>/dev/null || echo none)" = "$manifest_before" ] ||
  fail "the build's install_manifest.txt was touched"
[ -s "$work/install_manifest.txt" ] || fail "no manifest of the test's own install"

for f in bin/corvane bin/corvane-render; do
  [ -x "$prefix/$f" ] || fail "$f not installed as a program"
done
# The command line answers without a display, and refuses what it does not know.
run() { env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/corvane" "$@" >"$work/out" 2>"$work/err"; }
run --help && grep -q '^Usage: corvane \[FILE\]' "$work/out" || fail "--help: $(cat "$work/out" "$work/err")"
run --version && grep -qx 'corvane [0-9.]*' "$work/out" || fail "--version: $(cat "$work/out" "$work/err")"
status=0; run --no-such-option || status=$?
[ "$status" = 2 ] && [ ! -s "$work/out" ] && grep -q "'--no-such-option'" "$work/err" || fail "unknown option: $status"

share=$prefix/share
id=io.github.corvane.corvane
desktop=$share/applications/$id.desktop
[ -f "$desktop" ] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop entry not valid"
grep -qx 'Exec=corvane %f' "$desktop" || fail "desktop entry does not start corvane with a file"
grep -qx "Icon=$id" "$desktop" || fail "desktop entry names another icon"

[ "$(identify -format '%wx%h' "$share/icons/hicolor/48x48/apps/$id.png")" = 48x48 ] ||
  fail "48x48 icon has the wrong size"
[ "$(identify -format '%wx%h' "$share/icons/hicolor/256x256/apps/$id.png")" = 256x256 ] ||
  fail "256x256 icon has the wrong size"
grep -q '<svg' "$share/icons/hicolor/scalable/apps/$id.svg" || fail "no scalable icon"

metainfo=$share/metainfo/$id.metainfo.xml
[ -f "$metainfo" ] || fail "no metainfo"
out=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) && ! grep -q '^[EWIP]:' <<<"$out" ||
  fail "metainfo not valid or with remarks: $out"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "metainfo launches another desktop entry"
grep -q '<id>corvane.desktop</id>' "$metainfo" || fail "metainfo does not name the old id"

for page in corvane corvane-render; do
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$share/man/man1/$page.1" 2>&1 >/dev/null) &&
    [ -z "$warnings" ] || fail "manual page $page(1) missing or with roff warnings: $warnings"
done
[ -f "$share/doc/Corvane/LICENSE" ] || fail "no licence"
echo PASS
