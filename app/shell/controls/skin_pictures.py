"""Pictures of the shell's skinned controls and of the scan pages, drawn by res/tools/make_skin.py.

pictures(skin) gets the make_skin module (Canvas, colours, helpers) and returns [(resource id, make)].
"""
import math


def pictures(skin):
    Canvas, WHITE, ACCENT, MAGENTA = skin.Canvas, skin.WHITE, skin.ACCENT, skin.MAGENTA
    GREY, GREEN = (150, 158, 170), (40, 150, 70)

    def box(fill=WHITE, edge=GREY):
        c = Canvas(16, 16, WHITE)
        c.fill(1, 1, 15, 15, fill)
        c.frame(1, 1, 15, 15, edge)
        return c

    def tick(c, colour):
        c.line(4, 8, 7, 11, 2, colour)
        c.line(7, 11, 12, 4, 2, colour)
        return c

    def scanning(frame):
        c = box(edge=ACCENT)
        angle = frame * math.pi / 4
        for k in range(3):
            a = angle - k * 0.5
            c.disc(8 + 4 * math.cos(a), 8 + 4 * math.sin(a), 1.6 - k * 0.4, skin.mix(ACCENT, WHITE, k * 0.3))
        return c

    def bar(top, bottom):
        c = Canvas(20, 14)
        c.vgradient(0, 0, 20, 14, top, bottom)
        return c

    def dialog_back(w, h):
        c = Canvas(w, h, WHITE)
        c.vgradient(0, 0, w, 40, (66, 120, 196), (30, 70, 130))
        c.vgradient(0, 40, w, h, (250, 252, 255), (232, 241, 251))
        c.frame(0, 0, w, h, (36, 76, 140))
        c.round_corners(8, MAGENTA)  # cut out of the window's shape
        return c

    def tab(state, w=104):
        # 354 normal, 353 hover and pressed, 355 selected: 104 x 31, the top corners rounded on the page's white;
        # 380-382 the same 118 wide, for the scan result window, whose five tabs carry long captions.
        top, bottom, edge = {
            0: ((246, 250, 255), (214, 231, 248), (150, 180, 220)),
            1: ((255, 255, 255), (190, 216, 246), (110, 150, 205)),
            2: ((255, 255, 255), (255, 255, 255), (110, 150, 205)),
        }[state]
        c = Canvas(w, 31, WHITE)
        c.vgradient(0, 0, w, 31, top, bottom)
        c.frame(0, 0, w, 32, edge)  # open at the bottom
        if state == 2:
            c.fill(1, 0, w - 1, 3, ACCENT)
        c.round_corners(4, WHITE, y1=40)
        return c

    def popup_tile():
        c = Canvas(32, 32)
        c.vgradient(0, 0, 32, 32, (252, 253, 255), (226, 238, 252))
        return c

    items = [
        (343, lambda: box()),
        (333, lambda: tick(box(edge=ACCENT), ACCENT)),
        (344, lambda: tick(box(fill=(232, 246, 236), edge=GREEN), GREEN)),
        (334, lambda: box(fill=(226, 230, 236))),
        (345, lambda: skin.panel(200, 120)),
        (356, lambda: bar((246, 248, 250), (226, 230, 236))),
        (357, lambda: bar((120, 200, 120), (40, 150, 70))),
        (406, lambda: dialog_back(640, 460)),
        (465, lambda: popup_tile()),
        (354, lambda: tab(0)),
        (353, lambda: tab(1)),
        (355, lambda: tab(2)),
        (380, lambda: tab(0, 118)),
        (381, lambda: tab(1, 118)),
        (382, lambda: tab(2, 118)),
    ]
    items += [(335 + f, lambda f=f: scanning(f)) for f in range(8)]
    return items
