#!/usr/bin/env bash
# corvane.txt saved as UTF-16 (byte-order mark, either order) is paged like
# its CP932 original: the stored page 9999 comes back as the same last page.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
src="$CORVANE_SOURCE_DIR/tests/corpus/akutagawa-rashomon.txt"
pages=$(( $("$CORVANE_BUILD_DIR/corvane-render" --dump-rows "$src" | wc -l) / 13 ))
[ "$pages" -gt 20 ] || fail "unexpected page count $pages"
for order in LE BE; do
  bom='\xff\xfe'; [ "$order" = BE ] && bom='\xfe\xff'
  { printf "$bom"; iconv -f CP932 -t "UTF-16$order" "$src"; } > "$WORK/corvane.txt"
  [ "$("$CORVANE_BUILD_DIR/corvane-render" --dump-rows "$WORK/corvane.txt" | sha256sum)" = \
    "$("$CORVANE_BUILD_DIR/corvane-render" --dump-rows "$src" | sha256sum)" ] || fail "UTF-16 $order rows differ"
  printf '[Form\\LCheckBox12]\r\nChecked=0\r\n[Form\\FPage]\r\nInteger=9999\r\n' > "$WORK/corvane.ini"
  own_work
  start_app
  wait_window
  sleep 1.5
  xdotool windowfocus --sync "$WID" 2>/dev/null || true
  xdotool key --clearmodifiers ctrl+t
  wait_exit 20
  [ "$(ini_value 'Form\FPage' Integer)" = "$pages" ] || fail "UTF-16 $order: stored page $(ini_value 'Form\FPage' Integer), expected the last page $pages"
done
echo PASS
