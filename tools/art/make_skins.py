#!/usr/bin/env python3
"""Draws the overview's glass skins: translucent PNG panels the size of the overview.

Each skin is a rounded panel with a vertical tint, a fine frost (seeded noise, softened), a glossy
sheen over its upper part, a bright inner rim and a darker outer line. Alpha varies across the
panel, so the skins are real glass: what lies behind the overview shows through. Corners outside
the rounding are fully transparent and antialiased (4 x 4 samples a pixel).
Writes 8-bit RGBA PNG files (straight alpha) to resources/skin/.
Run: python3 tools/art/make_skins.py
"""
import math
import os
import random
import struct
import zlib

SUPER = 4
SIZE = (329, 256)  # the overview's client area: 4935 x 3840 twips
RADIUS = 14.0

# name -> look. Colours are RGB, alphas 0..1.
SKINS = {
    'frosted-blue': {
        'top': (132, 176, 232), 'bottom': (36, 82, 164),
        'alpha_top': 0.80, 'alpha_bottom': 0.88,
        'frost': 7.0, 'sheen': 0.42, 'sheen_colour': (255, 255, 255),
        'rim': ((235, 245, 255), 0.75), 'edge': ((18, 44, 96), 0.92),
        'streak': 0.0,
    },
    'smoked-dark': {
        'top': (70, 74, 84), 'bottom': (16, 18, 22),
        'alpha_top': 0.78, 'alpha_bottom': 0.90,
        'frost': 4.0, 'sheen': 0.20, 'sheen_colour': (220, 226, 240),
        'rim': ((190, 196, 210), 0.45), 'edge': ((4, 4, 6), 0.95),
        'streak': 0.0,
    },
    'clear-highlight': {
        'top': (246, 249, 255), 'bottom': (214, 226, 242),
        'alpha_top': 0.22, 'alpha_bottom': 0.38,
        'frost': 3.0, 'sheen': 0.30, 'sheen_colour': (255, 255, 255),
        'rim': ((255, 255, 255), 0.85), 'edge': ((84, 98, 124), 0.70),
        'streak': 0.45,
    },
}


def rounded_distance(px, py, w, h, r):
    """Signed distance from the outline of a rounded rectangle; negative inside."""
    qx = abs(px - w / 2) - (w / 2 - r)
    qy = abs(py - h / 2) - (h / 2 - r)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return outside + inside - r


def frost_field(w, h, seed):
    """Noise in -1..1, softened by two box blurs so that it reads as frost, not grain."""
    rng = random.Random(seed)
    field = [[rng.uniform(-1.0, 1.0) for _ in range(w)] for _ in range(h)]
    for _ in range(2):
        blurred = [[0.0] * w for _ in range(h)]
        for y in range(h):
            for x in range(w):
                total = 0.0
                count = 0
                for dy in (-1, 0, 1):
                    for dx in (-1, 0, 1):
                        yy, xx = y + dy, x + dx
                        if 0 <= yy < h and 0 <= xx < w:
                            total += field[yy][xx]
                            count += 1
                blurred[y][x] = total / count
        field = blurred
    peak = max(abs(v) for row in field for v in row) or 1.0
    return [[v / peak for v in row] for row in field]


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def over(base, base_alpha, colour, alpha):
    """colour at alpha laid over a straight-alpha base; returns (colour, alpha)."""
    out_alpha = alpha + base_alpha * (1 - alpha)
    if out_alpha <= 0:
        return (0.0, 0.0, 0.0), 0.0
    out = tuple((colour[i] * alpha + base[i] * base_alpha * (1 - alpha)) / out_alpha for i in range(3))
    return out, out_alpha


def shade(look, frost, x, y, w, h, distance):
    """The panel's colour and alpha at a point inside it, distance from the outline (negative)."""
    t = y / h
    colour = mix(look['top'], look['bottom'], t)
    alpha = look['alpha_top'] + (look['alpha_bottom'] - look['alpha_top']) * t
    grain = frost * look['frost']
    colour = tuple(min(255.0, max(0.0, c + grain)) for c in colour)

    # The sheen: an ellipse over the upper part, brightest at its top, fading downwards.
    ex = (x - w / 2) / (w * 0.62)
    ey = (y + h * 0.18) / (h * 0.62)
    reach = ex * ex + ey * ey
    if reach < 1.0 and t < 0.5:
        strength = look['sheen'] * (1.0 - t / 0.5) ** 1.5
        strength *= min(1.0, (1.0 - reach) / 0.03)  # a soft lower boundary
        colour, alpha = over(colour, alpha, look['sheen_colour'], strength)

    # A diagonal streak of light from the upper left.
    if look['streak']:
        along = (x / w) * 0.8 + t
        band = math.exp(-((along - 0.42) / 0.07) ** 2) + 0.6 * math.exp(-((along - 0.6) / 0.025) ** 2)
        colour, alpha = over(colour, alpha, (255, 255, 255), look['streak'] * min(1.0, band))

    # The rim: a bright line just inside the outer edge, then the dark edge itself.
    depth = -distance
    if depth < 1.0:
        colour, alpha = over(colour, alpha, look['edge'][0], look['edge'][1])
    elif depth < 2.2:
        rim, rim_alpha = look['rim']
        fade = 0.55 + 0.45 * (1.0 - t)  # the rim catches more light at the top
        colour, alpha = over(colour, alpha, rim, rim_alpha * fade)
    return colour, alpha


def render(look, seed):
    w, h = SIZE
    frost = frost_field(w, h, seed)
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            centre = rounded_distance(x + 0.5, y + 0.5, w, h, RADIUS)
            if centre < -1.5:
                samples = [(x + 0.5, y + 0.5)]
            else:  # near the outline: supersample the coverage
                samples = [(x + (sx + 0.5) / SUPER, y + (sy + 0.5) / SUPER)
                           for sy in range(SUPER) for sx in range(SUPER)]
            acc = [0.0, 0.0, 0.0]
            acc_alpha = 0.0
            for px, py in samples:
                distance = rounded_distance(px, py, w, h, RADIUS)
                if distance > 0:
                    continue
                colour, alpha = shade(look, frost[y][x], px, py, w, h, distance)
                for i in range(3):
                    acc[i] += colour[i] * alpha
                acc_alpha += alpha
            n = len(samples)
            alpha = acc_alpha / n
            if acc_alpha > 0:
                colour = tuple(c / acc_alpha for c in acc)
            else:
                colour = (0, 0, 0)
            a = int(round(alpha * 255))
            row.append(tuple(int(round(c)) for c in colour) + (a,) if a else (0, 0, 0, 0))
        rows.append(row)
    return rows


def write_png(path, rows):
    h = len(rows)
    w = len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter: none
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = os.path.join(root, 'resources', 'skin')
    os.makedirs(out, exist_ok=True)
    for seed, (name, look) in enumerate(sorted(SKINS.items())):
        write_png(os.path.join(out, name + '.png'), render(look, seed + 1))


if __name__ == '__main__':
    main()
