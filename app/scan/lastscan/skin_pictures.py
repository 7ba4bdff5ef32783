"""Pictures of the category list and the busy animation that the home page and the one-click scan step show,
drawn by res/tools/make_skin.py.

389-404 busy animation, 467-471 category icons, 472-476 status levels (green to red) on the row colour.
"""
import math


def pictures(skin):
    Canvas, WHITE, ACCENT = skin.Canvas, skin.WHITE, skin.ACCENT
    ROW = (243, 248, 255)  # the list's row colour; the hover copies recolour exactly this

    def busy(frame):
        c = Canvas(64, 64, WHITE)
        for k in range(12):
            a = 2 * math.pi * (k / 12.0) + frame * 2 * math.pi / 16
            fade = ((k + 12) % 12) / 12.0
            c.disc(32 + 22 * math.cos(a), 32 + 22 * math.sin(a), 2 + 3 * fade, skin.mix(WHITE, ACCENT, fade))
        return c

    def icon(kind):
        c = Canvas(28, 28, ROW)
        colours = [(52, 107, 185), (150, 80, 170), (200, 120, 40), (40, 150, 70), (190, 60, 60)]
        colour = colours[kind]
        c.disc(14, 14, 12, colour)
        c.disc(14, 14, 6, ROW)
        c.fill(12, 2, 16, 26, colour) if kind % 2 else c.fill(2, 12, 26, 16, colour)
        return c

    def level(n):
        c = Canvas(30, 30, ROW)
        colours = [(40, 170, 70), (140, 190, 40), (230, 190, 30), (235, 120, 30), (210, 40, 40)]
        c.disc(15, 15, 12, colours[n])
        for i in range(n + 1):
            c.fill(8 + 3 * i, 20 - 3 * i, 10 + 3 * i, 22, WHITE)
        return c

    items = [(389 + f, lambda f=f: busy(f)) for f in range(16)]
    items += [(467 + k, lambda k=k: icon(k)) for k in range(5)]
    items += [(472 + n, lambda n=n: level(n)) for n in range(5)]
    return items
