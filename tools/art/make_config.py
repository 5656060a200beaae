#!/usr/bin/env python3
"""Draws the configuration window's background and the faces of its buttons.

The background is the window's client area, 7755 x 5820 twips (517 x 388 pixels): a light
gradient, Velt's mark and name in the top right corner, and a card where the two pages lie; the
pages copy the part of the background beneath them, so the card shows through them. Each
button's faces are drawn over the background beneath that button, so their corners blend in.
Writes resources/pictures/config_back.png and resources/buttons/config_*.png.
Run: python3 tools/art/make_config.py
"""
import os

from canvas import Canvas, emblem, hex_colour, repository_root, twips, write_faces

WIDTH, HEIGHT = twips(7755), twips(5820)
PAGE = (twips(360), twips(1080), twips(6675), twips(4215))  # left, top, width, height

# name, left and top in twips on the window, width and height in twips, face style
BUTTONS = [
    ('config_btn0', 360, 360, 1365, 405, 'plain'),
    ('config_btn1', 1920, 360, 1365, 405, 'plain'),
    ('config_abtn2', 3480, 360, 1365, 405, 'plain'),
    ('config_ans0', 3000, 5160, 1365, 405, 'plain'),
    ('config_ans1', 4440, 5160, 1365, 405, 'accent'),
    ('config_ans2', 5880, 5160, 1365, 405, 'plain'),
    # The toggles sit on the Config page, which shows the background under the Appearance page.
    ('config_rus', 360 + 1560, 1080 + 2280, 1635, 315, 'plain'),
    ('config_cst', 360 + 3480, 1080 + 2280, 1635, 315, 'plain'),
]


def background():
    c = Canvas(WIDTH, HEIGHT)
    c.vertical_gradient(0, 0, WIDTH, HEIGHT, hex_colour('eef2f8'), hex_colour('d8dfeb'))
    # The header: the page buttons on the left, the mark and the name on the right.
    c.line(24, 62.5, WIDTH - 24, 62.5, 1, hex_colour('c0cadb'))
    emblem(c, WIDTH - 24 - 34, 16, 34)
    c.text(WIDTH - 24 - 34 - 10, 14, 'Velt', 20, hex_colour('1f2a3c'), bold=True, anchor='right')
    c.text(WIDTH - 24 - 34 - 10, 39, 'settings', 10, hex_colour('5b6a84'), anchor='right')
    # The card under the pages.
    left, top, width, height = PAGE
    c.rounded_rect(left, top, left + width, top + height, 8, hex_colour('8ea2c3'))
    c.rounded_rect(left + 1, top + 1, left + width - 1, top + height - 1, 7,
                   lambda x, y: tuple(
                       a + (b - a) * (y - top) / height
                       for a, b in zip(hex_colour('d9e3f1'), hex_colour('b9c9e1'))))
    # A soft sheen along the card's top edge.
    for i in range(6):
        c.line(left + 8, top + 2 + i + 0.5, left + width - 8, top + 2 + i + 0.5, 1,
               (255, 255, 255), alpha=0.22 * (1 - i / 6))
    return c


def main():
    root = repository_root()
    c = background()
    c.save_png(os.path.join(root, 'resources', 'pictures', 'config_back.png'))
    for name, left, top, width, height, style in BUTTONS:
        write_faces(c, twips(left), twips(top), twips(width), twips(height), style,
                    os.path.join(root, 'resources', 'buttons'), name)


if __name__ == '__main__':
    main()
