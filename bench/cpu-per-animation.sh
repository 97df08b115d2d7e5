#!/usr/bin/env bash
# CPU time (utime + stime from /proc, as a share of one core) of the real
# program while each of the four animations runs, with the window visible,
# minimised and covered by another window, and its peak RSS. Each animation
# runs in an X server of its own (Xvfb with openbox), all four at once: on a
# shared machine the CPU time a process is charged is what counts, not the
# wall clock. Given a second program (say, a build before a change), both run
# side by side in the same minutes, so that the machine's load falls on both.
#   bench/cpu-per-animation.sh path/to/corvane [path/to/other-corvane] [seconds per state, 60]
set -euo pipefail
USAGE="usage: cpu-per-animation.sh path/to/corvane [path/to/other-corvane] [seconds]"
BINS=("$(readlink -f "${1:?$USAGE}")")
shift
if [ $# -gt 0 ] && [ -f "$1" ]; then
  BINS+=("$(readlink -f "$1")")
  shift
fi
SECONDS_PER=${1:-60}
TICK=$(getconf CLK_TCK)
WORK=$(mktemp -d /tmp/corvane-cpu.XXXXXX)
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
peak_kb() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }
share() { # ticks seconds -> percent of one core
  awk -v t="$1" -v s="$2" -v hz="$TICK" 'BEGIN {printf "%.2f", 100 * t / hz / s}'
}

# bin name keys: runs one animation through visible, minimised, covered; prints a line.
run_one() {
  local bin=$1 tag=$2
  shift 2
  local name=$1 key=$2 dir="$WORK/$tag-${1// /-}"
  PIDS=()
  trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done' EXIT
  mkdir -p "$dir"
  printf '[Form\\LCheckBox12]\r\nChecked=0\r\n' >"$dir/corvane.ini"
  cp "$bin" "$dir/corvane"
  local fifo="$dir/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -ac -noreset -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  PIDS+=($!)
  local n
  read -r -t 20 n <"$fifo"
  export DISPLAY=":$n"
  openbox >/dev/null 2>&1 &
  PIDS+=($!)
  sleep 1
  (cd "$dir" && exec env HOME="$dir" QT_QPA_PLATFORM=xcb ./corvane) >"$dir/app.log" 2>&1 &
  local app=$!
  PIDS+=("$app")
  local wid=""
  for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  sleep 2 # the deferred load
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  # shellcheck disable=SC2086 # one key or several, in turn
  xdotool key --clearmodifiers $key
  sleep 3 # the start's fade

  local t0 t1 visible minimised covered
  t0=$(cpu_ticks "$app"); sleep "$SECONDS_PER"; t1=$(cpu_ticks "$app")
  visible=$(share $((t1 - t0)) "$SECONDS_PER")

  xdotool windowminimize --sync "$wid" 2>/dev/null || xdotool windowunmap --sync "$wid"
  sleep 1
  t0=$(cpu_ticks "$app"); sleep "$SECONDS_PER"; t1=$(cpu_ticks "$app")
  minimised=$(share $((t1 - t0)) "$SECONDS_PER")
  xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowmap --sync "$wid"
  sleep 1

  xmessage -geometry 1280x1024+0+0 -title cover " " >/dev/null 2>&1 &
  local cover=$!
  PIDS+=("$cover")
  sleep 2
  t0=$(cpu_ticks "$app"); sleep "$SECONDS_PER"; t1=$(cpu_ticks "$app")
  covered=$(share $((t1 - t0)) "$SECONDS_PER")
  kill "$cover"

  printf '%s %-13s visible %6s %%   minimised %6s %%   covered %6s %%   peak RSS %6d KiB\n' \
    "$tag" "$name" "$visible" "$minimised" "$covered" "$(peak_kb "$app")" >"$dir/result"
}

for i in "${!BINS[@]}"; do
  bin=${BINS[$i]}
  tag=$((i + 1))
  run_one "$bin" "$tag" Difference d &
  run_one "$bin" "$tag" Velocity e &
  run_one "$bin" "$tag" Deep bracketright &
  # plan de arts alone paints one plasma and then rests; with its "plan de
  # arts" box (l, Devenir) the brightness swings on every tick.
  run_one "$bin" "$tag" "plan de arts" "l a" &
done
wait $(jobs -p)
echo "CPU per animation over ${SECONDS_PER} s per state (share of one core):"
for i in "${!BINS[@]}"; do echo "$((i + 1)): ${BINS[$i]}"; done
cat "$WORK"/*/result
