#!/usr/bin/env python3
"""Draws the About window's pictures: its face, the large picture its zoom reveals, and the
faces of its OK button.

The face is the window's client area, 7440 x 5955 twips (496 x 397 pixels). Its click areas
lie where the window's definition puts them: the tall card on the right starts the zoom, the
folder opens Velt's folder. The large picture is 15000 x 15360 twips (1000 x 1024 pixels), what
the zoom grows to; its two links lie at the places of the click areas inside it: a new message,
and Velt's README.
Writes resources/pictures/about_face.png, resources/pictures/about_large.png and
resources/buttons/about_ok_*.png.
Run: python3 tools/art/make_about.py
"""
import os

from canvas import Canvas, emblem, hex_colour, repository_root, twips, write_faces

INK = hex_colour('1f2a3c')
SOFT = hex_colour('56657f')
LINK = hex_colour('2458cc')
EDGE = hex_colour('8ea2c3')


def folder(c, x, y, w, h):
    """A folder, filling (x, y, w, h)."""
    back, front = hex_colour('d9a73a'), hex_colour('f3c75a')
    c.rounded_rect(x, y + h * 0.08, x + w * 0.45, y + h * 0.3, 2, back)
    c.rounded_rect(x, y + h * 0.2, x + w, y + h * 0.92, 3, back)
    c.rounded_rect(x + 1, y + h * 0.32, x + w - 1, y + h * 0.92 - 1, 2.5, front)


def envelope(c, x, y, w, h, colour):
    c.rounded_frame(x, y, x + w, y + h, 2, 1.6, colour)
    c.line(x + 2, y + 2.5, x + w / 2, y + h * 0.6, 1.6, colour)
    c.line(x + w - 2, y + 2.5, x + w / 2, y + h * 0.6, 1.6, colour)


def page(c, x, y, w, h, colour):
    """A sheet with lines of text."""
    c.rounded_frame(x, y, x + w, y + h, 2, 1.4, colour)
    for i in range(4):
        c.line(x + 4, y + 6 + i * 5, x + w - 4 - (6 if i == 3 else 0), y + 6 + i * 5, 1.2, colour)


def person(c, cx, top, scale, colour):
    """An anonymous head and shoulders, the usual mark for a person's page."""
    c.circle(cx, top + 22 * scale, 20 * scale, colour)
    c.rounded_rect(cx - 38 * scale, top + 48 * scale, cx + 38 * scale, top + 100 * scale,
                   30 * scale, colour)


def face_picture():
    w, h = twips(7440), twips(5955)
    c = Canvas(w, h)
    c.vertical_gradient(0, 0, w, h, hex_colour('f5f7fb'), hex_colour('dbe2ee'))
    emblem(c, 36, 36, 100, border=2.5)
    c.text(156, 40, 'Velt', 40, INK, bold=True)
    c.text(158, 92, 'Nine virtual desktops', 13, SOFT)
    c.text(158, 112, 'for Windows, version 1.0', 11, SOFT)
    c.line(36, 160.5, 318, 160.5, 1, hex_colour('c0cadb'))
    lines = ['Alt + 1 to Alt + 9 switch between the desktops',
             'Hold the overview hotkey to see all nine at once',
             'Rest the cursor on a screen edge to move next door',
             'Lock a desktop with a password from the overview']
    for i, line in enumerate(lines):
        c.circle(41, 178 + i * 20, 2.2, hex_colour('3468d6'))
        c.text(50, 170 + i * 20, line, 11, INK)
    c.text(36, 270, 'Created by Brenlow', 13, INK, bold=True)
    # Image4: 2880, 3960; 495 x 480 twips.
    fx, fy, fw, fh = twips(2880), twips(3960), twips(495), twips(480)
    folder(c, fx + 2, fy + 3, fw - 4, fh - 6)
    shown = c.text(fx + fw + 6, fy + 9, 'Velt folder', 11, LINK)
    c.line(fx + fw + 7, fy + 23.5, fx + fw + 5 + shown, fy + 23.5, 1, LINK)
    # Image1, the zoom area: 5020, 1060; 1815 x 3240 twips.
    zx, zy, zw, zh = twips(5020), twips(1060), twips(1815), twips(3240)
    c.rounded_rect(zx, zy, zx + zw, zy + zh, 8, EDGE)
    c.rounded_rect(zx + 1, zy + 1, zx + zw - 1, zy + zh - 1, 7,
                   lambda x, y: tuple(a + (b - a) * (y - zy) / zh for a, b in
                                      zip(hex_colour('ffffff'), hex_colour('e6ecf6'))))
    person(c, zx + zw / 2, zy + 24, 0.9, hex_colour('9fb2d2'))
    c.text(zx + zw / 2, zy + 140, 'Brenlow', 14, INK, bold=True, anchor='centre')
    c.text(zx + zw / 2, zy + 162, 'the author', 11, SOFT, anchor='centre')
    c.text(zx + zw / 2, zy + zh - 34, 'Click to read more', 10, LINK, anchor='centre')
    c.line(36, 322.5, w - 36, 322.5, 1, hex_colour('c0cadb'))
    return c


