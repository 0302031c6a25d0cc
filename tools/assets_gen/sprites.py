"""The small pictures: crosshair, cartridge, windscreen splat and the motor yacht."""
import math

import numpy as np

from . import keys
from .canvas import SuperCanvas
from .noise import Noise, smoothstep

_noise = Noise(seed=4242)


def cursor():
    """White cross with a ring, outlined in dark grey so it reads on bright sky and dark sea."""
    c = SuperCanvas(32, 32, factor=8)
    cx = cy = 16.5  # centre of pixel (16, 16)
    dark, white = (52, 52, 60), (255, 255, 255)
    arms = [(2.0, 9.0), (24.0, 31.0)]
    for a, b in arms:
        c.polygon([(a - 1, cy - 1.5), (b + 1, cy - 1.5), (b + 1, cy + 1.5), (a - 1, cy + 1.5)], dark)
        c.polygon([(cx - 1.5, a - 1), (cx + 1.5, a - 1), (cx + 1.5, b + 1), (cx - 1.5, b + 1)], dark)
    c.ellipse(cx, cy, 6.6, 6.6, dark)
    c.ellipse(cx, cy, 5.6, 5.6, white)
    c.ellipse(cx, cy, 4.4, 4.4, dark)
    c.ellipse(cx, cy, 3.4, 3.4, (0, 0, 0))
    c.ellipse(cx, cy, 0.8, 0.8, white)
    for a, b in arms:
        c.polygon([(a, cy - 0.5), (b, cy - 0.5), (b, cy + 0.5), (a, cy + 0.5)], white)
        c.polygon([(cx - 0.5, a), (cx + 0.5, a), (cx + 0.5, b), (cx - 0.5, b)], white)
    color, cover = c.arrays()
    # The inner black disc is a hole: see-through, not a sprite colour.
    hole = color.sum(axis=2) == 0
    cover = np.where(hole, 0.0, cover)
    return keys.resolve(color, cover, c.f, keys.BLACK)


def _cartridge_profile(s):
    """Half width of the cartridge at height s above its base, and whether it is bullet."""
    half = np.zeros_like(s)
    half = np.where((s >= 0) & (s < 2.6), 5.7, half)
    half = np.where((s >= 2.6) & (s < 4.0), 4.6, half)
    half = np.where((s >= 4.0) & (s < 30.0), 5.5 - 0.3 * (s - 4.0) / 26.0, half)
    shoulder = (s >= 30.0) & (s < 33.5)
    half = np.where(shoulder, 5.2 - 1.9 * (s - 30.0) / 3.5, half)
    half = np.where((s >= 33.5) & (s < 38.5), 3.3, half)
    ogive = (s >= 38.5) & (s <= 53.0)
    q = np.clip((s - 38.5) / 14.5, 0, 1)
    half = np.where(ogive, 3.25 * np.sqrt(np.clip(1 - q ** 1.8, 0, 1)), half)
    return half, ogive


def cartridge():
    f = 8
    ys, xs = np.mgrid[0:60 * f, 0:40 * f].astype(np.float64)
    xs = (xs + 0.5) / f
    ys = (ys + 0.5) / f
    angle = math.radians(20.0)
    ax, ay = math.sin(angle), -math.cos(angle)  # up the cartridge, leaning right
    bx, by = 13.5, 56.5                        # centre of the base
    rx, ry = xs - bx, ys - by
    s = rx * ax + ry * ay
    u = rx * -ay + ry * ax                      # across, positive to the right
    half, bullet = _cartridge_profile(s)
    inside = (half > 0) & (np.abs(u) <= half)
    n = np.clip(u / np.maximum(half, 1e-6), -1, 1)
    light = 0.55 + 0.45 * np.sqrt(np.clip(1 - n * n, 0, 1)) - 0.18 * np.clip(n, 0, 1)
    shine = np.exp(-((n + 0.42) / 0.2) ** 2)
    brass = np.array([212, 166, 72.0])
    copper = np.array([196, 104, 62.0])
    base = np.where(bullet[..., None], copper, brass)
    groove = (s >= 2.6) & (s < 4.0)
    base = np.where(groove[..., None], brass * 0.7, base)
    color = base * light[..., None] + shine[..., None] * np.array([90, 80, 60.0])
    color = np.clip(color, 0, 255)
    return keys.resolve(color, inside.astype(np.float64), f, keys.BLUE)


def splat():
    """A bird's dropping on the windscreen: irregular white blob, drips and a dark core."""
    f = 8
    c = SuperCanvas(100, 100, factor=f)
    cx, cy = 49.0, 44.0
    rng = np.random.default_rng(1313)
    pts = []
    for i in range(72):
        a = 2 * math.pi * i / 72
        wobble = _noise.fractal(math.cos(a) * 2.2 + 5, math.sin(a) * 2.2 + 5, octaves=3)
        r = 17.0 + 16.0 * float(wobble)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a) * 0.92))
    white = (240, 240, 234)
    c.polygon(pts, white)
    # Spatters thrown outwards by the impact.
    for _ in range(11):
        a = rng.uniform(0, 2 * math.pi)
        d = rng.uniform(31.0, 42.0)
        r = rng.uniform(2.2, 4.2)
        x, y = cx + d * math.cos(a), cy + d * math.sin(a) * 0.9
        if 4 < x < 96 and 4 < y < 90:
            c.ellipse(x, y, r, r, white)
    # Drips running down the glass, each ending in a drop.
    for x, length, w in ((36.0, 30.0, 4.0), (55.0, 34.0, 4.8), (66.0, 22.0, 3.4)):
        top = cy + 12.0
        c.line([(x, top), (x + 0.8, top + length)], white, w)
        c.ellipse(x + 0.8, top + length, w * 0.75, w * 0.85, white)
    img = c.keyed(keys.BLUE)

    inside = np.any(img != np.array(keys.BLUE, dtype=np.uint8), axis=2)
    ys, xs = np.mgrid[0:100, 0:100].astype(np.float64)
    mottle = _noise.fractal(xs / 7.0, ys / 7.0, octaves=3)
    shade = 226 + 26 * mottle
    col = np.stack([shade, shade, shade - 6], axis=-1)
    r = np.hypot(xs + 0.5 - cx, (ys + 0.5 - cy) * 1.1)
    core_edge = 10.0 + 7.0 * _noise.fractal(np.arctan2(ys - cy, xs - cx) * 1.3 + 50, 3.0, octaves=2)
    core = 1 - smoothstep(core_edge - 3.0, core_edge + 1.5, r)
    dark = np.array([62, 66, 50.0]) + 30 * mottle[..., None]
    col = col * (1 - core[..., None]) + dark * core[..., None]
    out = np.where(inside[..., None], np.clip(np.rint(col), 0, 255).astype(np.uint8), img)
    return keys.keep_off_key(out, inside, keys.BLUE)


