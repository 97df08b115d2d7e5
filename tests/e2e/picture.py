#!/usr/bin/env python3
"""Checks on a screenshot of the picture (raw RGB bytes, 481 x 351).

  picture.py bands FILE vertical|horizontal   ink only inside the 13 row bands, some in band 0
  picture.py inkbands FILE vertical            prints the number of column bands holding ink
  picture.py differ FILE1 FILE2                exit 0 when the pictures differ
"""
import sys

W, H = 481, 351
BG = (0x4D, 0x5C, 0x50)  # the default background 0x505C4D as red, green, blue


def load(path):
    data = open(path, 'rb').read()
    if len(data) != W * H * 3:
        sys.exit(f'{path}: {len(data)} bytes, expected {W * H * 3}')
    return data


def ink_mask(data):
    # The grain adds up to 14 to each byte; text is far brighter than that.
    ink = []
    for i in range(W * H):
        r, g, b = data[3 * i], data[3 * i + 1], data[3 * i + 2]
        ink.append((r - BG[0]) + (g - BG[1]) + (b - BG[2]) > 90)
    return ink


def band_of(x, y, vertical):
    if vertical:
        for k in range(13):
            if 425 - 30 * k - 17 <= x <= 425 - 30 * k + 1:
                return k
        return None
    for k in range(13):
        if 15 + 25 * k - 2 <= y <= 15 + 25 * k + 19:
            return k
    return None


def main():
    cmd = sys.argv[1]
    if cmd == 'differ':
        sys.exit(0 if load(sys.argv[2]) != load(sys.argv[3]) else 1)
    data = load(sys.argv[2])
    vertical = sys.argv[3] == 'vertical'
    ink = ink_mask(data)
    bands = set()
    stray = 0
    for y in range(H):
        for x in range(W):
            if ink[y * W + x]:
                k = band_of(x, y, vertical)
                if k is None:
                    stray += 1
                else:
                    bands.add(k)
    if cmd == 'inkbands':
        print(len(bands))
        return
    if stray:
        sys.exit(f'{stray} ink pixels outside the row bands')
    if 0 not in bands:
        sys.exit('no ink in the first row band')
    print(f'ink in {len(bands)} bands')


main()