def large_picture():
    w, h = twips(15000), twips(15360)
    c = Canvas(w, h)
    c.vertical_gradient(0, 0, w, h, hex_colour('f7f9fc'), hex_colour('dfe6f1'))
    c.vertical_gradient(0, 0, w, 124, hex_colour('2d4c8c'), hex_colour('3f68b4'))
    person(c, 72, 16, 0.82, hex_colour('c9d7f0'))
    c.text(128, 22, 'Brenlow', 34, (255, 255, 255), bold=True)
    c.text(130, 72, 'made Velt: nine virtual desktops for Windows', 15, hex_colour('dbe6fa'))

    # Image3, the mail link: 2880, 2280; 1935 x 720 twips.
    mx, my, mw, mh = twips(2880), twips(2280), twips(1935), twips(720)
    c.text(40, my + 8, 'Questions, ideas,', 13, INK, bold=True)
    c.text(40, my + 26, 'a thank-you?', 13, INK, bold=True)
    c.rounded_rect(mx, my, mx + mw, my + mh, 8, hex_colour('567ac0'))
    c.rounded_rect(mx + 1, my + 1, mx + mw - 1, my + mh - 1, 7,
                   lambda x, y: tuple(a + (b - a) * (y - my) / mh for a, b in
                                      zip(hex_colour('eef4fe'), hex_colour('c4d6f5'))))
    envelope(c, mx + 12, my + 16, 22, 16, LINK)
    c.text(mx + 42 + (mw - 42 - 8) / 2, my + 16, 'New message', 12, INK, anchor='centre')

    # Image2, the page link: 2640, 3720; 2415 x 480 twips.
    px, py, pw, ph = twips(2640), twips(3720), twips(2415), twips(480)
    c.text(40, py + 7, 'How Velt works:', 13, INK, bold=True)
    page(c, px + 6, py + 5, 17, 22, LINK)
    shown = c.text(px + 32, py + 7, 'Read the README', 13, LINK)
    c.line(px + 33, py + 24.5, px + 31 + shown, py + 24.5, 1, LINK)

    # The nine desktops.
    gx, gy, tw, th, gap = 420, 160, 160, 100, 16
    for row in range(3):
        for col in range(3):
            x0, y0 = gx + col * (tw + gap), gy + row * (th + gap)
            lit = (row, col) == (1, 1)
            c.rounded_rect(x0, y0, x0 + tw, y0 + th, 8, hex_colour('0d175e' if lit else '8ea2c3'))
            c.rounded_rect(x0 + 2, y0 + 2, x0 + tw - 2, y0 + th - 2, 6,
                           hex_colour('cfdcf5' if lit else 'eef2f8'))
            # A window or two on each desktop.
            for k in range((row * 3 + col) % 3 + 1):
                wx, wy = x0 + 14 + k * 26, y0 + 14 + k * 14
                c.rounded_rect(wx, wy, wx + 70, wy + 46, 3, hex_colour('8ea2c3'))
                c.rounded_rect(wx + 1, wy + 1, wx + 69, wy + 45, 2, (255, 255, 255))
                c.rounded_rect(wx + 1, wy + 1, wx + 69, wy + 9, 2,
                               hex_colour('3f68b4' if lit else 'b9c9e1'))
            c.text(x0 + tw - 10, y0 + th - 24, str(row * 3 + col + 1), 14,
                   hex_colour('0d175e' if lit else '8a97ad'), bold=True, anchor='right')
    c.text(gx + (3 * tw + 2 * gap) / 2, gy + 3 * th + 2 * gap + 12,
           'Nine desktops in a 3 x 3 grid; new windows open on the current one.', 12, SOFT,
           anchor='centre')

    c.line(40, 536.5, w - 40, 536.5, 1, hex_colour('c0cadb'))
    sections = [
        ('Switching', ['Alt + 1 to Alt + 9 go straight to a desktop,',
                       'and the tray icon\'s menu lists all nine under',
                       '"Switch to". With "Corner Sensitive" on, rest',
                       'the cursor on a screen edge for a second to',
                       'move next door; a window held by its title',
                       'bar comes along.']),
        ('The overview', ['Hold the overview hotkey to see the nine',
                          'desktops at once, and click one to go there.',
                          'A right click locks a desktop with a password,',
                          'asked before it is entered again. Passwords',
                          'are kept only while Velt runs.']),
        ('Settings', ['"Configure" in the tray menu picks the',
                      'overview\'s skin, the hotkey, edge switching',
                      'and whether Velt starts with Windows. They',
                      'are kept in Config.ini beside Velt.exe.']),
    ]
    x = 40
    for title, body in sections:
        c.text(x, 556, title, 16, INK, bold=True)
        for i, line in enumerate(body):
            c.text(x, 584 + i * 19, line, 11, INK)
        x += 310
    c.line(40, 714.5, w - 40, 714.5, 1, hex_colour('c0cadb'))
    emblem(c, 40, 726, 28)
    c.text(80, 726, 'Velt 1.0', 13, INK, bold=True)
    c.text(80, 743, 'Created by Brenlow', 10, SOFT)
    return c


def main():
    root = repository_root()
    face = face_picture()
    face.save_png(os.path.join(root, 'resources', 'pictures', 'about_face.png'))
    large_picture().save_png(os.path.join(root, 'resources', 'pictures', 'about_large.png'))
    # Btn2: 3000, 5040; 1635 x 315 twips.
    write_faces(face, twips(3000), twips(5040), twips(1635), twips(315), 'accent',
                os.path.join(root, 'resources', 'buttons'), 'about_ok')


if __name__ == '__main__':
    main()
