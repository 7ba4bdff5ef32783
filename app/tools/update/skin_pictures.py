"""Pictures of the operating-system update page, drawn by res/tools/make_skin.py.

437 the page's picture (a globe with an arrow), 438 the list's row icon (16 x 16, magenta is transparent).
"""


def pictures(skin):
    Canvas, WHITE, ACCENT = skin.Canvas, skin.WHITE, skin.ACCENT
    MAGENTA = (255, 0, 255)

    def globe():
        c = Canvas(64, 64, WHITE)
        c.disc(32, 32, 28, ACCENT)
        c.ring(32, 32, 28, 2, skin.mix(ACCENT, (0, 0, 0), 0.3))
        for dx in (-14, 0, 14):
            c.fill(31 + dx, 6, 33 + dx, 58, skin.mix(ACCENT, WHITE, 0.4))
        c.fill(6, 31, 58, 33, skin.mix(ACCENT, WHITE, 0.4))
        c.fill(40, 36, 48, 54, (40, 170, 70))
        for i in range(8):
            c.fill(36 + i, 52 - i, 52 - i, 53 - i, (40, 170, 70))
        return c

    def row_icon():
        c = Canvas(16, 16, MAGENTA)
        c.disc(8, 8, 6, ACCENT)
        c.fill(7, 3, 9, 10, WHITE)
        for i in range(3):
            c.fill(5 + i, 9 + i, 11 - i, 10 + i, WHITE)
        return c

    return [(437, globe), (438, row_icon)]
