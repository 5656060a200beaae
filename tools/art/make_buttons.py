#!/usr/bin/env python3
"""Draws the faces of the image buttons: Up, Over and Down for each button style.

A face is a rounded rectangle with a vertical gradient, a one-pixel border and a soft highlight
along its top, antialiased (4 x 4 samples a pixel) against the background of the window it sits
on, so that the corners blend in. The caption is not part of a face: the button draws it.
Writes 24-bit .bmp files to resources/buttons/.
Run: python3 tools/art/make_buttons.py
"""
import os
import struct

SUPER = 4
WINDOW = (240, 243, 248)  # BackColor of the windows the buttons sit on (0xF8F3F0 there)
SIZE = (109, 21)          # 1635 x 315 twips
RADIUS = 4.0

# style -> face -> (top colour, bottom colour, border colour, highlight strength)
STYLES = {
    'accent': {
        'up': ((231, 239, 252), (196, 214, 245), (86, 122, 192), 0.55),
        'over': ((248, 251, 255), (158, 192, 250), (36, 88, 204), 0.8),
        'down': ((170, 194, 236), (199, 215, 244), (40, 80, 160), 0.0),
    },
    'plain': {
        'up': ((250, 251, 253), (222, 227, 235), (150, 158, 174), 0.6),
        'over': ((255, 255, 255), (196, 211, 236), (86, 110, 152), 0.85),
        'down': ((201, 208, 220), (226, 230, 238), (96, 106, 124), 0.0),
    },
}
FILES = {'accent': 'ok', 'plain': 'cancel'}


def inside_rounded(px, py, w, h, r):
    cx = min(max(px, r), w - r)
    cy = min(max(py, r), h - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def render(top, bottom, border, highlight):
    w, h = SIZE
    pixels = []
    for y in range(h):
        row = []
        for x in range(w):
            acc = [0.0, 0.0, 0.0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    px = x + (sx + 0.5) / SUPER
                    py = y + (sy + 0.5) / SUPER
                    if not inside_rounded(px, py, w, h, RADIUS):
                        colour = WINDOW
                    elif not inside_rounded(px - 1, py - 1, w - 2, h - 2, RADIUS - 1):
                        colour = border
                    else:
                        t = (py - 1) / (h - 2)
                        colour = mix(top, bottom, t)
                        # a soft sheen over the upper part, strongest at the top
                        if highlight and t < 0.5:
                            colour = mix(colour, (255, 255, 255), highlight * (0.5 - t) * 0.6)
                    for i in range(3):
                        acc[i] += colour[i]
            n = SUPER * SUPER
            row.append(tuple(int(round(c / n)) for c in acc))
        pixels.append(row)
    return pixels


def write_bmp(path, pixels):
    h = len(pixels)
    w = len(pixels[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        data += line
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = os.path.join(root, 'resources', 'buttons')
    os.makedirs(out, exist_ok=True)
    for style, faces in STYLES.items():
        for face, colours in faces.items():
            write_bmp(os.path.join(out, '%s_%s.bmp' % (FILES[style], face)), render(*colours))


if __name__ == '__main__':
    main()
