#!/usr/bin/env python3
"""blocks.py FILE WIDTH HEIGHT: raw RGB screenshot of the whole screen. Finds
the 481 x 351 picture enlarged on black and exits 0 when it is a whole factor
and every picture pixel is a uniform square block of that factor."""
import sys

path, W, H = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
data = open(path, 'rb').read()
px = lambda x, y: data[3 * (y * W + x):3 * (y * W + x) + 3]
black = bytes(3)
rows = [y for y in range(H) if any(px(x, y) != black for x in range(0, W, 7))]
cols = [x for x in range(W) if any(px(x, y) != black for y in range(0, H, 7))]
if not rows or not cols:
    sys.exit('no picture on the screen')
left, top = cols[0], rows[0]
width, height = cols[-1] - left + 1, rows[-1] - top + 1
k = width // 481
if k < 1 or width != 481 * k or height != 351 * k:
    sys.exit(f'picture {width} x {height} at ({left}, {top}) is no whole multiple of 481 x 351')
for py in range(351):
    for px_ in range(481):
        first = px(left + px_ * k, top + py * k)
        for dy in range(k):
            row = 3 * ((top + py * k + dy) * W + left + px_ * k)
            if data[row:row + 3 * k] != first * k:
                sys.exit(f'picture pixel ({px_}, {py}) is not a whole {k} x {k} block')
print(k)
