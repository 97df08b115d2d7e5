#!/usr/bin/env bash
# A writable corvane.ini in a folder the program may not create files in:
# the close rewrites the file in place, so this run's settings are kept.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
printf '; mine\r\n[Form\\LCheckBox12]\r\nChecked=0\r\n[Form\\FPage]\r\nInteger=+7\r\n' > "$WORK/corvane.ini"
own_work
if [ "$(id -u)" -eq 0 ]; then
  chown root "$WORK"; chmod 755 "$WORK"
else
  chmod 555 "$WORK"
fi
inode=$(stat -c %i "$WORK/corvane.ini")
start_app
wait_window
press ctrl+t
wait_exit 20
[ "$(grep -c '=' "$WORK/corvane.ini")" -eq 50 ] || fail "the close did not write 50 items"
[ "$(ini_value 'Form\FPage' Integer)" = 7 ] || fail "stored page $(ini_value 'Form\FPage' Integer), expected 7 written back"
head -c 6 "$WORK/corvane.ini" | grep -q '^; mine' || fail "the file's own lines were lost"
[ "$(stat -c %i "$WORK/corvane.ini")" = "$inode" ] || fail "the file was replaced, not written in place"
echo PASS
