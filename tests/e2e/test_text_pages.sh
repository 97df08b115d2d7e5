#!/usr/bin/env bash
# With corvane.txt in the working folder and "Keep" on, the text is paged and
# a stored page beyond the page count becomes the last page (written back on
# close). Saved as UTF-16 (byte-order mark, either order), the text is paged
# exactly like its CP932 original.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
src="$CORVANE_SOURCE_DIR/tests/corpus/akutagawa-rashomon.txt"
rows() { "$CORVANE_BUILD_DIR/corvane-render" --dump-rows "$1"; }
pages=$(($(rows "$src" | wc -l) / 13))
[ "$pages" -gt 20 ] || fail "unexpected page count $pages"
for encoding in CP932 UTF-16LE UTF-16BE; do
  case $encoding in
    CP932) cp "$src" "$WORK/corvane.txt" ;;
    UTF-16LE) { printf '\xff\xfe'; iconv -f CP932 -t UTF-16LE "$src"; } >"$WORK/corvane.txt" ;;
    UTF-16BE) { printf '\xfe\xff'; iconv -f CP932 -t UTF-16BE "$src"; } >"$WORK/corvane.txt" ;;
  esac
  [ "$(rows "$WORK/corvane.txt" | sha256sum)" = "$(rows "$src" | sha256sum)" ] || fail "$encoding: the rows differ"
  printf '[Form\\LCheckBox12]\r\nChecked=0\r\n[Form\\FPage]\r\nInteger=9999\r\n' >"$WORK/corvane.ini"
  own_work
  start_app
  wait_window
  sleep 1.5
  press ctrl+t
  wait_exit 20
  [ "$(ini_value 'Form\FPage' Integer)" = "$pages" ] ||
    fail "$encoding: stored page $(ini_value 'Form\FPage' Integer), expected the last page $pages"
done
echo PASS
