#!/usr/bin/env bash
# Under a Wayland compositor the notch at the window's lower left shows what
# lies behind the window, not the key colour (0, 0, 199) the face marks it with.
# Weston runs on a private X server so that its output can be captured.
source "$(dirname "$0")/lib.sh"
command -v weston >/dev/null || { echo "SKIP: no weston"; exit 77; }
start_x
install_copy
export XDG_RUNTIME_DIR="$WORK/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[core]\nidle-time=0\n[shell]\nbackground-color=0xffcc3322\npanel-position=none\n' >"$WORK/weston.ini"
weston --backend=x11-backend.so --use-pixman --socket=corvane --width=1000 --height=700 \
  --config="$WORK/weston.ini" >"$WORK/weston.log" 2>&1 & PIDS+=($!)
for _ in $(seq 200); do [ -S "$XDG_RUNTIME_DIR/corvane" ] && break; sleep 0.1; done
(cd "$WORK" && exec env HOME="$WORK" WAYLAND_DISPLAY=corvane QT_QPA_PLATFORM=wayland ./corvane) \
  >"$WORK/app.log" 2>&1 & PIDS+=($!)
# The window's place: the box of its one-pixel outline in the outline's colour.
box=
for _ in $(seq 40); do
  sleep 0.5
  import -window root -crop 1000x700+0+0 "$WORK/shot.png" 2>/dev/null || continue
  box=$(convert "$WORK/shot.png" -fill black +opaque '#2C3632' -fill white -opaque '#2C3632' \
    -trim -format '%w %h %X %Y' info: | awk '$1 == 680 && $2 == 425 {print $3 + 0, $4 + 424}')
  [ -n "$box" ] && break
done
[ -n "$box" ] || fail "no window on the compositor's screen: $(tail -3 "$WORK/weston.log")"
read -r x0 y1 <<<"$box"
notch=$(convert "$WORK/shot.png" -crop "2x2+$x0+$((y1 - 1))" -unique-colors txt:- | awk 'NR > 1 {print $3}')
[ "$notch" = "#CC3322" ] || fail "the notch at ($x0, $((y1 - 1))) shows $notch, not the background #CC3322"
echo PASS
