#!/usr/bin/env bash
# Under a window manager: "Small" with no notification area minimises the
# window; the user brings it back; a tray appears; "Small" now goes to the
# tray, and a click on the icon must bring the window back on the screen, not
# minimised (the "iconic" state of the first trip must not stick to it).
source "$(dirname "$0")/lib.sh"
start_x
command -v openbox >/dev/null || { echo "SKIP: no openbox"; exit 0; }
openbox >/dev/null 2>&1 &
PIDS+=($!)
install_copy
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini"
own_work

visible_window() { xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n1 || true; }
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state/ {print $3}'; }
wait_state() { # window state, tenths
  for _ in $(seq "$3"); do [ "$(wm_state "$1")" = "$2" ] && return 0; sleep 0.1; done
  return 1
}
small() { # the Small button, wherever the window manager put the window
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  xdotool mousemove $((X + 638)) $((Y + 376)) click 1
}

start_app
wait_window
sleep 1.5
small
wait_state "$WID" Iconic 30 || fail "no tray: Small did not minimise the window ($(wm_state "$WID"))"
xdotool windowactivate "$WID" 2>/dev/null || wmctrl -i -a "$WID"
wait_state "$WID" Normal 30 || fail "the window manager did not restore the window"
sleep 0.5

trayer --edge top --align right --widthtype pixel --width 120 --height 32 >/dev/null 2>&1 &
PIDS+=($!)
sleep 1.5
small
wait_state "$WID" Withdrawn 30 || [ -z "$(wm_state "$WID")" ] || fail "Small did not hide the window in the tray"
icon=""
for _ in $(seq 30); do
  for w in $(xdotool search --onlyvisible --class corvane 2>/dev/null); do
    [ "$w" = "$WID" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$X" -ge 1160 ] && [ "$Y" -lt 32 ] && icon=$w
  done
  [ -n "$icon" ] && break
  sleep 0.1
done
[ -n "$icon" ] || fail "no icon in the tray"
eval "$(xdotool getwindowgeometry --shell "$icon")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
for _ in $(seq 30); do WID=$(visible_window); [ -n "$WID" ] && break; sleep 0.1; done
[ -n "$WID" ] || fail "the icon did not bring the window back"
wait_state "$WID" Normal 30 || fail "the icon brought the window back $(wm_state "$WID"), not on the screen"
echo PASS
