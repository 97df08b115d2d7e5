#!/usr/bin/env bash
# Time from the program's start to its window mapped under Xvfb, with the
# settings file as the program writes it and grown to just under 16 MiB (the
# largest it reads) in three ways: foreign sections, one section of many
# keys, and a list of books. Prints the median of RUNS starts of each, in ms:
# the wall clock, and the CPU time the program had used when its window was
# mapped (what counts on a shared machine, where the wall clock waits for others).
# Given two builds (before and after a change), their starts take turns, so
# that a load on the machine falls on both alike.
#   bench/start-with-large-ini.sh path/to/corvane [path/to/other/corvane] [runs, 5]
set -euo pipefail
# A desktop session has a message bus, which Qt's accessibility asks at start-up;
# without one the bus library spends its time trying to launch one.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
  exec dbus-run-session -- bash "$0" "$@"
fi
BINS=()
RUNS=5
for arg in "${@:?usage: start-with-large-ini.sh path/to/corvane [path/to/other/corvane] [runs]}"; do
  if [[ $arg =~ ^[0-9]+$ ]]; then RUNS=$arg; else BINS+=("$(readlink -f "$arg")"); fi
done
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
# Each build in a folder of its own, as its settings file lies beside it.
for i in "${!BINS[@]}"; do mkdir "$WORK/$i" && cp "${BINS[$i]}" "$WORK/$i/corvane"; done

# One start: milliseconds from exec to the window mapped, and the program's
# CPU milliseconds by then, from the scheduler's nanoseconds of each of its
# threads (the clock ticks of /proc/PID/stat come 10 ms apart); the
# program is then ended.
start_ms() { # which build
  local t0 t1 pid wid= cpu
  t0=$(date +%s%N)
  (cd "$WORK/$1" && exec ./corvane) >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 2000); do
    wid=$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
  done
  t1=$(date +%s%N)
  cpu=$(cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {print int(ns / 1000000)}')
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$wid" ] || { echo "no window" >&2; exit 1; }
  echo "$(((t1 - t0) / 1000000)) $cpu"
}

mid() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
median() { # of each column
  local runs
  runs=$(cat)
  printf '%5d ms wall %5d ms CPU' "$(cut -d' ' -f1 <<<"$runs" | mid)" "$(cut -d' ' -f2 <<<"$runs" | mid)"
}
# RUNS starts of each build in turn; a line of medians, one column per build.
measure() { # label
  local out="$WORK/runs" i
  printf '%-26s %6d KiB' "$1" $(($(stat -c %s "$WORK/corvane.ini") / 1024))
  rm -f "$out".*
  for i in "${!BINS[@]}"; do cp "$WORK/corvane.ini" "$WORK/$i/corvane.ini"; done
  for _ in $(seq "$RUNS"); do
    for i in "${!BINS[@]}"; do start_ms "$i" >>"$out.$i"; done
  done
  for i in "${!BINS[@]}"; do printf '  |%s' "$(median <"$out.$i")"; done
  echo
}

limit=$((16 * 1024 * 1024 - 4096))
grow() { # name, then the line pattern on stdin (awk program printing one line for i)
  local base="$WORK/base.ini" out="$WORK/corvane.ini"
  cp "$base" "$out"
  awk -v limit="$limit" -v start="$(stat -c %s "$base")" "BEGIN { n = start; for (i = 1; n < limit; i++) { line = $1; n += length(line) + 2; printf \"%s\\r\\n\", line } }" >>"$out"
  measure "$2"
}

# The settings file as a first run leaves it, from an orderly close.
(cd "$WORK/0" && exec ./corvane) >/dev/null 2>&1 &
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
[ -s "$WORK/0/corvane.ini" ] || { echo "no settings file written" >&2; exit 1; }
cp "$WORK/0/corvane.ini" "$WORK/base.ini"

for i in "${!BINS[@]}"; do echo "build $((i + 1)): ${BINS[$i]}"; done
cp "$WORK/base.ini" "$WORK/corvane.ini"
measure "as written"
grow '"[Other\\\\Section" i "]\r\nValue=" i' "foreign sections"
grow '(i == 1 ? "[Other]\r\n" : "") "Key" i "=" i' "one section of many keys"
grow '(i == 1 ? "[Corvane\\\\Books]\r\n" : "") "Book" i "=" i " /home/reader/books/" i ".txt"' "many books"
