#!/usr/bin/env bash
# Space writes the stored page onto the picture in the column bands on the
# background colour; Backspace from page 1 writes the last page; Ctrl+G
# (Reset) writes page 1 again, identical to the first time (the grain is fixed).
source "$(dirname "$0")/lib.sh"
start_x
install_copy
cp "$CORVANE_SOURCE_DIR/tests/corpus/akutagawa-rashomon.txt" "$WORK/corvane.txt"
# No title screens, so the test does not wait for them; everything else default.
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n[Form1\\Aozora]\r\nBoolean=0\r\n' > "$WORK/corvane.ini"
own_work
PY="python3 $(dirname "$0")/picture.py"

start_app
wait_window
sleep 1.5 # the deferred load
grab blank
$PY inkbands "$WORK/blank.rgb" vertical | grep -qx 0 || fail "ink on the picture before the first page"

press space 2.5
grab page1
$PY bands "$WORK/page1.rgb" vertical || fail "page 1 is not in the column bands"

press BackSpace 2.5
grab last
$PY bands "$WORK/last.rgb" vertical || fail "the last page is not in the column bands"
$PY differ "$WORK/page1.rgb" "$WORK/last.rgb" || fail "Back Page from page 1 wrote page 1 again"

press ctrl+g 2.5
grab reset
$PY differ "$WORK/page1.rgb" "$WORK/reset.rgb" && fail "Reset did not write page 1 exactly as before"

press ctrl+t
wait_exit 20
echo PASS
