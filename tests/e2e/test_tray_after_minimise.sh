#!/usr/bin/env bash
# Under a window manager: "Small" without a notification area minimises the
# window; the user restores it; a tray appears; "Small" goes to the tray, and a
# click on the icon brings the window back on the screen, not minimised.
source "$(dirname "$0")/lib.sh"
start_x
command -v openbox >/dev/null || { echo "SKIP: no openbox"; exit 0; }
openbox >/dev/null 2>&1 & PIDS+=($!)
install_copy
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini"
own_work
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state/ {print $3}'; }
wait_until() { for _ in $(seq 30); do eval "$1" && return 0; sleep 0.1; done; return 1; }
small() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  xdotool mousemove $((X + 638)) $((Y + 376)) click 1
}

start_app
wait_window
sleep 1.5
small
wait_until '[ "$(wm_state "$WID")" = Iconic ]' || fail "no tray: Small did not minimise the window"
xdotool windowactivate "$WID" 2>/dev/null || true
wait_until '[ "$(wm_state "$WID")" = Normal ]' || fail "the window manager did not restore the window"
trayer --edge top --align right --widthtype pixel --width 120 --height 32 >/dev/null 2>&1 & PIDS+=($!)
sleep 1.5
small
icon() { # the program's window in the tray's panel, top right
  for w in $(xdotool search --onlyvisible --class corvane 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$X" -ge 1160 ] && [ "$Y" -lt 32 ] && echo "$X $Y $WIDTH $HEIGHT"
  done
}
wait_until '[ -n "$(icon)" ]' || fail "no icon in the tray"
read -r ix iy iw ih < <(icon)
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
visible() { WID=$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n1); [ -n "$WID" ]; }
wait_until visible || fail "the icon did not bring the window back"
wait_until '[ "$(wm_state "$WID")" = Normal ]' || fail "the window came back $(wm_state "$WID")"
echo PASS