def ship():
    """A white motor yacht, bow to the right; the bottom row is its waterline."""
    c = SuperCanvas(200, 100, factor=6)
    white = (246, 244, 242)
    shade = (212, 214, 222)
    navy = (30, 40, 78)
    glass = (40, 52, 76)
    glint = (118, 138, 168)
    steel = (150, 156, 168)

    def sheer(x):  # deck edge, rising towards the bow
        return 60.0 - 7.0 * (x / 197.0) ** 2

    xs = np.linspace(4.0, 197.0, 60)
    deck = [(x, sheer(x)) for x in xs]
    bow = [(197.0, sheer(197.0)), (192.0, 72.0), (184.0, 86.0), (174.0, 100.5)]
    hull = deck + bow + [(9.0, 100.5), (6.0, 80.0), (4.0, sheer(4.0))]
    c.polygon(hull, white)
    # Shadow under the rubbing strake, then the dark hull stripe and the boot top at the water.
    def band(top_off, bottom_off, col, x_end):
        xs2 = np.linspace(5.0, x_end, 40)
        upper = [(x, sheer(x) + top_off) for x in xs2]
        lower = [(x, sheer(x) + bottom_off) for x in xs2[::-1]]
        c.polygon(upper + lower, col)
    band(1.5, 4.0, shade, 194.0)
    band(9.0, 15.0, navy, 186.0)
    c.polygon([(9.0, 93.0), (181.0, 93.0), (176.0, 100.5), (9.0, 100.5)], navy)
    c.polygon([(9.0, 91.0), (182.5, 91.0), (181.0, 93.0), (9.0, 93.0)], (226, 228, 234))
    # Hull windows in the stripe.
    for x in (70.0, 84.0, 98.0, 112.0, 126.0):
        y = sheer(x) + 12.0
        c.polygon([(x, y - 1.6), (x + 9.0, y - 1.6), (x + 9.0, y + 1.6), (x, y + 1.6)], glint)

    # Main cabin with a raked windscreen.
    cabin = [(36.0, 40.0), (112.0, 36.0), (124.0, 37.0), (152.0, 54.0)]
    cabin += [(x, sheer(x) + 1.2) for x in np.linspace(152.0, 34.0, 20)]
    c.polygon(cabin, white)
    c.polygon([(36.0, 40.0), (112.0, 36.0), (124.0, 37.0), (126.0, 39.0), (36.0, 42.5)], shade)
    c.polygon([(42.0, 45.0), (118.0, 42.0), (140.0, 53.0), (42.0, 53.0)], glass)
    for x0 in (58.0, 80.0, 102.0):
        c.polygon([(x0, 45.0), (x0 + 5.0, 44.8), (x0 - 2.0, 53.0), (x0 - 7.0, 53.0)], glint)
    c.polygon([(120.0, 43.0), (138.0, 52.0), (132.0, 52.0), (117.0, 44.0)], glint)
    # Flybridge with its rail, radar arch and mast.
    c.polygon([(50.0, 36.5), (54.0, 28.0), (104.0, 27.0), (112.0, 36.0)], white)
    c.polygon([(54.0, 28.0), (104.0, 27.0), (105.0, 28.8), (54.0, 30.0)], shade)
    c.polygon([(60.0, 30.5), (100.0, 29.8), (104.0, 34.0), (60.0, 34.5)], glass)
    c.line([(50.0, 20.0), (110.0, 19.5)], steel, 1.2)
    for x in (52.0, 64.0, 76.0, 88.0, 100.0, 109.0):
        c.line([(x, 20.0), (x, 27.5)], steel, 1.0)
    c.polygon([(76.0, 27.0), (80.0, 12.0), (92.0, 12.0), (96.0, 27.0), (91.0, 27.0), (88.0, 16.0),
               (84.0, 16.0), (81.0, 27.0)], white)
    c.ellipse(86.0, 9.5, 6.0, 2.4, white)
    c.line([(86.0, 7.0), (86.0, 1.5)], steel, 1.0)
    # Stern rail and a small blue pennant.
    c.line([(6.0, 52.0), (34.0, 52.0)], steel, 1.0)
    for x in (7.0, 16.0, 25.0):
        c.line([(x, 52.0), (x, sheer(x))], steel, 1.0)
    c.line([(8.0, 52.0), (8.0, 38.0)], steel, 1.0)
    c.polygon([(8.5, 38.0), (17.0, 40.5), (8.5, 43.0)], (40, 70, 150))
    return c.keyed(keys.RED)
