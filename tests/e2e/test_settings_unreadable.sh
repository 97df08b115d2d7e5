#!/usr/bin/env bash
# A FIFO, a link to /dev/zero or a 20 MiB file named corvane.ini is no
# settings file: the window still appears within a few seconds, with the
# defaults (its stored position is 100, 100), and the close says it cannot
# write and leaves the thing in its place alone.
source "$(dirname "$0")/lib.sh"
start_x
install_copy

check_start() { # what
  local t0=$SECONDS
  start_app
  wait_window
  [ $((SECONDS - t0)) -le 5 ] || fail "$1: the window took $((SECONDS - t0)) s"
  local geom
  geom=$(xdotool getwindowgeometry "$WID" | awk '/Position/{print $2}')
  [ "$geom" = "100,100" ] || fail "$1: window at $geom, not at the default 100,100"
  press ctrl+t
  answer_box "$1: no message that the settings cannot be written"
  wait_exit 20
}

mkfifo "$WORK/corvane.ini"
own_work
check_start fifo
[ -p "$WORK/corvane.ini" ] || fail "the FIFO was replaced"
rm "$WORK/corvane.ini"

ln -s /dev/zero "$WORK/corvane.ini"
check_start /dev/zero
[ -L "$WORK/corvane.ini" ] || fail "the link to /dev/zero was replaced"
rm "$WORK/corvane.ini"

{ printf '[Form\\Form1]\r\nTop=300\r\nLeft=300\r\n'; head -c $((20 << 20)) /dev/zero | tr '\0' ';'; } > "$WORK/corvane.ini"
before=$(sha256sum < "$WORK/corvane.ini")
own_work
check_start "20 MiB file"
[ "$(sha256sum < "$WORK/corvane.ini")" = "$before" ] || fail "the 20 MiB file was changed"

left=$(ls -A "$WORK" | grep -E '^corvane\.ini\.' || true)
[ -z "$left" ] || fail "temporary files left: $left"
echo PASS
