"""A small drawing surface for Velt's art scripts.

Shapes are antialiased analytically: each pixel takes the part of a shape that covers it from
the shape's signed distance at the pixel's centre. Text comes from ImageMagick (`convert`) as a
grey coverage mask in the Liberation fonts, which have Arial's metrics. Pictures are written as
8-bit RGB PNG files.
"""
import math
import os
import struct
import subprocess
import zlib
from array import array

FONTS = {
    False: '/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf',
    True: '/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf',
}


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def hex_colour(text):
    text = text.lstrip('#')
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def rounded_box_distance(px, py, x0, y0, x1, y1, r):
    """Signed distance from (px, py) to a rounded rectangle: negative inside."""
    cx = (x0 + x1) / 2
    cy = (y0 + y1) / 2
    hx = (x1 - x0) / 2 - r
    hy = (y1 - y0) / 2 - r
    qx = abs(px - cx) - hx
    qy = abs(py - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return outside + inside - r


def coverage(distance):
    return min(max(0.5 - distance, 0.0), 1.0)


class Canvas:
    def __init__(self, width, height, colour=(255, 255, 255)):
        self.width = width
        self.height = height
        self.pixels = array('f', [0.0]) * (width * height * 3)
        self.fill(colour)

    def fill(self, colour):
        for i in range(self.width * self.height):
            self.pixels[3 * i:3 * i + 3] = array('f', colour)

    def get(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or x < 0 or y < 0 or x >= self.width or y >= self.height:
            return
        i = 3 * (y * self.width + x)
        p = self.pixels
        for c in range(3):
            p[i + c] += (colour[c] - p[i + c]) * alpha

    def vertical_gradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(max(y0, 0), min(y1, self.height)):
            t = (y - y0) / max(y1 - y0 - 1, 1)
            colour = mix(top, bottom, t)
            for x in range(max(x0, 0), min(x1, self.width)):
                self.blend(x, y, colour, 1.0)

    def shape(self, bounds, distance, paint, alpha=1.0):
        """Covers the pixels of a shape given by its signed distance function.

        paint is a colour or a function of (x, y) giving one."""
        x0, y0, x1, y1 = bounds
        for y in range(max(int(math.floor(y0)) - 1, 0), min(int(math.ceil(y1)) + 1, self.height)):
            for x in range(max(int(math.floor(x0)) - 1, 0),
                           min(int(math.ceil(x1)) + 1, self.width)):
                cover = coverage(distance(x + 0.5, y + 0.5))
                if cover > 0:
                    colour = paint(x, y) if callable(paint) else paint
                    self.blend(x, y, colour, cover * alpha)

    def rounded_rect(self, x0, y0, x1, y1, r, paint, alpha=1.0):
        self.shape((x0, y0, x1, y1),
                   lambda px, py: rounded_box_distance(px, py, x0, y0, x1, y1, r), paint, alpha)

    def rounded_frame(self, x0, y0, x1, y1, r, width, colour, alpha=1.0):
        def ring(px, py):
            d = rounded_box_distance(px, py, x0, y0, x1, y1, r)
            return max(d, -d - width)
        self.shape((x0, y0, x1, y1), ring, colour, alpha)

    def circle(self, cx, cy, r, paint, alpha=1.0):
        self.shape((cx - r, cy - r, cx + r, cy + r),
                   lambda px, py: math.hypot(px - cx, py - cy) - r, paint, alpha)

    def line(self, xa, ya, xb, yb, width, colour, alpha=1.0):
        dx, dy = xb - xa, yb - ya
        length2 = dx * dx + dy * dy or 1.0

        def capsule(px, py):
            t = min(max(((px - xa) * dx + (py - ya) * dy) / length2, 0.0), 1.0)
            return math.hypot(px - xa - t * dx, py - ya - t * dy) - width / 2
        pad = width
        self.shape((min(xa, xb) - pad, min(ya, yb) - pad, max(xa, xb) + pad, max(ya, yb) + pad),
                   capsule, colour, alpha)

    def text(self, x, y, text, size, colour, bold=False, anchor='left'):
        """Draws text with its top-left corner (or top centre, or top right) at (x, y); returns
        its width in pixels."""
        mask, w, h = text_mask(text, size, bold)
        if anchor == 'centre':
            x -= w / 2
        elif anchor == 'right':
            x -= w
        x = int(round(x))
        for j in range(h):
            for i in range(w):
                a = mask[j * w + i]
                if a:
                    self.blend(x + i, y + j, colour, a / 255)
        return w

    def paste(self, other, x, y):
        for j in range(other.height):
            for i in range(other.width):
                self.blend(x + i, y + j, other.get(i, j), 1.0)

    def crop(self, x, y, width, height):
        out = Canvas(width, height)
        for j in range(height):
            for i in range(width):
                out.blend(i, j, self.get(min(max(x + i, 0), self.width - 1),
                                         min(max(y + j, 0), self.height - 1)), 1.0)
        return out

    def save_png(self, path):
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)
            i = 3 * y * self.width
            rows += bytes(min(max(int(round(v)), 0), 255) for v in self.pixels[i:i + 3 * self.width])

        def chunk(kind, data):
            body = kind + data
            return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))
        header = struct.pack('>IIBBBBB', self.width, self.height, 8, 2, 0, 0, 0)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
                    chunk(b'IDAT', zlib.compress(bytes(rows), 9)) + chunk(b'IEND', b''))


