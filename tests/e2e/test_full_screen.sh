#!/usr/bin/env bash
# F11 under a window manager at screen scales 1, 1.5 and 2: the picture alone
# on the screen, every picture pixel a whole square block of screen pixels;
# Esc gives the window back at its place and size.
source "$(dirname "$0")/lib.sh"
start_x
start_wm
install_copy
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini" # no title screens
own_work
BLOCKS="python3 $(dirname "$0")/blocks.py"

for scale in 1 1.5 2; do
  export QT_SCALE_FACTOR=$scale
  start_app
  wait_window
  sleep 1.5 # the deferred load
  xdotool windowfocus --sync "$WID" 2>/dev/null || true
  before=$(xdotool getwindowgeometry "$WID" | tail -n2)
  xdotool key space
  sleep 2.5
  xdotool key F11
  sleep 1.5
  import -window root -depth 8 "rgb:$WORK/screen.rgb"
  factor=$($BLOCKS "$WORK/screen.rgb" 1280 1024) || fail "scale $scale: $factor"
  [ "$factor" = 2 ] || fail "scale $scale: enlarged $factor times, 2 fits"
  xdotool key Escape
  sleep 1
  [ "$(xdotool getwindowgeometry "$WID" | tail -n2)" = "$before" ] ||
    fail "scale $scale: Esc did not give the window back as it was"
  xdotool key ctrl+t
  wait_exit 20
done
