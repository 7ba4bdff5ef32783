"""Pictures of the pages that drive Yarrowby, drawn by res/tools/make_skin.py.

385: the ActiveX blocker's page picture (a shield over a puzzle piece), 386: the shredder's (a sheet going
into a shredder), both 64 x 64 on white, their transparent colour. Icon 410: the default icon of a program in
the uninstaller's list (a window), 16 and 32 pixels.
"""


def pictures(skin):
    Canvas, WHITE, ACCENT, NAVY, mix = skin.Canvas, skin.WHITE, skin.ACCENT, skin.NAVY, skin.mix
    RED = (200, 50, 40)

    def activex():
        c = Canvas(64, 64, WHITE)
        # a puzzle piece
        c.fill(14, 22, 42, 50, mix(ACCENT, WHITE, 0.35))
        c.disc(28, 20, 5, mix(ACCENT, WHITE, 0.35))
        c.disc(44, 36, 5, mix(ACCENT, WHITE, 0.35))
        # a shield with a bar across
        for y in range(18, 56):
            half = 16 if y < 40 else max(0, 16 - (y - 40))
            c.fill(40 - half // 2 - 4, y, 40 + half // 2 + 4, y + 1, RED if y < 24 else mix(RED, WHITE, 0.15))
        c.fill(30, 34, 50, 40, WHITE)
        return c

    def shredder():
        c = Canvas(64, 64, WHITE)
        c.fill(18, 6, 46, 30, (250, 250, 250))  # the sheet going in
        c.frame(18, 6, 46, 30, (150, 160, 175))
        for y in (12, 17, 22):
            c.fill(22, y, 42, y + 2, (170, 180, 195))
        c.fill(8, 28, 56, 42, NAVY)  # the machine
        c.fill(12, 32, 52, 34, mix(NAVY, WHITE, 0.5))
        for x in range(14, 52, 5):  # the strips coming out
            c.fill(x, 42, x + 3, 58 - (x % 3) * 2, mix(ACCENT, WHITE, 0.3))
        return c

    return [(385, activex), (386, shredder)]


def icons(skin):
    Canvas, ACCENT, WHITE, mix = skin.Canvas, skin.ACCENT, skin.WHITE, skin.mix

    def window(size):
        c = Canvas(size, size, (0, 0, 0))  # black is transparent in an icon
        edge = max(1, size // 16)
        c.fill(edge, edge * 2, size - edge, size - edge, (240, 244, 250))
        c.frame(edge, edge * 2, size - edge, size - edge, mix(ACCENT, (10, 10, 10), 0.3))
        c.fill(edge, edge * 2, size - edge, edge * 2 + max(3, size // 5), ACCENT)
        c.fill(size - edge - max(2, size // 6), edge * 3, size - edge * 2, edge * 3 + max(1, size // 10), WHITE)
        return c

    return [(410, lambda: skin.ico([window(32), window(16)]))]