_masks = {}


def text_mask(text, size, bold=False):
    """The text's coverage, one byte a pixel, trimmed to the ink's width; and width, height."""
    key = (text, size, bold)
    if key in _masks:
        return _masks[key]
    width = int(len(text) * size * 0.75) + 8
    height = int(size * 1.6) + 4
    raw = subprocess.run(
        ['convert', '-size', '%dx%d' % (width, height), 'xc:black', '-font', FONTS[bold],
         '-pointsize', str(size), '-fill', 'white', '-gravity', 'NorthWest', '-annotate', '+1+0',
         text, '-depth', '8', 'gray:-'], check=True, capture_output=True).stdout
    last = 0
    for j in range(height):
        for i in range(width - 1, last - 1, -1):
            if raw[j * width + i]:
                last = max(last, i + 1)
                break
    trimmed = bytes(raw[j * width + i] for j in range(height) for i in range(last))
    _masks[key] = (trimmed, last, height)
    return _masks[key]


# Faces of the image buttons: rounded, with a vertical gradient, a one-pixel border and a soft
# sheen along the top; drawn over what lies beneath the button, so that the corners blend in.
FACE_STYLES = {
    'accent': {
        'up': ('#e7effc', '#c4d6f5', '#567ac0', 0.55),
        'over': ('#f8fbff', '#9ec0fa', '#2458cc', 0.8),
        'down': ('#aac2ec', '#c7d7f4', '#2850a0', 0.0),
    },
    'plain': {
        'up': ('#fafbfd', '#dee3eb', '#969eae', 0.6),
        'over': ('#ffffff', '#c4d3ec', '#566e98', 0.85),
        'down': ('#c9d0dc', '#e2e6ee', '#606a7c', 0.0),
    },
}


def face(beneath, style, state, radius=4.0):
    """A face drawn over beneath (a Canvas the button's size)."""
    top, bottom, border, highlight = FACE_STYLES[style][state]
    top, bottom, border = hex_colour(top), hex_colour(bottom), hex_colour(border)
    out = beneath.crop(0, 0, beneath.width, beneath.height)
    w, h = out.width, out.height

    def fill(x, y):
        t = (y + 0.5 - 1) / (h - 2)
        colour = mix(top, bottom, min(max(t, 0.0), 1.0))
        if highlight and t < 0.5:
            colour = mix(colour, (255, 255, 255), highlight * (0.5 - t) * 0.6)
        return colour
    out.rounded_rect(0, 0, w, h, radius, border)
    out.rounded_rect(1, 1, w - 1, h - 1, radius - 1, fill)
    return out


def write_faces(canvas, x, y, width, height, style, directory, stem):
    """The three faces of a button at (x, y) on canvas, as stem_up.png, stem_over.png and
    stem_down.png."""
    beneath = canvas.crop(x, y, width, height)
    for state in ('up', 'over', 'down'):
        face(beneath, style, state).save_png(os.path.join(directory, '%s_%s.png' % (stem, state)))


def repository_root():
    return os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def twips(value):
    """Twips to pixels, halves to even, as the program converts them."""
    return int(round(value / 15))


def emblem(canvas, x, y, size, lit=(52, 104, 214), tile=(206, 217, 236), edge=(13, 23, 94),
           border=None):
    """Velt's mark, as on the program's icon: nine rounded tiles, the centre one lit."""
    gap = size * 0.07
    margin = size * 0.04
    side = (size - 2 * margin - 2 * gap) / 3
    radius = side * 0.22
    border = border or max(size * 0.045, 1.0)
    for row in range(3):
        for col in range(3):
            x0 = x + margin + col * (side + gap)
            y0 = y + margin + row * (side + gap)
            canvas.rounded_rect(x0, y0, x0 + side, y0 + side, radius, edge)
            canvas.rounded_rect(x0 + border, y0 + border, x0 + side - border, y0 + side - border,
                                max(radius - border, 0.5), lit if (row, col) == (1, 1) else tile)
