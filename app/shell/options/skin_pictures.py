"""Picture of the options window, drawn by res/tools/make_skin.py.

411: the window's skin. Its top strip (27 pixels) drags the window; the magenta outside its rounded corners, in the
10 leftmost and 11 rightmost columns, is cut out of the window's shape.
"""
import math


def pictures(skin):
    Canvas, WHITE, ACCENT, MAGENTA, NAVY = skin.Canvas, skin.WHITE, skin.ACCENT, skin.MAGENTA, skin.NAVY

    def options_skin(w, h):
        c = Canvas(w, h, WHITE)
        c.vgradient(0, 0, w, 28, (66, 120, 196), (30, 70, 130))           # title strip
        c.ring(20, 14, 7, 3, WHITE)                                          # gear mark
        for k in range(6):
            a = k * math.pi / 3
            c.disc(20 + 8 * math.cos(a), 14 + 8 * math.sin(a), 2, WHITE)
        c.vgradient(0, 28, w, h, (246, 250, 255), (226, 237, 250))         # body
        c.fill(0, 71, w, 72, (170, 196, 228))                                # line under the tabs
        c.frame(0, 0, w, h, NAVY)
        c.round_corners(8, MAGENTA)
        return c

    return [(411, lambda: options_skin(540, 380))]
