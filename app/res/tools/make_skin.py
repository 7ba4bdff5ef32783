#!/usr/bin/env python3
"""Draws the program's skin bitmaps and icons from code and writes a resource script that lists them.

Usage: make_skin.py <output folder>
Writes <output>/bmp/<id>.bmp, <output>/ico/<id>.ico and <output>/skin.rc (absolute paths).
Only the standard library is used. To add a picture, add one line to SKIN below, or, for pictures of a page
folder, a file skin_pictures.py anywhere under app/ with a function pictures(skin) that gets this module
(Canvas, mix, the colours and the picture helpers) and returns [(resource id, function returning a Canvas)].
"""
import glob
import importlib.util
import math
import os
import struct
import sys


class Canvas:
    """A 24-bit RGB picture, top row first."""

    def __init__(self, w, h, colour=(255, 255, 255)):
        self.w, self.h = w, h
        self.px = bytearray(bytes(colour) * (w * h))

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            i = (y * self.w + x) * 3
            self.px[i:i + 3] = bytes(c)

    def get(self, x, y):
        i = (y * self.w + x) * 3
        return tuple(self.px[i:i + 3])

    def fill(self, x0, y0, x1, y1, c):
        x0, y0, x1, y1 = max(0, x0), max(0, y0), min(self.w, x1), min(self.h, y1)
        if x0 >= x1:
            return
        row = bytes(c) * (x1 - x0)
        for y in range(y0, y1):
            i = (y * self.w + x0) * 3
            self.px[i:i + len(row)] = row

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        n = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            t = (y - y0) / n
            self.fill(x0, y, x1, y + 1, mix(top, bottom, t))

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0 + 1, c)
        self.fill(x0, y1 - 1, x1, y1, c)
        self.fill(x0, y0, x0 + 1, y1, c)
        self.fill(x1 - 1, y0, x1, y1, c)

    def round_corners(self, r, c, x0=0, y0=0, x1=None, y1=None):
        """Paints the outside of rounded corners of radius r with colour c."""
        x1 = self.w if x1 is None else x1
        y1 = self.h if y1 is None else y1
        for dy in range(r):
            for dx in range(r):
                if (r - dx - 0.5) ** 2 + (r - dy - 0.5) ** 2 > r * r:
                    for x, y in ((x0 + dx, y0 + dy), (x1 - 1 - dx, y0 + dy), (x0 + dx, y1 - 1 - dy),
                                 (x1 - 1 - dx, y1 - 1 - dy)):
                        self.put(x, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r), int(cy + r) + 1):
            for x in range(int(cx - r), int(cx + r) + 1):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, c)

    def ring(self, cx, cy, r, width, c):
        for y in range(int(cy - r), int(cy + r) + 1):
            for x in range(int(cx - r), int(cx + r) + 1):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if r - width <= d <= r:
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, width, c):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            self.disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, c)

    def bmp(self):
        stride = (self.w * 3 + 3) & ~3
        body = bytearray()
        for y in range(self.h - 1, -1, -1):
            row = self.px[y * self.w * 3:(y + 1) * self.w * 3]
            for x in range(0, len(row), 3):  # RGB -> BGR
                body += bytes((row[x + 2], row[x + 1], row[x]))
            body += b"\0" * (stride - self.w * 3)
        header = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
        return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(body), 0, 0, 14 + len(header)) + header + body


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def rgb(colorref):
    """COLORREF 0x00BBGGRR -> (r, g, b)."""
    return (colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF)


WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)
NAVY = (27, 58, 110)
SKY = (214, 231, 248)
PALE = (240, 246, 253)
ACCENT = (52, 107, 185)

