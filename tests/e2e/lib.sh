# Shared helpers of the end-to-end tests: a private X server, a private copy of
# the program, and cleanup of every process a test starts.
set -euo pipefail

CORVANE_BIN=${1:?usage: test_x.sh path/to/corvane}
WORK=$(mktemp -d /tmp/corvane-e2e.XXXXXX)
chmod 755 "$WORK"
PIDS=()

cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
  chmod -R u+w "$WORK" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; [ -f "$WORK/app.log" ] && sed "s/^/  app: /" "$WORK/app.log" >&2; exit 1; }

start_x() {
  # The server picks a free display itself and tells us its number. Without
  # -noreset it resets whenever its last client leaves, and a program started
  # right after another one closed can find it in the middle of that reset.
  local fifo="$WORK/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -ac -noreset -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  PIDS+=($!)
  local n
  read -r -t 20 n <"$fifo" || fail "no X server"
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  fail "X server :$n does not answer"
}

# Copies the program into the test folder, so its settings file is the folder's.
install_copy() {
  cp "$CORVANE_BIN" "$WORK/corvane"
  chmod 755 "$WORK/corvane"
  [ "$(id -u)" -eq 0 ] && chown -R 65534:65534 "$WORK"
  return 0
}

# Runs the copy, as an unprivileged user where we are root (so that folder
# permissions apply), in the folder $WORK, with the arguments given; sets APP_PID.
start_app() {
  local as=()
  if [ "$(id -u)" -eq 0 ]; then as=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
  (cd "$WORK" && exec env HOME="$WORK" QT_QPA_PLATFORM=xcb "${as[@]}" ./corvane "$@") \
    >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  PIDS+=("$APP_PID")
}

# Waits until a window named exactly Corvane is mapped; sets WID.
wait_window() {
  for _ in $(seq 100); do
    WID=$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n1 || true)
    [ -n "$WID" ] && return 0
    sleep 0.1
  done
  cat "$WORK/app.log" >&2 || true
  fail "window did not appear"
}

# Waits for the program to end within $1 seconds.
wait_exit() {
  local t=${1:-15}
  for _ in $(seq $((t * 10))); do
    kill -0 "$APP_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "program did not end"
}

ini_value() { # section key -> value
  awk -v s="[$1]" -v k="$2" 'BEGIN{IGNORECASE=0} {sub(/\r$/,"")} $0==s{f=1;next} /^\[/{f=0} f && index($0,k"=")==1{print substr($0,length(k)+2); exit}' "$WORK/corvane.ini"
}

# Gives the test folder back to the user the program runs as, after the test edited files.
own_work() { [ "$(id -u)" -eq 0 ] && chown -R 65534:65534 "$WORK"; return 0; }

# Presses a key in the window, then waits $2 seconds (none if not given).
press() {
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID" 2>/dev/null || true
  sleep 0.2 # the focus settles before the key
  xdotool key --clearmodifiers "$1"
  sleep "${2:-0}"
}

# The picture's pixels as raw RGB in $WORK/$1.rgb, the window at its stored place (100, 100).
grab() { import -window root -crop 481x351+127+129 -depth 8 "rgb:$WORK/$1.rgb"; }

# Waits for a message box (a second window named Corvane) and answers it with
# Return; fails with $1 when none comes while the program runs.
answer_box() {
  local box=""
  for _ in $(seq 100); do
    box=$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | grep -v "^$WID\$" | head -n1 || true)
    [ -n "$box" ] && break
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$box" ] || fail "$1"
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  xdotool key Return
}

# Polls a shell condition every tenth of a second, $2 tenths at the most.
wait_until() { for _ in $(seq "${2:-30}"); do eval "$1" && return 0; sleep 0.1; done; return 1; }

# A window manager (openbox) or an XEmbed tray panel (trayer, top right of the screen).
start_wm() { openbox >/dev/null 2>&1 & PIDS+=($!); sleep 1; }
start_tray() {
  trayer --edge top --align right --widthtype pixel --width 120 --height 32 >/dev/null 2>&1 &
  PIDS+=($!)
  sleep 1.5
}

# The Corvane window on the screen (empty when none); the program's icon in the
# tray panel as "id x y" of its centre (empty when none).
visible_window() { xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n1 || true; }
tray_icon() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  for w in $(xdotool search --onlyvisible --class corvane 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$X" -ge 1160 ] && [ "$Y" -lt 32 ] && { echo "$w $((X + WIDTH / 2)) $((Y + HEIGHT / 2))"; return 0; }
  done
  return 0
}
# Clicks the icon with button $1.
click_icon() { local w x y; read -r w x y < <(tray_icon); xdotool mousemove "$x" "$y" click "$1"; }

# Clicks "Small" wherever the window manager put the window on the screen.
click_small() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$(visible_window)")"
  xdotool mousemove $((X + 638)) $((Y + 376)) click 1
}
