"""Pictures of the repair home page, drawn by res/tools/make_skin.py: seven 64 x 50 buttons, each in three states
(normal, hover, pressed) with ids 14001-14021 in the order of the page's buttons. White is transparent."""


def pictures(skin):
    Canvas, WHITE, ACCENT = skin.Canvas, skin.WHITE, skin.ACCENT
    DARK = (30, 70, 140)

    def tile(state):
        c = Canvas(64, 50, WHITE)
        top, bottom = {0: ((250, 252, 255), (222, 234, 250)), 1: ((255, 255, 255), (200, 222, 250)),
                       2: ((206, 224, 248), (176, 204, 242))}[state]
        c.vgradient(2, 1, 62, 49, top, bottom)
        c.frame(2, 1, 62, 49, (150, 180, 220))
        c.round_corners(6, WHITE, 2, 1, 62, 49)
        return c

    def wizard(c, col):       # a wand with sparks
        c.line(18, 38, 40, 16, 4, col)
        for x, y in ((44, 10), (48, 20), (36, 8)):
            c.disc(x, y, 2.5, (230, 170, 30))

    def activex(c, col):      # a gear
        c.ring(32, 25, 13, 5, col)
        for dx, dy in ((0, -15), (0, 15), (-15, 0), (15, 0), (11, 11), (-11, -11), (11, -11), (-11, 11)):
            c.disc(32 + dx, 25 + dy, 3, col)

    def error_util(c, col):   # a wrench
        c.line(20, 38, 38, 20, 5, col)
        c.ring(41, 16, 8, 4, col)
        c.fill(41, 6, 52, 14, (250, 252, 255))

    def file_assoc(c, col):   # a document with a link
        c.fill(20, 8, 40, 42, WHITE)
        c.frame(20, 8, 40, 42, col)
        for y in (16, 22, 28):
            c.fill(24, y, 36, y + 2, col)
        c.ring(44, 34, 6, 2, ACCENT)

    def winsock(c, col):      # a globe
        c.ring(32, 25, 15, 3, col)
        c.fill(17, 24, 47, 27, col)
        c.fill(31, 10, 34, 40, col)

    def printer(c, col):      # a printer
        c.fill(16, 18, 48, 34, col)
        c.fill(22, 8, 42, 18, WHITE)
        c.frame(22, 8, 42, 18, col)
        c.fill(22, 30, 42, 42, WHITE)
        c.frame(22, 30, 42, 42, col)

    def dll_download(c, col): # an arrow into a tray
        c.fill(29, 8, 35, 28, col)
        for i in range(9):
            c.fill(23 + i, 26 + i, 41 - i, 27 + i, col)
        c.fill(16, 38, 48, 42, col)

    glyphs = [wizard, activex, error_util, file_assoc, winsock, printer, dll_download]
    items = []
    for n, draw in enumerate(glyphs):
        for state in range(3):
            def make(draw=draw, state=state):
                c = tile(state)
                draw(c, DARK if state == 2 else ACCENT)
                return c
            items.append((14001 + 3 * n + state, make))
    return items
