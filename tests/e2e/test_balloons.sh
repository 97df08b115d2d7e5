#!/usr/bin/env bash
# Balloon hints on the real window: a lozenge's hint shows after half a
# second as a pale green balloon with a navy outline, its tail at the upper
# left; the slider and "Leaf save" show none, and no plain Qt tip appears.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini" # no title screen
own_work
PY="python3 $(dirname "$0")/balloon.py"

windows() { xdotool search --onlyvisible --class corvane 2>/dev/null | wc -l; }
# Moves to a control's centre (x y on the window face, at (100, 100) on the
# screen) from outside the window, waits, and shoots where its balloon starts:
# at the pointer, 20 pixels below it. (From the bare face a balloon shown a
# moment ago would be followed at once.)
hover() { # name x y seconds
  xdotool mousemove 20 20
  sleep 0.3
  xdotool mousemove $((100 + $2)) $((100 + $3))
  sleep "$4"
  import -window root -crop 120x40+$((100 + $2))+$((120 + $3)) -depth 8 "rgb:$WORK/$1.rgb"
}

start_app
wait_window
# Qt shows its plain tips only in the active window: make it so, or their
# absence would prove nothing.
xdotool windowfocus --sync "$WID" 2>/dev/null || true
sleep 1

# Both shots are taken before either is checked: the balloon stays 2.5 s,
# and on a loaded machine starting the checker alone can take a second.
hover early 447 401 0.1 # "Tenderly", LCheckBox6
sleep 0.6
import -window root -crop 120x40+547+521 -depth 8 "rgb:$WORK/tenderly.rgb"
shown_windows=$(windows)
$PY "$WORK/early.rgb" 120 40 none || fail "a balloon before the half second"
$PY "$WORK/tenderly.rgb" 120 40 shown || fail "Tenderly: no balloon of the right shape"
[ "$shown_windows" -eq 2 ] || fail "expected the window and one balloon, found $shown_windows windows"

hover slider 155 402 0.9 # ExtTrackBar1
$PY "$WORK/slider.rgb" 120 40 none || fail "the slider showed a balloon"
[ "$(windows)" -eq 1 ] || fail "a tip window over the slider"
hover leaf 542 306 0.9 # Leaf1
$PY "$WORK/leaf.rgb" 120 40 none || fail "Leaf save showed a balloon"
[ "$(windows)" -eq 1 ] || fail "a tip window over Leaf save"

xdotool windowfocus --sync "$WID" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+t
wait_exit 10
echo PASS
