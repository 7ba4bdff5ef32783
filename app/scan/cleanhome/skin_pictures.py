"""Pictures of the scan-and-clean home page, drawn by res/tools/make_skin.py.

Four 64 x 64 picture buttons (normal, hover, pressed) on white, the buttons' transparent colour:
254-252 registry, 260-258 privacy traces, 257-255 junk files, 305-303 shortcuts.
"""
import math


def pictures(skin):
    Canvas, WHITE, ACCENT, NAVY = skin.Canvas, skin.WHITE, skin.ACCENT, skin.NAVY

    def tile(state):
        c = Canvas(64, 64, WHITE)
        top, bottom = {0: ((236, 244, 253), (198, 221, 246)), 1: ((248, 251, 255), (176, 208, 244)),
                       2: ((190, 214, 242), (226, 238, 252))}[state]
        c.vgradient(4, 4, 60, 60, top, bottom)
        c.frame(4, 4, 60, 60, (140, 172, 214))
        c.round_corners(8, WHITE, 4, 4, 60, 60)
        return c

    def registry(c, colour):
        for row in range(3):  # stacked cubes
            for col in range(3 - row):
                x, y = 14 + col * 12 + row * 6, 40 - row * 11
                c.fill(x, y, x + 10, y + 10, colour)
                c.frame(x, y, x + 10, y + 10, NAVY)

    def evidence(c, colour):
        c.ring(30, 30, 14, 4, colour)  # magnifier over a page
        c.line(40, 40, 50, 50, 5, colour)
        c.fill(24, 24, 36, 26, colour)
        c.fill(24, 30, 36, 32, colour)

    def junk(c, colour):
        c.fill(20, 22, 44, 50, colour)  # a bin with its lid
        c.fill(16, 16, 48, 20, colour)
        c.fill(28, 12, 36, 16, colour)
        for x in (25, 31, 37):
            c.fill(x, 26, x + 2, 46, WHITE)

    def shortcut(c, colour):
        c.fill(16, 16, 42, 48, WHITE)  # a document with a link arrow
        c.frame(16, 16, 42, 48, colour)
        c.line(30, 44, 46, 28, 4, colour)
        c.line(46, 28, 38, 28, 4, colour)
        c.line(46, 28, 46, 36, 4, colour)

    def button(state, draw):
        c = tile(state)
        draw(c, NAVY if state == 2 else ACCENT)
        return c

    items = []
    for ids, draw in (((254, 253, 252), registry), ((260, 259, 258), evidence), ((257, 256, 255), junk),
                      ((305, 304, 303), shortcut)):
        items += [(rid, lambda s=s, d=draw: button(s, d)) for s, rid in enumerate(ids)]
    return items