# Glyphs of the drawer groups, drawn in a 24 x 24 box at (x, y).
def glyph(c, kind, x, y, colour):
    cx, cy = x + 12, y + 12
    if kind == "scan":
        c.ring(cx - 2, cy - 2, 8, 3, colour)
        c.line(cx + 3, cy + 3, cx + 10, cy + 10, 4, colour)
    elif kind == "optimize":
        c.ring(cx, cy + 3, 10, 3, colour)
        c.fill(x, cy + 4, x + 24, y + 24, c.get(x, y + 23))
        c.line(cx, cy + 3, cx + 6, cy - 5, 3, colour)
    elif kind == "repair":
        c.line(cx - 8, cy + 8, cx + 4, cy - 4, 4, colour)
        c.ring(cx + 5, cy - 5, 6, 3, colour)
    elif kind == "tools":
        c.ring(cx, cy, 9, 4, colour)
        for a in range(8):
            ang = a * math.pi / 4
            c.disc(cx + 10 * math.cos(ang), cy + 10 * math.sin(ang), 2.2, colour)
    elif kind == "backup":
        c.fill(x + 2, y + 2, x + 22, y + 22, colour)
        c.fill(x + 6, y + 2, x + 18, y + 10, WHITE)
        c.fill(x + 13, y + 4, x + 16, y + 8, colour)
        c.fill(x + 6, y + 14, x + 18, y + 20, mix(colour, WHITE, 0.6))
    elif kind == "home":
        c.line(cx - 10, cy, cx, cy - 10, 3, colour)
        c.line(cx, cy - 10, cx + 10, cy, 3, colour)
        c.fill(cx - 7, cy, cx + 8, cy + 10, colour)


# ---- pictures ---------------------------------------------------------------------------------------------

def background(w, h):
    c = Canvas(w, h, PALE)
    c.vgradient(0, 0, w, 28, (250, 252, 255), (222, 236, 251))        # title strip (dark title text)
    c.fill(0, 27, w, 28, (170, 196, 228))
    c.vgradient(0, 28, w, 88, (228, 239, 251), (196, 219, 244))        # banner
    for i in range(5):                                                  # banner swoosh
        c.ring(760, 260, 230 - i * 14, 3, mix((196, 219, 244), WHITE, 0.5 + i * 0.1))
    c.vgradient(0, 28, 200, 88, (228, 239, 251), (196, 219, 244))
    c.disc(52, 58, 22, ACCENT)                                          # product mark
    c.ring(52, 58, 14, 4, WHITE)
    c.line(52, 58, 64, 46, 4, WHITE)
    c.vgradient(0, 88, w, 123, (246, 250, 255), (222, 234, 248))       # top-button row
    c.fill(0, 122, w, 123, (170, 196, 228))
    c.fill(0, 123, 186, h, (232, 241, 251))                             # drawer column
    c.fill(186, 123, w, h, WHITE)                                       # page area
    c.fill(186, 663, w, h, (232, 241, 251))
    c.frame(185, 125, 924, 663, (170, 196, 228))
    c.frame(0, 0, w, h, (38, 84, 150))
    return c


