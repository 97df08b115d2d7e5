#!/usr/bin/env bash
# Each animation started from its button moves the picture, and after Stop
# the picture stands still. Difference, Velocity and Deep tick every 55 ms, so
# two shots 0.3 s apart must differ; plan de arts runs as a repetition and
# makes a new picture every 7 s. Ctrl+T (the menu's Exit) ends the program.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
# No title screens; "Repetition" on so that plan de arts keeps making pictures.
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n[Form\\LCheckBox23]\r\nChecked=1\r\n' > "$WORK/corvane.ini"
own_work
PY="python3 $(dirname "$0")/picture.py"

# The window stands at its stored position (100, 100); x y are the control's
# centre on the window face.
push() { xdotool mousemove $((100 + $1)) $((100 + $2)) click 1; }
stop_and_check() { # name
  push 578 100 # EffectOut1
  sleep 0.4
  grab "$1-stop1"
  sleep 0.3
  grab "$1-stop2"
  $PY differ "$WORK/$1-stop1.rgb" "$WORK/$1-stop2.rgb" && fail "$1: the picture still moves after Stop"
  return 0
}
ticking() { # name x y: the button's centre
  push "$2" "$3"
  sleep 1 # the fade to black from the background colour
  grab "$1-a"
  sleep 0.3
  grab "$1-b"
  $PY differ "$WORK/$1-a.rgb" "$WORK/$1-b.rgb" || fail "$1: no motion after its button"
  stop_and_check "$1"
}

start_app
wait_window
sleep 1.5 # the deferred load

ticking difference 576 50   # Effect1
ticking velocity 567 126    # Velocity
ticking deep 650 52         # RectButton

push 567 150                # finearts
sleep 1.5
grab arts-a
sleep 7
grab arts-b
$PY differ "$WORK/arts-a.rgb" "$WORK/arts-b.rgb" || fail "plan de arts: no new picture after 7 s"
stop_and_check arts
sleep 7 # the next Timer4 tick ends the run without a picture
grab arts-after
$PY differ "$WORK/arts-stop2.rgb" "$WORK/arts-after.rgb" && fail "plan de arts: a picture after Stop"

press ctrl+t
wait_exit 20
echo PASS
