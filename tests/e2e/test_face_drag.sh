#!/usr/bin/env bash
# The real window's face: cut to its outline (the lower-left notch shows the
# screen behind), moved by a press on the bare face and not by one on the
# picture; the triangle page button writes a page from its middle, not from
# the corner outside its triangle.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini"
own_work
start_app
wait_window
sleep 1.5

where() { xdotool getwindowgeometry "$WID" | awk '/Position/ {sub(/ .*/, "", $2); print $2}'; }
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 "rgb:-" | od -An -tu1 | tr -s ' ' | sed 's/^ //'; }
drag() { # from window x y, by dx dy
  local at x y
  at=$(where); x=${at%,*}; y=${at#*,}
  xdotool mousemove $((x + $1)) $((y + $2)) mousedown 1
  sleep 0.3
  xdotool mousemove $((x + $1 + $3 / 2)) $((y + $2 + $4 / 2))
  sleep 0.2
  xdotool mousemove $((x + $1 + $3)) $((y + $2 + $4))
  sleep 0.3
  xdotool mouseup 1
  sleep 0.5
}

start=$(where)
sx=${start%,*}; sy=${start#*,}
[ "$(pixel $((sx + 0)) $((sy + 424)))" = "0 0 0" ] || fail "the notch at the lower left is painted: $(pixel $sx $((sy + 424)))"
[ "$(pixel $((sx + 2)) $((sy + 424)))" != "0 0 0" ] || fail "the face beside the notch is not painted"

drag 200 200 60 40
[ "$(where)" = "$start" ] || fail "a press on the picture moved the window from $start to $(where)"

drag 8 200 60 40
[ "$(where)" = "$((sx + 60)),$((sy + 40))" ] || fail "a press on the face moved the window from $start to $(where), not by 60,40"

PY="python3 $(dirname "$0")/picture.py"
grab() { # the picture's pixels, raw RGB
  local at x y
  at=$(where); x=${at%,*}; y=${at#*,}
  import -window root -crop "481x351+$((x + 27))+$((y + 29))" -depth 8 "rgb:$WORK/$1.rgb"
}
click_at() {
  local at x y
  at=$(where); x=${at%,*}; y=${at#*,}
  xdotool mousemove $((x + $1)) $((y + $2)) click 1
  sleep 2.5
}
grab before
click_at 425 394 # TriButton1's upper-right corner, outside the triangle
grab corner
$PY differ "$WORK/before.rgb" "$WORK/corner.rgb" && fail "a click in the triangle's corner wrote a page"
click_at 407 402 # its middle
grab middle
$PY differ "$WORK/before.rgb" "$WORK/middle.rgb" || fail "a click in the triangle's middle wrote no page"
echo ok
