#!/usr/bin/env bash
# Under a window manager: "Small" without a notification area minimises the
# window; the user restores it; a tray appears; "Small" goes to the tray, and a
# click on the icon brings the window back on the screen, not minimised.
source "$(dirname "$0")/lib.sh"
start_x
command -v openbox >/dev/null || { echo "SKIP: no openbox"; exit 0; }
start_wm
install_copy
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini"
own_work
wm_state() { xprop -id "$WID" WM_STATE 2>/dev/null | awk '/window state/ {print $3}'; }

start_app
wait_window
sleep 1.5
click_small
wait_until '[ "$(wm_state)" = Iconic ]' || fail "no tray: Small did not minimise the window"
xdotool windowactivate "$WID" 2>/dev/null || true
wait_until '[ "$(wm_state)" = Normal ]' || fail "the window manager did not restore the window"
start_tray
click_small
wait_until '[ -n "$(tray_icon)" ]' || fail "no icon in the tray"
click_icon 1
wait_until 'WID=$(visible_window); [ -n "$WID" ]' || fail "the icon did not bring the window back"
wait_until '[ "$(wm_state)" = Normal ]' || fail "the window came back $(wm_state)"
echo PASS
