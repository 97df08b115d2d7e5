#!/usr/bin/env bash
# SIGTERM and SIGHUP close the window as a close request does: the reading
# place is written, and no end screen holds the session up. An installed copy,
# in a folder its user cannot write, keeps its settings in ~/.config/Corvane.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
cp "$CORVANE_SOURCE_DIR/tests/corpus/akutagawa-rashomon.txt" "$WORK/corvane.txt"
# The end screen is on (the default): a signal close must skip it all the same.
printf '[Form\\FPage]\r\nInteger=5\r\n' > "$WORK/corvane.ini"
own_work

next_page() {
  xdotool windowfocus --sync "$WID" 2>/dev/null || true
  xdotool key --clearmodifiers space
  sleep 2.5
}

for sig in TERM HUP; do
  before=$(ini_value 'Form\FPage' Integer)
  start_app
  wait_window
  sleep 5 # the title screen and the deferred load
  next_page # writes the stored page
  next_page # and the one after it
  kill -s "$sig" "$APP_PID"
  wait_exit 5
  after=$(ini_value 'Form\FPage' Integer)
  [ "$after" = $((before + 1)) ] || fail "SIG$sig: page $after stored, expected $((before + 1))"
  own_work
done

# An installed copy: the program's folder belongs to root, its user is nobody.
if [ "$(id -u)" -eq 0 ]; then
  mkdir "$WORK/bin" "$WORK/home"
  cp "$CORVANE_BIN" "$WORK/bin/corvane"
  chown 65534:65534 "$WORK/home"
  (cd "$WORK" && exec env HOME="$WORK/home" XDG_CONFIG_HOME= QT_QPA_PLATFORM=xcb \
     setpriv --reuid=65534 --regid=65534 --clear-groups "$WORK/bin/corvane") >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  PIDS+=("$APP_PID")
  wait_window
  sleep 1
  kill -TERM "$APP_PID"
  wait_exit 10
  [ -f "$WORK/home/.config/Corvane/corvane.ini" ] || fail "no settings in the user's configuration folder"
  [ -e "$WORK/bin/corvane.ini" ] && fail "settings written beside an installed program"
  grep -q 'に書き込めません' "$WORK/app.log" && fail "the close reported a write failure"
fi
echo PASS
