#!/usr/bin/env bash
# A close killed at any moment of its save leaves the settings file either
# exactly as it was or exactly as a complete close writes it, never a
# mixture; the next start removes any temporary file a killed save left.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
RUNS=${CORVANE_KILL_RUNS:-8}

# A complete close from no file gives the canonical file; "+Begin End" off
# so that no end screen delays the exit.
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' > "$WORK/corvane.ini"
own_work
start_app
wait_window
press ctrl+t
wait_exit 20
[ "$(grep -c '=' "$WORK/corvane.ini")" -eq 50 ] || fail "the first close did not write 50 items"

# The old file holds every value in a spelling the program reads but does
# not write ("+240" for 240), plus a comment; a complete close rewrites all
# 50 keys where they stand, so old and new differ in every key but the
# empty file name.
sed 's/=\([0-9]\)/=+\1/' "$WORK/corvane.ini" > "$WORK/old.ini"
printf '; kept by every save\r\n' >> "$WORK/old.ini"
cp "$WORK/old.ini" "$WORK/corvane.ini"
own_work
start_app
wait_window
press ctrl+t
wait_exit 20
cp "$WORK/corvane.ini" "$WORK/new.ini"
cmp -s "$WORK/old.ini" "$WORK/new.ini" && fail "a complete close changed nothing"
[ "$(grep -c '=+' "$WORK/new.ini")" -eq 0 ] || fail "a complete close left old values"
grep -q '^; kept by every save' "$WORK/new.ini" || fail "the comment was lost"

# Presses the close key and kills the program at a random moment: in
# "watch" runs a random 0-28 ms after the file first changes, otherwise a
# random 0-6 ms after the key went out (before, during or after the save).
# Prints what happened.
killer() { # mode pid
  python3 - "$1" "$2" "$WORK/corvane.ini" <<'EOF'
import os, random, signal, subprocess, sys, time
mode, pid, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
def sig(p):
    st = os.stat(p)
    return (st.st_ino, st.st_mtime_ns, st.st_size)
before = sig(path)
deadline = time.monotonic() + 10
subprocess.run(["xdotool", "key", "--delay", "0", "--clearmodifiers", "ctrl+t"], check=True)
if mode == "watch":
    while time.monotonic() < deadline:
        try:
            if sig(path) != before:
                break
        except FileNotFoundError:
            break
        time.sleep(0.0002)
    time.sleep(random.uniform(0, 0.028))
else:
    time.sleep(random.uniform(0, 0.006))
try:
    os.kill(pid, signal.SIGKILL)
    print("killed", "after" if sig(path) != before else "before", "the change")
except ProcessLookupError:
    print("ended")
EOF
}

old_count=0 new_count=0
for run in $(seq "$RUNS"); do
  cp "$WORK/old.ini" "$WORK/corvane.ini"
  own_work
  start_app
  wait_window
  mode=delay; [ $((run % 2)) -eq 0 ] && mode=watch
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
  sleep 0.2
  killer "$mode" "$APP_PID" > "$WORK/killer.out"
  echo "run $run ($mode): $(cat "$WORK/killer.out")"
  wait_exit 10
  if cmp -s "$WORK/corvane.ini" "$WORK/old.ini"; then
    old_count=$((old_count + 1))
  elif cmp -s "$WORK/corvane.ini" "$WORK/new.ini"; then
    new_count=$((new_count + 1))
  else
    diff <(tr -d '\r' < "$WORK/old.ini") <(tr -d '\r' < "$WORK/corvane.ini") >&2 || true
    fail "run $run ($mode, $(cat "$WORK/killer.out")): the file is neither the old nor the new one"
  fi
done
echo "kill runs: $RUNS, old file $old_count, new file $new_count"

# A temporary file as a save killed between its write and its rename
# leaves it; the next start removes it and nothing else.
printf 'partial' > "$WORK/corvane.ini.Zq81xA"
printf 'mine' > "$WORK/corvane.ini.bak"
own_work
start_app
wait_window
press ctrl+t
wait_exit 20
left=$(ls -A "$WORK" | grep -E '^corvane\.ini\.[A-Za-z0-9]{6}$' || true)
[ -z "$left" ] || fail "temporary files left after a restart: $left"
[ -f "$WORK/corvane.ini.bak" ] || fail "a file of another name was removed"
cmp -s "$WORK/corvane.ini" "$WORK/new.ini" || fail "the restart did not write the new file"
echo PASS
