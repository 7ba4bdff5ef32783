"""Pictures of the backup pages, drawn by res/tools/make_skin.py.

1600-1611 the four buttons of the backup home page (normal, hover, pressed each), 1612-1615 the folder page's tabs
(normal, hover, pressed, selected), 407 the registry backup list's image, 408 the Favorites tree's images (a
favorite, then a folder; 16 x 16 each).
"""


def pictures(skin):
    Canvas, WHITE, ACCENT = skin.Canvas, skin.WHITE, skin.ACCENT
    DARK = (36, 76, 140)

    def tile(state):
        top, bottom = {0: ((250, 252, 255), (226, 238, 252)), 1: ((236, 245, 255), (200, 224, 250)),
                       2: ((206, 226, 250), (236, 245, 255))}[state]
        c = Canvas(96, 96, WHITE)
        c.vgradient(0, 0, 96, 96, top, bottom)
        c.frame(0, 0, 96, 96, (150, 184, 226) if state == 0 else ACCENT)
        c.round_corners(10, WHITE)
        return c

    def registry(state):
        c = tile(state)
        for i in range(3):  # stacked cubes of the hives
            x, y = 24 + i * 10, 60 - i * 16
            c.fill(x, y, x + 40, y + 14, skin.mix(ACCENT, WHITE, i * 0.25))
            c.frame(x, y, x + 40, y + 14, DARK)
        return c

    def restore(state):
        c = tile(state)
        c.ring(48, 48, 26, 6, ACCENT)
        c.line(48, 48, 48, 30, 5, DARK)
        c.line(48, 48, 62, 56, 5, DARK)
        c.fill(16, 20, 30, 34, ACCENT)  # the arrow head of the turning back
        return c

    def favorites(state):
        c = tile(state)
        import math
        points = []
        for k in range(10):
            r = 30 if k % 2 == 0 else 13
            a = -math.pi / 2 + k * math.pi / 5
            points.append((48 + r * math.cos(a), 50 + r * math.sin(a)))
        for y in range(16, 84):
            for x in range(14, 82):
                inside = False
                for i in range(10):
                    (x1, y1), (x2, y2) = points[i], points[(i + 1) % 10]
                    if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
                        inside = not inside
                if inside:
                    c.put(x, y, (236, 176, 40))
        return c

    def folder(state):
        c = tile(state)
        c.fill(18, 28, 44, 36, (214, 160, 50))
        c.fill(18, 34, 78, 72, (240, 192, 80))
        c.frame(18, 34, 78, 72, (170, 120, 30))
        c.fill(36, 46, 60, 62, ACCENT)  # the zip
        c.fill(46, 46, 50, 62, WHITE)
        return c

    def tab(state):
        colours = {0: ((240, 246, 253), (220, 233, 249)), 1: ((250, 252, 255), (228, 239, 252)),
                   2: ((200, 222, 248), (228, 239, 252)), 3: ((92, 144, 214), (52, 100, 172))}
        c = Canvas(120, 30, WHITE)
        c.vgradient(0, 0, 120, 30, *colours[state])
        c.frame(0, 0, 120, 30, DARK if state == 3 else (150, 184, 226))
        return c

    def small_images(kinds):
        c = Canvas(16 * len(kinds), 16, WHITE)
        for i, kind in enumerate(kinds):
            x = 16 * i
            if kind == "reg":
                c.fill(x + 2, x * 0 + 3, x + 14, 13, ACCENT)
                c.fill(x + 4, 5, x + 12, 7, WHITE)
                c.fill(x + 4, 9, x + 12, 11, WHITE)
            elif kind == "favorite":
                c.disc(x + 8, 8, 6, (52, 150, 220))
                c.fill(x + 7, 3, x + 9, 13, WHITE)
            else:
                c.fill(x + 1, 3, x + 7, 5, (214, 160, 50))
                c.fill(x + 1, 5, x + 15, 14, (240, 192, 80))
                c.frame(x + 1, 5, x + 15, 14, (170, 120, 30))
        return c

    items = []
    for base, draw in ((1600, registry), (1603, restore), (1606, favorites), (1609, folder)):
        items += [(base + s, lambda s=s, d=draw: d(s)) for s in range(3)]
    items += [(1612 + s, lambda s=s: tab(s)) for s in range(4)]
    items += [(407, lambda: small_images(["reg"])), (408, lambda: small_images(["favorite", "folder"]))]
    return items
