#!/usr/bin/env bash
# corvane-saver in a window it is given, as xscreensaver gives one: it writes
# the book's page there, whole-pixel enlarged and centred, in the colours of
# the program's settings, which it never writes; SIGTERM ends it cleanly.
source "$(dirname "$0")/lib.sh"
start_x
SAVER="$(readlink -f "$(dirname "$CORVANE_BIN")")/corvane-saver"
printf '[Form\\GColor]\r\nInteger=%s\r\n' 4210752 > "$WORK/corvane.ini" # 0x404040
chmod 444 "$WORK/corvane.ini"
before=$(stat -c '%Y %s' "$WORK/corvane.ini")

# A 1000 x 760 window of another program to draw in, as xscreensaver gives one.
xmessage -geometry 1000x760+0+0 -title host " " >/dev/null 2>&1 &
PIDS+=($!)
HOST=$(xdotool search --sync --name '^host$' | head -n1)
[ -n "$HOST" ] || fail "no host window"
sleep 0.5

(cd "$WORK" && exec env HOME="$WORK" XSCREENSAVER_WINDOW="$HOST" QT_QPA_PLATFORM=xcb \
  "$SAVER" -root -ini "$WORK/corvane.ini" -page-seconds 30) >"$WORK/app.log" 2>&1 &
APP_PID=$!
PIDS+=("$APP_PID")
sleep 4 # the page fades in

import -window "$HOST" -depth 8 "rgb:$WORK/host.rgb"
python3 - "$WORK/host.rgb" <<'PY' || fail "the page is not in the given window"
import sys
W, H = 1000, 760
data = open(sys.argv[1], 'rb').read()
px = lambda x, y: data[3 * (y * W + x):3 * (y * W + x) + 3]
# 481 x 351 twice fits 1000 x 760: (19, 29) to (981, 731), black around.
assert px(5, 5) == bytes(3), f'corner {px(5, 5)}'
ground = px(30, 40)
assert abs(ground[0] - 0x40) < 16 and abs(ground[2] - 0x40) < 16, f'ground {ground}'
inked = sum(1 for y in range(29, 731, 3) for x in range(19, 981, 3) if sum(px(x, y)) > 3 * 150)
assert inked > 500, f'{inked} inked samples: no text'
for y in range(29, 731, 2):
    for x in range(19, 981, 2):
        assert px(x, y) == px(x + 1, y) == px(x, y + 1) == px(x + 1, y + 1), f'block at {x},{y}'
PY

kill -TERM "$APP_PID"
wait_exit 10
wait "$APP_PID" && status=0 || status=$?
[ "$status" = 0 ] || fail "SIGTERM ended the saver with status $status"
[ "$(stat -c '%Y %s' "$WORK/corvane.ini")" = "$before" ] || fail "the saver wrote the settings"
