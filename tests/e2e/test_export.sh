#!/usr/bin/env bash
# Bitmap save and Jpeg save on the real window, files read back by
# ImageMagick: the BMP is the picture on the screen exactly, the JPEG a
# 481 x 351 colour picture of quality 95, sequential. A save into a folder the
# program may not write shows the error, leaves nothing and the window goes on.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini" # no title screen
mkdir "$WORK/locked"
own_work
chmod 555 "$WORK/locked"

push() { xdotool mousemove $((100 + $1)) $((100 + $2)) click 1; } # a point of the window face
dialog() { xdotool search --onlyvisible --name '^Save As$' 2>/dev/null | head -n1 || true; }
message() { # the error box: a visible window named Corvane that is not the main one
  for w in $(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null); do
    [ "$w" = "$WID" ] || { echo "$w"; return 0; }
  done
  return 0
}
save_as() { # button-x button-y file name
  push "$1" "$2"
  local d=""
  for _ in $(seq 50); do d=$(dialog); [ -n "$d" ] && break; sleep 0.1; done
  [ -n "$d" ] || fail "no save dialog"
  xdotool windowfocus --sync "$d" 2>/dev/null || true
  xdotool type --delay 5 "$3"
  xdotool key Return
  for _ in $(seq 50); do [ -z "$(dialog)" ] && return 0; sleep 0.1; done
  fail "the save dialog stayed open"
}

start_app
wait_window
sleep 1.5 # the deferred load
press space 2.5 # write page 1 of the built-in text
xdotool mousemove 5 5 # no balloon over the picture in the shot
sleep 0.3
grab shown

save_as 646 101 "$WORK/page" # Bitsave; the dialog adds ".bmp"
sleep 0.5
[ "$(identify -format '%m %w %h %[colorspace]' "$WORK/page.bmp")" = "BMP3 481 351 sRGB" ] || fail "page.bmp is not a 481 x 351 colour BMP"
convert "$WORK/page.bmp" -depth 8 "rgb:$WORK/page.rgb"
cmp -s "$WORK/page.rgb" "$WORK/shown.rgb" || fail "the BMP differs from the picture on the screen"

save_as 664 101 "$WORK/page.jpg" # JpegButton
sleep 0.5
[ "$(identify -format '%m %w %h %[colorspace] %Q %[interlace]' "$WORK/page.jpg")" = "JPEG 481 351 sRGB 95 None" ] ||
  fail "page.jpg: $(identify -format '%m %w %h %[colorspace] %Q %[interlace]' "$WORK/page.jpg")"

save_as 646 101 "$WORK/locked/page.bmp"
for _ in $(seq 30); do [ -n "$(message)" ] && break; sleep 0.1; done
[ -n "$(message)" ] || fail "no message for a folder the program may not write"
[ -z "$(ls -A "$WORK/locked")" ] || fail "something was left in the locked folder: $(ls -A "$WORK/locked")"
xdotool windowfocus --sync "$(message)" 2>/dev/null || true
xdotool key Return
sleep 0.5
[ -z "$(message)" ] || fail "the message did not close"
grab after
cmp -s "$WORK/after.rgb" "$WORK/shown.rgb" || fail "the picture changed after a failed save"

press ctrl+t
wait_exit 10
echo PASS
