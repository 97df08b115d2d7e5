#!/usr/bin/env bash
# The tray, with an XEmbed notification area (trayer): "Small" hides the window
# behind an icon, a left click on the icon brings the window back and removes
# the icon, and the tray menu's "Close" writes the settings and ends the
# program without showing the window (so without the end screen). Without any
# notification area, "Small" leaves the window on the screen.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
own_work

push() { xdotool mousemove $((100 + $1)) $((100 + $2)) click 1; } # a point of the window face

# --- no notification area: the window stays reachable ---------------------
start_app
wait_window
sleep 1.5 # the title screen starts after 0.5 s; let the deferred load begin
click_small
sleep 1
[ -n "$(visible_window)" ] || fail "no tray: Small hid the window with no way back"
[ -z "$(tray_icon)" ] || fail "no tray: an icon window was shown"
kill "$APP_PID"
wait_exit 10

# --- an XEmbed tray ---------------------------------------------------------
start_tray
printf '[Form\\LCheckBox14]\r\nChecked=0\r\n' > "$WORK/corvane.ini" # "Slow" off; "+Begin End" on
own_work
start_app
wait_window
sleep 4 # the title screen and the deferred load

click_small
wait_until '[ -z "$(visible_window)" ]' || fail "Small did not hide the window"
wait_until '[ -n "$(tray_icon)" ]' || fail "no icon in the tray"
click_icon 1
wait_until '[ -n "$(visible_window)" ]' || fail "a left click on the icon did not bring the window back"
wait_until '[ -z "$(tray_icon)" ]' || fail "the icon stayed after the window came back"

push 646 76 # "Slow" on: the close must store it
sleep 0.3
click_small
wait_until '[ -n "$(tray_icon)" ]' || fail "no icon the second time"
click_icon 3
sleep 0.7
xdotool key Up Return # the menu's last item, "Close"
for _ in $(seq 50); do
  [ -n "$(visible_window)" ] && fail "Close showed the window (the end screen)"
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.1
done
wait_exit 5
[ "$(ini_value 'Form\LCheckBox14' Checked)" = 1 ] || fail "Close did not write the settings"
echo PASS
