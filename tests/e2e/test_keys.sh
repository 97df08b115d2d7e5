#!/usr/bin/env bash
# Keys typed on the real window: "v" writes the page horizontally; "y" opens
# the context menu at (500, 10), drawn lilac with its two-tone separators;
# Right moves the page slider; "/" clears "Keep" and "j" sets "Bright" with
# the brightness 125, and Ctrl+T stores them.
source "$(dirname "$0")/lib.sh"
start_x
install_copy
cp "$CORVANE_SOURCE_DIR/tests/corpus/akutagawa-rashomon.txt" "$WORK/corvane.txt"
printf '[Form\\LCheckBox12]\r\nChecked=0\r\n[Form1\\Aozora]\r\nBoolean=0\r\n' > "$WORK/corvane.ini" # no title screens
own_work
PY="python3 $(dirname "$0")/picture.py"

start_app
wait_window
sleep 1.5 # the deferred load

press v 2.5
grab horizontal
$PY bands "$WORK/horizontal.rgb" horizontal || fail "\"v\" did not write the page in horizontal lines"

# 18 items of 25 pixels and 4 separators of 10.
press y 0.8
import -window root -crop 105x490+500+10 -depth 8 "rgb:$WORK/menu.rgb"
python3 - "$WORK/menu.rgb" <<'PY' || fail "the menu at (500, 10) is not drawn in its own colours"
import sys
W, H = 105, 490
data = open(sys.argv[1], 'rb').read()
px = lambda x, y: tuple(data[3 * (y * W + x):3 * (y * W + x) + 3])
ground, dark, light = (0xB3, 0xB3, 0xFF), (0x85, 0x91, 0x1A), (0xE8, 0xEF, 0xA7)
bad = [f'{x},{y}: {px(x, y)}' for x, y in [(2, 2), (2, 22), (102, 12), (2, 485), (102, 485)] if px(x, y) != ground]
for top in (125, 235, 320, 430):  # N3 to N6
    mid = top + 5
    bad += [f'rule at {mid}: {px(x, mid)} / {px(x, mid + 1)}' for x in (1, 52, 103)
            if px(x, mid) != dark or px(x, mid + 1) != light]
    bad += [f'rule edge at {mid}' for x in (0, 104) if px(x, mid) != ground]
if bad:
    sys.exit('\n'.join(bad))
PY
press Escape 0.3

press Right 0.3 # no Velocity: the key moves the page slider, page 1 to 2
press slash 0.3
press j 0.3
press ctrl+t 0
wait_exit 20
[ "$(ini_value 'Form\LCheckBox11' Checked)" = 0 ] || fail "\"/\" did not clear Keep"
[ "$(ini_value 'Form\LCheckBox21' Checked)" = 1 ] || fail "\"j\" did not set Bright"
[ "$(ini_value 'Form1\Fconm' Integer)" = 125 ] || fail "\"j\" did not set the brightness to 125"
[ "$(ini_value 'Form\LCheckBox8' Checked)" = 1 ] || fail "\"v\" did not set Horizontal"
[ "$(ini_value 'Form\FPage' Integer)" = 2 ] || fail "Right did not move the page slider"
echo PASS
