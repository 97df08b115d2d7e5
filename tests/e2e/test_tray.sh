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

visible_window() { xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n1 || true; }
tray_icon() { # the program's visible window inside the tray's panel, top right
  local X Y WIDTH HEIGHT SCREEN WINDOW
  for w in $(xdotool search --onlyvisible --class corvane 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$X" -ge 1160 ] && [ "$Y" -lt 32 ] && { echo "$w"; return 0; }
  done
  return 0
}
wait_for() { # command, in tenths of a second
  for _ in $(seq "$2"); do [ -n "$($1)" ] && return 0; sleep 0.1; done
  return 1
}
wait_gone() {
  for _ in $(seq "$2"); do [ -z "$($1)" ] && return 0; sleep 0.1; done
  return 1
}
icon_centre() { # x y of the icon on the screen
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
}
push() { xdotool mousemove $((100 + $1)) $((100 + $2)) click 1; } # a point of the window face
small() { push 638 376; } # Small1

# --- no notification area: the window stays reachable ---------------------
start_app
wait_window
sleep 1.5 # the title screen starts after 0.5 s; let the deferred load begin
small
sleep 1
[ -n "$(visible_window)" ] || fail "no tray: Small hid the window with no way back"
[ -z "$(tray_icon)" ] || fail "no tray: an icon window was shown"
kill "$APP_PID"
wait_exit 10

# --- an XEmbed tray ---------------------------------------------------------
trayer --edge top --align right --widthtype pixel --width 120 --height 32 >/dev/null 2>&1 &
PIDS+=($!)
sleep 1
printf '[Form\\LCheckBox14]\r\nChecked=0\r\n' > "$WORK/corvane.ini" # "Slow" off; "+Begin End" on
own_work
start_app
wait_window
sleep 4 # the title screen and the deferred load

small
wait_gone visible_window 30 || fail "Small did not hide the window"
wait_for tray_icon 30 || fail "no icon in the tray"
read -r ix iy < <(icon_centre "$(tray_icon)")
xdotool mousemove "$ix" "$iy" click 1
wait_for visible_window 30 || fail "a left click on the icon did not bring the window back"
wait_gone tray_icon 30 || fail "the icon stayed after the window came back"

push 646 76 # "Slow" on: the close must store it
sleep 0.3
small
wait_for tray_icon 30 || fail "no icon the second time"
read -r ix iy < <(icon_centre "$(tray_icon)")
xdotool mousemove "$ix" "$iy" click 3
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
