#!/usr/bin/env bash
# The program's folder decides where its settings are kept, whatever its
# name: a folder named in Shift-JIS bytes keeps its own corvane.ini, and a
# folder whose path is longer than the system opens by name (over 4,096
# bytes) sends them to ~/.config/Corvane, never to a hidden file elsewhere.
source "$(dirname "$0")/lib.sh"
start_x
CORVANE_BIN=$(readlink -f "$CORVANE_BIN")
as=()
[ "$(id -u)" -eq 0 ] && as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
page7='[Form\LCheckBox12]\r\nChecked=0\r\n[Form\FPage]\r\nInteger=7\r\n'

cd_deep() { # path: one step at a time, as a path this long cannot be entered at once
  local IFS=/ step
  cd /
  for step in $1; do [ -n "$step" ] && cd "$step"; done
}

# Runs ./corvane from the folder until its window shows, then ends it as a
# logout would (SIGTERM saves).
run_from() { # folder
  (cd_deep "$1" && exec env HOME="$WORK/home" QT_QPA_PLATFORM=xcb "${as[@]}" ./corvane) \
    >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  PIDS+=("$APP_PID")
  wait_window
  sleep 1.5 # the deferred load
  kill -TERM "$APP_PID"
  wait_exit 20
}
items() { grep -c '=' "$1"; }

mkdir -p "$WORK/home"
sjis="$WORK/$(printf '\x93\xfa\x96\x7b\x8c\xea')" # 日本語
deep="$WORK/deep"
for _ in $(seq 18); do deep="$deep/$(printf 'a%.0s' $(seq 250))"; done
mkdir -p "$sjis" "$deep"
cp "$CORVANE_BIN" "$sjis/corvane"
printf "$page7" >"$sjis/corvane.ini"
(cd_deep "$deep" && cp "$CORVANE_BIN" corvane && printf "$page7" >corvane.ini)
[ "${#deep}" -gt 4096 ] || fail "the deep folder is only ${#deep} bytes"
own_work
touch "$WORK/before"

run_from "$sjis"
[ "$(items "$sjis/corvane.ini")" -eq 50 ] || fail "Shift-JIS folder: its corvane.ini was not written"
grep -q '^Integer=7' "$sjis/corvane.ini" || fail "Shift-JIS folder: its stored page was not read"
[ ! -e "$WORK/home/.config/Corvane/corvane.ini" ] || fail "Shift-JIS folder: settings went to ~/.config"

run_from "$deep"
ini="$WORK/home/.config/Corvane/corvane.ini"
[ -f "$ini" ] && [ "$(items "$ini")" -eq 50 ] || fail "deep folder: no settings in ~/.config/Corvane"
hidden=$(find "$WORK" -newer "$WORK/before" -name '.*ini*' 2>/dev/null | head -n3)
[ -z "$hidden" ] || fail "deep folder: hidden settings files $hidden"
echo PASS
