#!/usr/bin/env bash
# With corvane.txt in the working folder and "Keep" on, the text is paged and
# a stored page beyond the page count becomes the last page (written back on close).
source "$(dirname "$0")/lib.sh"
start_x
install_copy
cp "$CORVANE_SOURCE_DIR/tests/corpus/akutagawa-rashomon.txt" "$WORK/corvane.txt"
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n[Form\\FPage]\r\nInteger=9999\r\n' > "$WORK/corvane.ini"
own_work
pages=$("$CORVANE_BUILD_DIR/corvane-render" --dump-rows "$WORK/corvane.txt" | wc -l)
pages=$((pages / 13))
[ "$pages" -gt 20 ] || fail "unexpected page count $pages"

start_app
wait_window
sleep 1.5
xdotool windowfocus --sync "$WID" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+t
wait_exit 20
[ "$(ini_value 'Form\FPage' Integer)" = "$pages" ] || fail "stored page $(ini_value 'Form\FPage' Integer), expected the last page $pages"
echo PASS
