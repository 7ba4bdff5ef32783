"""Pictures of the tools home page, drawn by res/tools/make_skin.py.

The eight 64 x 64 page buttons in three states each (normal, hover, pressed as the page attaches them); white is
their transparent colour.
"""


def pictures(skin):
    Canvas, WHITE, ACCENT, NAVY, mix = skin.Canvas, skin.WHITE, skin.ACCENT, skin.NAVY, skin.mix
    RED = (200, 50, 40)
    GREEN = (40, 160, 70)

    def tile(state, kind):
        c = Canvas(64, 64, WHITE)
        top, bottom = {0: ((236, 244, 253), (200, 222, 247)), 1: ((246, 250, 255), (178, 210, 246)),
                       2: ((190, 214, 242), (226, 238, 252))}[state]
        c.vgradient(2, 2, 62, 62, top, bottom)
        c.frame(2, 2, 62, 62, (150, 180, 220))
        c.round_corners(8, WHITE, 2, 2, 62, 62)
        ink = NAVY if state else ACCENT
        light = mix(ink, WHITE, 0.55)
        if kind == "activex":       # a puzzle piece with a bar across
            c.fill(16, 22, 42, 48, light)
            c.disc(29, 20, 5, light)
            c.disc(44, 35, 5, light)
            c.ring(34, 34, 16, 3, RED)
            c.line(23, 45, 45, 23, 3, RED)
        elif kind == "uninstall":   # a box with an arrow leaving it
            c.fill(14, 30, 44, 52, light)
            c.frame(14, 30, 44, 52, ink)
            c.fill(38, 14, 42, 34, RED)
            for i in range(6):
                c.fill(34 + i, 14 - i + 6, 46 - i, 15 - i + 6, RED)
        elif kind == "splitter":    # a sheet cut in two
            c.fill(14, 14, 30, 50, WHITE)
            c.frame(14, 14, 30, 50, ink)
            c.fill(34, 14, 50, 50, WHITE)
            c.frame(34, 14, 50, 50, ink)
            for y in (20, 26, 32, 38, 44):
                c.fill(17, y, 27, y + 2, light)
                c.fill(37, y, 47, y + 2, light)
        elif kind == "shredder":    # a sheet going into a shredder
            c.fill(20, 10, 44, 30, WHITE)
            c.frame(20, 10, 44, 30, ink)
            c.fill(12, 30, 52, 40, ink)
            for x in range(18, 48, 5):
                c.fill(x, 40, x + 2, 54, light)
        elif kind == "browser":     # a globe
            c.disc(32, 32, 20, ink)
            c.ring(32, 32, 20, 2, mix(ink, (0, 0, 0), 0.3))
            c.fill(31, 12, 33, 52, light)
            c.fill(12, 31, 52, 33, light)
            c.ring(32, 32, 10, 2, light)
        elif kind == "disk":        # a drive with a cluster strip
            c.fill(10, 20, 54, 44, ink)
            c.fill(13, 23, 51, 41, mix(ink, WHITE, 0.8))
            for i, colour in enumerate((RED, light, GREEN, RED, light, GREEN, light)):
                c.fill(15 + 5 * i, 26, 19 + 5 * i, 38, colour)
            c.disc(48, 38, 2, GREEN)
        elif kind == "update":      # a circle of arrows
            c.ring(32, 32, 17, 5, ink)
            c.fill(28, 12, 40, 22, mix(top, bottom, 0.3))
            for i in range(7):
                c.fill(34 + i, 11 + i, 35 + i, 25 - i, GREEN)
        else:                       # extension: a sheet with ".?" and a magnifier
            c.fill(14, 10, 40, 48, WHITE)
            c.frame(14, 10, 40, 48, ink)
            c.fill(18, 40, 22, 44, ink)
            c.fill(25, 18, 33, 21, light)
            c.fill(25, 26, 33, 29, light)
            c.ring(42, 40, 9, 3, NAVY)
            c.line(48, 46, 55, 53, 4, NAVY)
        return c

    items = []
    for ids, kind in (((311, 310, 309), "activex"), ((320, 319, 318), "uninstall"), ((317, 316, 315), "splitter"),
                      ((314, 313, 312), "shredder"), ((412, 413, 414), "browser"), ((441, 440, 439), "disk"),
                      ((444, 443, 442), "update"), ((459, 458, 457), "extension")):
        for resource, state in zip(ids, (0, 1, 2)):
            items.append((resource, lambda s=state, k=kind: tile(s, k)))
    return items
