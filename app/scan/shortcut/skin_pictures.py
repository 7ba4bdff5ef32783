"""Pictures of the shortcut page, drawn by res/tools/make_skin.py: 358-373, the 16 frames of the busy animation
of the running scan (48 x 48 on white)."""
import math


def pictures(skin):
    Canvas, WHITE, ACCENT = skin.Canvas, skin.WHITE, skin.ACCENT

    def frame(n):
        c = Canvas(48, 48, WHITE)
        for k in range(8):
            a = 2 * math.pi * (k / 8.0 + n / 16.0)
            fade = (k + 1) / 8.0
            c.disc(24 + 16 * math.cos(a), 24 + 16 * math.sin(a), 2 + 3 * fade, skin.mix(WHITE, ACCENT, fade))
        return c

    return [(358 + n, lambda n=n: frame(n)) for n in range(16)]
