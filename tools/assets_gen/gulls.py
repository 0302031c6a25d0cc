"""The gull seen from the front, in six poses: wings folded (falling) and five wing angles.

The wing is a tapered curve from shoulder to tip; a pose is just the angle of its inner and
outer half, so played in order the frames make one smooth beat.
"""
import math

from . import keys
from .canvas import SuperCanvas

W, H = 100, 50
CX = 50.0
SHOULDER_Y = 25.0
INNER, OUTER = 19.0, 24.0

WHITE = (246, 246, 242)
SHADE = (214, 216, 222)
GREY = (158, 164, 176)
GREY_DARK = (120, 126, 140)
GREY_LIGHT = (196, 200, 210)
TIP = (34, 34, 40)
BEAK = (246, 196, 44)
BEAK_SPOT = (206, 60, 40)
EYE = (24, 24, 28)
FEET = (226, 150, 110)

# (inner angle, outer angle) in degrees above the horizontal, per picture.
POSES = {
    7: (6.0, -4.0),     # straight out, the slight gull bend
    8: (-14.0, -26.0),  # down
    9: (-24.0, -37.0),  # far down
    10: (20.0, 26.0),   # up
    11: (31.0, 35.0),   # far up
}


def _bezier(p0, p1, p2, n=40):
    pts = []
    for i in range(n + 1):
        t = i / n
        a, b, c = (1 - t) ** 2, 2 * (1 - t) * t, t * t
        pts.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1], t))
    return pts


def _wing_spine(side, inner_deg, outer_deg):
    sx = CX + side * 6.0
    a1, a2 = math.radians(inner_deg), math.radians(outer_deg)
    elbow = (sx + side * INNER * math.cos(a1), SHOULDER_Y - INNER * math.sin(a1))
    tip = (elbow[0] + side * OUTER * math.cos(a2), elbow[1] - OUTER * math.sin(a2))
    # The control point pulls the curve through the elbow, so the wing bends smoothly.
    ctrl = (2 * elbow[0] - 0.5 * (sx + tip[0]), 2 * elbow[1] - 0.5 * (SHOULDER_Y + tip[1]))
    return _bezier((sx, SHOULDER_Y), ctrl, tip)


def _band(spine, t0, t1, thick, offset=0.0):
    """Polygon of the part of a tapered wing between parameters t0 and t1.

    thick(t) gives the wing's thickness; offset moves the band along the normal (negative: up).
    """
    pts = [p for p in spine if t0 <= p[2] <= t1]
    upper, lower = [], []
    for i, (x, y, t) in enumerate(pts):
        j0, j1 = max(0, i - 1), min(len(pts) - 1, i + 1)
        dx, dy = pts[j1][0] - pts[j0][0], pts[j1][1] - pts[j0][1]
        n = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / n, dx / n
        if ny > 0:
            nx, ny = -nx, -ny  # make the normal point up
        half = thick(t) / 2
        upper.append((x + nx * (half - offset), y + ny * (half - offset)))
        lower.append((x - nx * (half + offset), y - ny * (half + offset)))
    return upper + lower[::-1]


def _wing(c, side, inner_deg, outer_deg):
    spine = _wing_spine(side, inner_deg, outer_deg)
    thick = lambda t: 11.0 * (1 - t) + 1.2 * t + 2.5 * math.sin(math.pi * min(t / 0.5, 1.0)) * (1 - t)
    c.polygon(_band(spine, 0.0, 1.0, thick), GREY)
    # Shadowed trailing edge, lit leading edge.
    lower = _band(spine, 0.0, 0.8, lambda t: thick(t) * 0.35)
    c.polygon([(x, y + 0.3 * thick(0)) for x, y in lower], GREY_DARK)
    c.polygon(_band(spine, 0.0, 1.0, lambda t: thick(t) * 0.22), GREY_LIGHT)
    c.polygon(_band(spine, 0.74, 1.0, thick), TIP)


def _body(c, folded=False):
    # Chest and belly, lit from above.
    c.ellipse(CX, 31.0, 10.5, 12.5, SHADE)
    c.ellipse(CX, 30.0, 9.3, 11.2, WHITE)
    # Feet tucked under the belly.
    for side in (-1, 1):
        c.ellipse(CX + side * 3.2, 42.6, 1.6, 1.3, FEET)
    if folded:
        for side in (-1, 1):
            c.polygon([(CX + side * 6.5, 22.0), (CX + side * 11.5, 26.0), (CX + side * 12.0, 36.0),
                       (CX + side * 9.0, 44.0), (CX + side * 6.0, 38.0)], GREY)
            c.polygon([(CX + side * 12.0, 34.0), (CX + side * 9.0, 44.0), (CX + side * 10.0, 46.5),
                       (CX + side * 13.5, 40.0)], TIP)
    # Head in front of the body.
    c.ellipse(CX, 18.6, 8.2, 7.6, SHADE)
    c.ellipse(CX, 18.0, 7.6, 7.0, WHITE)
    for side in (-1, 1):
        c.ellipse(CX + side * 3.6, 16.8, 1.25, 1.25, EYE)
    # Beak pointing at the viewer: a short yellow wedge with the red spot below.
    c.polygon([(CX - 2.4, 19.6), (CX + 2.4, 19.6), (CX + 1.4, 24.4), (CX, 25.6), (CX - 1.4, 24.4)], BEAK)
    c.ellipse(CX, 24.0, 0.9, 0.9, BEAK_SPOT)


def drawn(number, factor=8):
    """The gull of picture `number` on a canvas `factor` times its size, not yet reduced."""
    c = SuperCanvas(W, H, factor=factor)
    if number == 6:
        _body(c, folded=True)
    else:
        inner, outer = POSES[number]
        for side in (-1, 1):
            _wing(c, side, inner, outer)
        _body(c)
    return c


def gull(number):
    return drawn(number).keyed(keys.BLUE)
