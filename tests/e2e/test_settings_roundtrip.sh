#!/usr/bin/env bash
# The window opens, closes on Ctrl+T writing all 50 settings, reads them back
# at its next start, and keeps the old file whole when its folder is read-only.
source "$(dirname "$0")/lib.sh"
start_x
install_copy

# First start: no settings file, so the defaults apply.
start_app
wait_window
sleep 1
press ctrl+t
wait_exit 20
[ -f "$WORK/corvane.ini" ] || fail "no corvane.ini after closing"
keys=$(grep -c '=' "$WORK/corvane.ini")
[ "$keys" -eq 50 ] || fail "expected 50 items, found $keys"
[ "$(ini_value 'Form\FoColor' Integer)" = 15197922 ] || fail "FoColor default"
[ "$(ini_value 'Form\LCheckBox11' Checked)" = 1 ] || fail "Keep default"
[ "$(ini_value 'Form1\Pcx' Integer)" = 240 ] || fail "Pcx default"

# Second start: edited values are read back and written again unchanged.
sed -i 's/^Top=.*/Top=200\r/; s/^Left=.*/Left=150\r/' "$WORK/corvane.ini"
awk 'BEGIN{RS="\r\n"; ORS="\r\n"} /^\[/{s=$0} s=="[Form1\\Pcx]" && /^Integer=/{$0="Integer=123"} s=="[Form\\LCheckBox2]" && /^Checked=/{$0="Checked=1"} {print}' \
  "$WORK/corvane.ini" > "$WORK/ini.tmp" && mv "$WORK/ini.tmp" "$WORK/corvane.ini"
own_work
start_app
wait_window
sleep 1
geom=$(xdotool getwindowgeometry "$WID" | awk '/Position/{print $2}')
[ "$geom" = "150,200" ] || fail "window at $geom, expected 150,200"
press ctrl+t
wait_exit 20
[ "$(ini_value 'Form1\Pcx' Integer)" = 123 ] || fail "Pcx not read back"
[ "$(ini_value 'Form\LCheckBox2' Checked)" = 1 ] || fail "Color box not read back"
[ "$(ini_value 'Form\Form1' Top)" = 200 ] || fail "Top not kept"

# Third start with the folder and file read-only: closing shows the error, the old file stays.
before=$(sha256sum < "$WORK/corvane.ini")
if [ "$(id -u)" -eq 0 ]; then
  chown root "$WORK" "$WORK/corvane.ini"; chmod 755 "$WORK"; chmod 644 "$WORK/corvane.ini"
else
  chmod 555 "$WORK"; chmod 444 "$WORK/corvane.ini"
fi
start_app
wait_window
sleep 1
press ctrl+t
answer_box "no error message on an unwritable settings file"
wait_exit 20
after=$(sha256sum < "$WORK/corvane.ini")
[ "$before" = "$after" ] || fail "settings file changed although unwritable"
ls "$WORK" | grep -q '\.tmp' && fail "temporary file left behind"
echo "PASS"
