#!/usr/bin/env bash
# Time from the program's start to its window mapped under Xvfb, with the
# settings file as the program writes it and grown to just under 16 MiB (the
# largest it reads) in three ways: foreign sections, one section of many
# keys, and a list of books. Prints the median of RUNS starts of each, in ms:
# the wall clock, and the CPU time the program had used when its window was
# mapped (what counts on a shared machine, where the wall clock waits for others).
#   bench/start-with-large-ini.sh path/to/corvane [runs, 5]
set -euo pipefail
# A desktop session has a message bus, and the tray asks it at start-up;
# without one the bus library spends its time trying to launch one.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
  exec dbus-run-session -- bash "$0" "$@"
fi
BIN=$(readlink -f "${1:?usage: start-with-large-ini.sh path/to/corvane [runs]}")
RUNS=${2:-5}
WORK=$(mktemp -d /tmp/corvane-start.XXXXXX)
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fifo="$WORK/displayfd"
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -ac -noreset -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
PIDS+=($!)
read -r -t 20 n <"$fifo"
export DISPLAY=":$n" QT_QPA_PLATFORM=xcb HOME="$WORK"
cp "$BIN" "$WORK/corvane"

TICK=$(getconf CLK_TCK)
# One start: milliseconds from exec to the window mapped, and the program's
# CPU milliseconds by then; the program is then ended.
start_ms() {
  local t0 t1 pid wid= cpu
  t0=$(date +%s%N)
  (cd "$WORK" && exec ./corvane) >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 2000); do
    wid=$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
  done
  t1=$(date +%s%N)
  cpu=$(awk -v hz="$TICK" '{print int(($14 + $15) * 1000 / hz)}' "/proc/$pid/stat")
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$wid" ] || { echo "no window" >&2; exit 1; }
  echo "$(((t1 - t0) / 1000000)) $cpu"
}

mid() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
median() { # of each column
  local runs
  runs=$(cat)
  printf '%5d ms wall %5d ms CPU\n' "$(cut -d' ' -f1 <<<"$runs" | mid)" "$(cut -d' ' -f2 <<<"$runs" | mid)"
}

limit=$((16 * 1024 * 1024 - 4096))
grow() { # name, then the line pattern on stdin (awk program printing one line for i)
  local base="$WORK/base.ini" out="$WORK/corvane.ini"
  cp "$base" "$out"
  awk -v limit="$limit" -v start="$(stat -c %s "$base")" "BEGIN { n = start; for (i = 1; n < limit; i++) { line = $1; n += length(line) + 2; printf \"%s\\r\\n\", line } }" >>"$out"
  printf '%-34s %6d KiB  ' "$2" $(($(stat -c %s "$out") / 1024))
  for _ in $(seq "$RUNS"); do start_ms; done | median
}

# The settings file as a first run leaves it, from an orderly close.
rm -f "$WORK/corvane.ini"
(cd "$WORK" && exec ./corvane) >/dev/null 2>&1 &
pid=$!
PIDS+=("$pid")
for _ in $(seq 100); do
  wid=$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n1 || true)
  [ -n "$wid" ] && break
  sleep 0.1
done
sleep 2
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
[ -s "$WORK/corvane.ini" ] || { echo "no settings file written" >&2; exit 1; }
cp "$WORK/corvane.ini" "$WORK/base.ini"

printf '%-34s %6d KiB  ' "as written" $(($(stat -c %s "$WORK/base.ini") / 1024))
for _ in $(seq "$RUNS"); do start_ms; done | median
grow '"[Other\\\\Section" i "]\r\nValue=" i' "foreign sections"
grow '(i == 1 ? "[Other]\r\n" : "") "Key" i "=" i' "one section of many keys"
grow '(i == 1 ? "[Corvane\\\\Books]\r\n" : "") "Book" i "=" i " /home/reader/books/" i ".txt"' "many books"
