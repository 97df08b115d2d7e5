#!/usr/bin/env bash
# SIGTERM, SIGHUP, SIGINT, SIGQUIT and SIGUSR1 close the window as a close
# request does: the reading place is written, no end screen holds the session
# up, and the exit status is 0 (130 after SIGINT). A message box open at the
# time is closed, not waited for. An installed copy,
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

for sig in TERM HUP INT QUIT USR1; do
  before=$(ini_value 'Form\FPage' Integer)
  start_app
  wait_window
  sleep 5 # the title screen and the deferred load
  next_page # writes the stored page
  next_page # and the one after it
  kill -s "$sig" "$APP_PID"
  wait_exit 5
  status=0; wait "$APP_PID" || status=$?
  expected=0; [ "$sig" = INT ] && expected=130
  [ "$status" = "$expected" ] || fail "SIG$sig: exit status $status, expected $expected"
  after=$(ini_value 'Form\FPage' Integer)
  [ "$after" = $((before + 1)) ] || fail "SIG$sig: page $after stored, expected $((before + 1))"
  own_work
done

# A folder given as the book: its refusal waits in a message box when SIGTERM comes.
mkdir -p "$WORK/folder"
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini"
own_work
start_app folder
wait_window
for _ in $(seq 50); do
  [ "$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | wc -l)" -ge 2 ] && break
  sleep 0.1
done
[ "$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | wc -l)" -ge 2 ] || fail "no message box"
kill -TERM "$APP_PID"
wait_exit 1
[ -n "$(ini_value 'Form\FPage' Integer)" ] || fail "SIGTERM over a message box saved nothing"

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
