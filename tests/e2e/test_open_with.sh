#!/usr/bin/env bash
# "Open With": `corvane BOOK` reads that book, and Space writes its page 1
# exactly as the page renderer composes it; closed and started again without
# an argument, the same book comes back at the page it was left at. A folder
# given instead is refused with a message, and the saved book still loads.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
mkdir "$WORK/My Books"
BOOK="$WORK/My Books/olympos.txt"
cp "$CORVANE_SOURCE_DIR/tests/corpus/tanaka-olympos.txt" "$BOOK"
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini"
own_work

expect() { # page -> the composed page as raw RGB
  "$CORVANE_BUILD_DIR/corvane-render" --page "$1" --out "$WORK/expect$1.png" "$BOOK" >/dev/null
  convert "$WORK/expect$1.png" -depth 8 "rgb:$WORK/expect$1.rgb"
}
expect 1
expect 3

start_app "My Books/olympos.txt" # relative to the folder it starts in
wait_window
sleep 1.5 # the deferred load
press space 2.5
grab first
cmp -s "$WORK/first.rgb" "$WORK/expect1.rgb" || fail "Space did not write page 1 of the book"
press space 1.5
press space 2.5
press ctrl+t
wait_exit 20
[ "$(ini_value 'Form\FFileName' String)" = "$BOOK" ] || fail "FFileName is $(ini_value 'Form\FFileName' String)"
[ "$(ini_value 'Form1\FFileIn' Boolean)" = 1 ] || fail "FFileIn not set"
[ "$(ini_value 'Form\FPage' Integer)" = 3 ] || fail "FPage $(ini_value 'Form\FPage' Integer), expected 3"
PLACE="$(ini_value 'Corvane\Books' Book1)" # the page, read in the Aozora mode at a place in the file
[[ "$PLACE" =~ ^3:a:[0-9]+\ (.*)$ && "${BASH_REMATCH[1]}" = "$BOOK" ]] || fail "books section: $PLACE"

# Started again with a folder: refused in a message box, then the saved book loads.
start_app "My Books"
wait_window
answer_box "no message for a folder given as the book"
sleep 0.5
press space 2.5
grab again
cmp -s "$WORK/again.rgb" "$WORK/expect3.rgb" || fail "the saved book did not come back at page 3"
press ctrl+t
wait_exit 20
echo PASS
