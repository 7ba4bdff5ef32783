"""Pictures of the optimisation home page, drawn by res/tools/make_skin.py.

261-278: the six 64 x 64 page buttons in three states each (pressed, hover, normal in ascending ids); white is
their transparent colour.
"""


def pictures(skin):
    Canvas, WHITE, ACCENT, NAVY, mix = skin.Canvas, skin.WHITE, skin.ACCENT, skin.NAVY, skin.mix

    def tile(state, kind):
        c = Canvas(64, 64, WHITE)
        top, bottom = {0: ((236, 244, 253), (200, 222, 247)), 1: ((246, 250, 255), (178, 210, 246)),
                       2: ((190, 214, 242), (226, 238, 252))}[state]
        c.vgradient(2, 2, 62, 62, top, bottom)
        c.frame(2, 2, 62, 62, (150, 180, 220))
        c.round_corners(8, WHITE, 2, 2, 62, 62)
        ink = NAVY if state else ACCENT
        light = mix(ink, WHITE, 0.55)
        if kind == "menu":          # a start menu: a column of entries
            c.fill(16, 14, 48, 50, WHITE)
            c.frame(16, 14, 48, 50, ink)
            for i in range(4):
                c.fill(20, 19 + 8 * i, 24, 23 + 8 * i, ink)
                c.fill(27, 20 + 8 * i, 44, 22 + 8 * i, light)
        elif kind == "desktop":     # a monitor on its stand
            c.fill(12, 14, 52, 42, ink)
            c.fill(15, 17, 49, 39, mix(WHITE, ACCENT, 0.25))
            c.fill(29, 42, 35, 48, ink)
            c.fill(22, 48, 42, 51, ink)
        elif kind == "network":     # three linked nodes
            for a, b in (((32, 18), (18, 44)), ((32, 18), (46, 44)), ((18, 44), (46, 44))):
                c.line(a[0], a[1], b[0], b[1], 2, light)
            for x, y in ((32, 18), (18, 44), (46, 44)):
                c.disc(x, y, 6, ink)
        elif kind == "service":     # a gear
            import math
            c.ring(32, 32, 13, 6, ink)
            for k in range(8):
                ang = k * math.pi / 4
                c.disc(32 + 15 * math.cos(ang), 32 + 15 * math.sin(ang), 3.5, ink)
            c.disc(32, 32, 4, light)
        elif kind == "startup":     # a power symbol
            c.ring(32, 34, 15, 4, ink)
            c.fill(27, 14, 37, 26, mix(top, bottom, 0.3))
            c.fill(30, 12, 34, 34, ink)
        else:                       # other: sliders
            for i, x in enumerate((22, 32, 42)):
                c.fill(x - 1, 14, x + 1, 50, light)
                knob = (24, 38, 30)[i]
                c.fill(x - 5, knob - 3, x + 5, knob + 3, ink)
        return c

    items = []
    for first, kind in ((264, "menu"), (261, "desktop"), (267, "network"), (273, "service"), (276, "startup"),
                        (270, "other")):
        # ids ascend pressed, hover, normal
        for offset, state in ((0, 2), (1, 1), (2, 0)):
            items.append((first + offset, lambda s=state, k=kind: tile(s, k)))
    return items
