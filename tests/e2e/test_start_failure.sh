#!/usr/bin/env bash
# A window that fails while it is being built: the program shows the error in
# a message box, shows no window of its own, and ends with status 1 once the
# box is closed, instead of aborting. The program is Corvane on a desktop that
# cannot name its settings file (failing_start.cpp).
source "$(dirname "$0")/lib.sh"
FAILING="$CORVANE_BUILD_DIR/corvane-failing-start"
[ -x "$FAILING" ] || fail "no $FAILING: build the target corvane-failing-start"
start_x

(cd "$WORK" && exec env HOME="$WORK" QT_QPA_PLATFORM=xcb "$FAILING") >"$WORK/app.log" 2>&1 &
APP_PID=$!
PIDS+=("$APP_PID")

wait_window # the message box, titled like the program
geometry=$(xdotool getwindowgeometry "$WID" | awk '/Geometry/{print $2}')
[ "$geometry" != "680x425" ] || fail "the main window appeared"
for _ in $(seq 50); do
  grep -q '^message box:' "$WORK/app.log" && break
  sleep 0.1
done
grep -qx 'message box: No folder for the settings file' "$WORK/app.log" ||
  fail "the box does not give the error's message"
count=$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | wc -l)
[ "$count" -eq 1 ] || fail "$count windows named Corvane, expected the message box alone"
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended before the box was closed"

xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
xdotool key Return
wait_exit 10
status=0
wait "$APP_PID" || status=$?
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
! grep -q 'terminate called' "$WORK/app.log" || fail "the program aborted"
echo PASS