def glyph_button(w, h, state, kind):
    base = {0: (66, 120, 196), 1: (98, 150, 220), 2: (30, 70, 130)}[state]
    c = Canvas(w, h, base)
    c.vgradient(0, 0, w, h, mix(base, WHITE, 0.2), base)
    if kind == "close":
        c.line(w / 2 - 5, h / 2 - 5, w / 2 + 5, h / 2 + 5, 2, WHITE)
        c.line(w / 2 + 5, h / 2 - 5, w / 2 - 5, h / 2 + 5, 2, WHITE)
    else:
        c.fill(w // 2 - 6, h // 2 + 3, w // 2 + 6, h // 2 + 5, WHITE)
    return c


def top_button(w, h, state, kind):
    top, bottom = {0: ((255, 255, 255), (214, 231, 248)), 1: ((255, 255, 255), (180, 210, 244)),
                   2: ((190, 214, 242), (235, 243, 252))}[state]
    c = Canvas(w, h, WHITE)
    c.vgradient(0, 0, w, h, top, bottom)
    c.frame(0, 0, w, h, (150, 180, 220))
    c.round_corners(4, (232, 240, 250))
    colour = {0: ACCENT, 1: NAVY, 2: NAVY}[state]
    cx, cy = 15, h // 2
    if kind == "support":
        c.ring(cx, cy, 8, 3, colour)
        c.disc(cx, cy, 3, colour)
    elif kind == "options":
        c.ring(cx, cy, 7, 3, colour)
        for a in range(6):
            ang = a * math.pi / 3
            c.disc(cx + 8 * math.cos(ang), cy + 8 * math.sin(ang), 2, colour)
    elif kind == "help":
        c.ring(cx, cy - 2, 6, 3, colour)
        c.fill(cx - 7, cy - 2, cx, cy + 5, bottom)
        c.disc(cx, cy + 8, 2, colour)
    elif kind == "start":
        glyph(c, "home", cx - 12, cy - 12, colour)
    return c


def drawer_header(w, h, state, kind):
    top, bottom = {0: ((238, 245, 253), (204, 224, 246)), 1: ((248, 251, 255), (186, 214, 246)),
                   2: ((204, 224, 246), (160, 196, 238))}[state]
    c = Canvas(w, h)
    c.vgradient(0, 0, w, h, top, bottom)
    c.frame(0, 0, w, h, (150, 180, 220))
    glyph(c, kind, 6, (h - 24) // 2, ACCENT if state != 2 else NAVY)
    return c


def drawer_item(w, h, state):
    colours = {0: (246, 250, 255), 1: (222, 236, 252), 2: (64, 118, 192)}
    c = Canvas(w, h, colours[state])
    if state == 2:
        c.vgradient(0, 0, w, h, (92, 144, 214), (52, 100, 172))
    c.fill(8, h - 1, w - 8, h, (206, 222, 242))
    return c


def general_button(w, h, state):
    top, bottom = {0: ((110, 164, 232), (50, 104, 182)), 1: ((140, 188, 246), (70, 128, 206)),
                   2: ((40, 90, 162), (80, 134, 206))}[state]
    c = Canvas(w, h, WHITE)
    c.vgradient(0, 0, w, h, top, bottom)
    c.frame(0, 0, w, h, (36, 76, 140))
    c.round_corners(6, WHITE)       # white is the button's transparent colour
    return c


def panel(w, h):
    c = Canvas(w, h, (248, 251, 255))
    c.vgradient(0, 0, w, h, (252, 253, 255), (236, 244, 252))
    c.frame(0, 0, w, h, (170, 196, 228))
    c.round_corners(6, WHITE)
    return c


def splash(w, h):
    c = Canvas(w, h)
    c.vgradient(0, 0, w, h, (60, 116, 196), (20, 52, 104))
    for i in range(6):
        c.ring(w - 40, -20, 180 + i * 22, 2, (80, 136, 210))
    c.disc(90, 110, 46, WHITE)
    c.ring(90, 110, 30, 8, ACCENT)
    c.line(90, 110, 116, 84, 8, ACCENT)
    c.fill(160, 100, 440, 104, (160, 196, 240))
    c.fill(250, 231, 450, 232, (120, 164, 222))
    return c


def app_icon(size):
    c = Canvas(size, size, (0, 0, 0))
    r = size / 2
    c.disc(r, r, r - 0.5, ACCENT)
    c.ring(r, r, r * 0.62, max(2, size / 9), WHITE)
    c.line(r, r, r + r * 0.55, r - r * 0.55, max(2, size / 9), WHITE)
    return c


def ico(canvases):
    """ICO with 32-bit images; pixels of pure black outside the disc are transparent."""
    entries, images = b"", b""
    offset = 6 + 16 * len(canvases)
    for c in canvases:
        xor = bytearray()
        for y in range(c.h - 1, -1, -1):
            for x in range(c.w):
                r, g, b = c.get(x, y)
                alpha = 0 if (r, g, b) == (0, 0, 0) else 255
                xor += bytes((b, g, r, alpha))
        mask_stride = ((c.w + 31) // 32) * 4
        mask = bytearray()
        for y in range(c.h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(c.w):
                if c.get(x, y) == (0, 0, 0):
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        data = header + xor + mask
        entries += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(data), offset)
        images += data
        offset += len(data)
    return struct.pack("<HHH", 0, 1, len(canvases)) + entries + images


# ---- the skin table: resource id -> picture -----------------------------------------------------------------
# Triplets of state pictures are listed as (normal id, hover id, pressed/selected id).

def triplet(ids, make):
    return [(i, lambda s=s: make(s)) for s, i in enumerate(ids)]


SKIN = []
SKIN += [(129, lambda: background(930, 688))]
SKIN += triplet((132, 131, 130), lambda s: glyph_button(30, 21, s, "close"))
SKIN += triplet((135, 134, 133), lambda s: glyph_button(30, 21, s, "minimise"))
for ids, kind in (((144, 143, 142), "scan"), ((150, 149, 148), "optimize"), ((147, 146, 145), "repair"),
                  ((153, 152, 151), "tools"), ((138, 137, 136), "backup")):
    SKIN += triplet(ids, lambda s, k=kind: drawer_header(179, 40, s, k))
for ids in ((156, 155, 154), (175, 174, 173), (178, 177, 176), (223, 222, 221),
            (184, 183, 182), (181, 180, 179), (187, 186, 185), (193, 192, 191), (196, 195, 194), (190, 189, 188),
            (211, 210, 209), (208, 207, 206), (214, 213, 212), (217, 216, 215), (226, 225, 224), (220, 219, 218),
            (447, 446, 445),
            (229, 228, 227), (238, 237, 236), (235, 234, 233), (232, 231, 230), (453, 452, 451), (433, 432, 431),
            (436, 435, 434), (450, 449, 448),
            (247, 246, 245), (250, 249, 248), (241, 240, 239), (244, 243, 242)):
    SKIN += triplet(ids, lambda s: drawer_item(179, 40, s))
for ids, kind in (((171, 170, 169), "support"), ((165, 164, 163), "options"), ((159, 158, 157), "help"),
                  ((162, 161, 160), "start")):
    SKIN += triplet(ids, lambda s, k=kind: top_button(89, 33, s, k))
SKIN += [(251, lambda: splash(480, 260))]
SKIN += triplet((351, 350, 349), lambda s: general_button(124, 40, s))
SKIN += [(352, lambda: panel(200, 150))]

# Pictures of other folders: each app/**/skin_pictures.py has pictures(skin) -> [(id, make)], and may have
# icons(skin) -> [(id, make)] whose make returns the bytes of an .ico (see ico()).
def _folder_modules():
    app = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    for n, path in enumerate(sorted(glob.glob(os.path.join(app, "**", "skin_pictures.py"), recursive=True))):
        spec = importlib.util.spec_from_file_location("skin_pictures_%d" % n, path)
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        yield module


_FOLDER_MODULES = list(_folder_modules())
SKIN += [item for module in _FOLDER_MODULES for item in module.pictures(sys.modules[__name__])]

ICONS = [(128, lambda: ico([app_icon(32), app_icon(16)]))]
ICONS += [item for module in _FOLDER_MODULES if hasattr(module, "icons")
          for item in module.icons(sys.modules[__name__])]


def main():
    out = os.path.abspath(sys.argv[1])
    os.makedirs(os.path.join(out, "bmp"), exist_ok=True)
    os.makedirs(os.path.join(out, "ico"), exist_ok=True)
    ids = [i for i, _ in SKIN] + [i for i, _ in ICONS]
    dupes = sorted({i for i in ids if ids.count(i) > 1})
    if dupes:
        sys.exit("make_skin.py: resource ids listed twice: %s" % dupes)
    stale = [n for n in os.listdir(os.path.join(out, "bmp")) if int(n.split(".")[0]) not in ids]
    for name in stale:
        os.remove(os.path.join(out, "bmp", name))
    lines = ["// Generated by make_skin.py; do not edit."]
    for rid, make in SKIN:
        path = os.path.join(out, "bmp", "%d.bmp" % rid)
        write_if_changed(path, make().bmp())
        lines.append('%d BITMAP "%s"' % (rid, path.replace("\\", "/")))
    for rid, make in ICONS:
        path = os.path.join(out, "ico", "%d.ico" % rid)
        write_if_changed(path, make())
        lines.append('%d ICON "%s"' % (rid, path.replace("\\", "/")))
    write_if_changed(os.path.join(out, "skin.rc"), ("\n".join(lines) + "\n").encode())


def write_if_changed(path, data):
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
