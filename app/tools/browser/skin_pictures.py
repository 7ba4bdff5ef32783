"""Pictures of the browser page's groups, drawn by res/tools/make_skin.py: 32 x 32 on the page's white.

1550 home page, 1551 download folder, 1552 save folder, 1553 picture folder, 1554 typed addresses,
1555 temporary files, 1556 background sounds, 1557 pictures.
"""


def pictures(skin):
    Canvas, WHITE, ACCENT, NAVY = skin.Canvas, skin.WHITE, skin.ACCENT, skin.NAVY
    PALE = skin.mix(ACCENT, WHITE, 0.75)
    RED = (196, 52, 52)

    def folder(c):
        c.fill(3, 8, 14, 12, skin.mix(ACCENT, WHITE, 0.3))
        c.fill(3, 11, 29, 27, ACCENT)
        c.fill(5, 14, 27, 25, PALE)
        return c

    def home():
        c = Canvas(32, 32, WHITE)
        c.line(4, 16, 16, 4, 3, ACCENT)
        c.line(16, 4, 28, 16, 3, ACCENT)
        c.fill(8, 15, 25, 28, ACCENT)
        c.fill(14, 20, 19, 28, WHITE)
        return c

    def download():
        c = folder(Canvas(32, 32, WHITE))
        c.fill(14, 2, 18, 16, NAVY)
        c.line(10, 11, 16, 18, 2, NAVY)
        c.line(22, 11, 16, 18, 2, NAVY)
        return c

    def save():
        c = Canvas(32, 32, WHITE)
        c.fill(4, 4, 28, 28, ACCENT)
        c.fill(9, 4, 23, 13, WHITE)
        c.fill(18, 6, 21, 11, ACCENT)
        c.fill(8, 18, 24, 26, PALE)
        return c

    def picture():
        c = Canvas(32, 32, WHITE)
        c.fill(3, 5, 29, 27, ACCENT)
        c.fill(5, 7, 27, 25, (226, 240, 252))
        c.disc(21, 12, 3, (240, 190, 60))
        for x in range(5, 27):
            h = max(0, 9 - abs(x - 12)) if x < 20 else max(0, 6 - abs(x - 22))
            c.fill(x, 25 - h, x + 1, 25, (60, 150, 80))
        return c

    def addresses():
        c = Canvas(32, 32, WHITE)
        c.fill(3, 4, 25, 28, PALE)
        c.frame(3, 4, 25, 28, ACCENT)
        for y in (9, 14, 19, 24):
            c.fill(6, y, 22, y + 2, ACCENT)
        c.line(20, 20, 29, 29, 3, RED)
        c.line(29, 20, 20, 29, 3, RED)
        return c

    def temporary():
        c = Canvas(32, 32, WHITE)
        c.fill(6, 6, 26, 9, ACCENT)
        c.fill(13, 3, 19, 6, ACCENT)
        c.fill(8, 10, 24, 29, ACCENT)
        for x in (11, 15, 19):
            c.fill(x, 13, x + 2, 26, PALE)
        return c

    def sound():
        c = Canvas(32, 32, WHITE)
        c.fill(4, 12, 10, 20, ACCENT)
        for i in range(8):
            c.fill(10 + i, 12 - i, 11 + i, 20 + i, ACCENT)
        c.line(21, 10, 29, 22, 3, RED)
        c.line(29, 10, 21, 22, 3, RED)
        return c

    def no_picture():
        c = picture()
        c.line(3, 27, 29, 5, 3, RED)
        return c

    return [(1550, home), (1551, download), (1552, save), (1553, picture), (1554, addresses), (1555, temporary),
            (1556, sound), (1557, no_picture)]
