#!/usr/bin/env python3
"""Checks a screenshot (raw RGB) whose top-left is where a balloon hint should start.

  balloon.py FILE WIDTH HEIGHT shown    the balloon's shape and colours are there
  balloon.py FILE WIDTH HEIGHT none     no pixel of the balloon's face colour
"""
import sys

FACE = (0xE7, 0xF8, 0xEA)  # brush 0xEAF8E7 as red, green, blue
NAVY = (0x00, 0x00, 0x80)
TEXT = (0x2D, 0x5F, 0xD2)  # font colour 0xD25F2D


def near(a, b, tol=40):
    return sum(abs(x - y) for x, y in zip(a, b)) <= tol


def main():
    path, w, h, mode = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    data = open(path, 'rb').read()
    px = lambda x, y: tuple(data[3 * (y * w + x):3 * (y * w + x) + 3])
    faces = sum(1 for y in range(h) for x in range(w) if px(x, y) == FACE)
    if mode == 'none':
        if faces:
            sys.exit(f'{faces} pixels of the balloon face')
        return
    problems = []
    # The tail narrows to nothing at (14, 0): its outline shows from row 2 at
    # x = 13 (the mask keeps pixels whose centres lie inside), its face by row 7.
    if px(13, 2) != NAVY or px(12, 7) != FACE:
        problems.append(f'no tail: (13, 2) is {px(13, 2)}, (12, 7) is {px(12, 7)}')
    if px(0, 9) != NAVY or px(0, 15) != NAVY:
        problems.append('no navy outline on the left edge')
    if px(1, 10) != FACE:
        problems.append(f'body (1, 10) is {px(1, 10)}, not the face colour')
    for x, y in ((2, 2), (3, 6), (15, 3), (20, 3)):
        if px(x, y) in (FACE, NAVY):
            problems.append(f'({x}, {y}) is outside the balloon but painted')
    if not any(near(px(x, y), TEXT) for y in range(9, h) for x in range(3, w)):
        problems.append('no text in the font colour')
    if problems:
        sys.exit('; '.join(problems))


main()
