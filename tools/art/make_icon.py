#!/usr/bin/env python3
"""Draws Velt's program icon: nine rounded tiles in a 3 x 3 grid, the centre one lit.

Writes resources/Velt.ico with 16, 24, 32 and 48 pixel images (32-bit, alpha). Shapes are
rendered at 8x and box-filtered down, so edges are smooth at every size.
Run: python3 tools/art/make_icon.py
"""
import os
import struct

SUPER = 8
TILE = (206, 217, 236)      # light slate
LIT = (52, 104, 214)        # the current desktop
EDGE = (13, 23, 94)         # the overview's frame colour


def rounded_box_coverage(px, py, x0, y0, x1, y1, r):
    """1.0 when the point lies inside the rounded rectangle, else 0.0."""
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return 1.0 if (px - cx) ** 2 + (py - cy) ** 2 <= r * r else 0.0


def render(size):
    n = size * SUPER
    gap = n * 0.07
    margin = n * 0.04
    tile = (n - 2 * margin - 2 * gap) / 3
    radius = tile * 0.22
    border = max(n * 0.045, SUPER * 1.0)
    acc = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
    for j in range(n):
        for i in range(n):
            px, py = i + 0.5, j + 0.5
            col = int((px - margin) // (tile + gap))
            row = int((py - margin) // (tile + gap))
            if not (0 <= col < 3 and 0 <= row < 3):
                continue
            x0 = margin + col * (tile + gap)
            y0 = margin + row * (tile + gap)
            outer = rounded_box_coverage(px, py, x0, y0, x0 + tile, y0 + tile, radius)
            if not outer:
                continue
            inner = rounded_box_coverage(px, py, x0 + border, y0 + border, x0 + tile - border,
                                         y0 + tile - border, max(radius - border, 0.5))
            fill = LIT if (row, col) == (1, 1) else TILE
            colour = fill if inner else EDGE
            a = acc[(j // SUPER) * size + (i // SUPER)]
            a[0] += colour[0]
            a[1] += colour[1]
            a[2] += colour[2]
            a[3] += 1
    samples = SUPER * SUPER
    pixels = []
    for r, g, b, count in acc:
        if count == 0:
            pixels.append((0, 0, 0, 0))
        else:
            # colour averaged over covered samples, alpha from coverage (straight alpha for ICO)
            pixels.append((round(r / count), round(g / count), round(b / count),
                           round(255 * count / samples)))
    return pixels


def ico_entry(size, pixels):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in range(size - 1, -1, -1):
        row = bytearray()
        for x in range(size):
            r, g, b, a = pixels[y * size + x]
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(size):
            if pixels[y * size + x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + b''.join(rows) + bytes(mask)


def main():
    sizes = [16, 24, 32, 48]
    images = [ico_entry(s, render(s)) for s in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    with open(os.path.join(root, 'resources', 'Velt.ico'), 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
