"""The evening sea: sky, low sun, clouds, distant coast with a lighthouse, calm sea with glitter.

One painter makes the wide panorama; the menu backgrounds are windows cut from it, so every
screen shows the same evening.
"""
import numpy as np

from .canvas import SuperCanvas, blend
from .noise import Noise, gradient, lerp, smoothstep

HORIZON = 230          # first sea row: far gulls fall to it, the ship's waterlines lie below it
WIDTH, HEIGHT = 1920, 480
SUN_X, SUN_Y, SUN_R = 960, 196, 21
LIGHTHOUSE_X = 1610

_noise = Noise(seed=20240611)
_hills = Noise(seed=7)


def _sky(xs, ys):
    near = gradient([(0, (150, 108, 188)), (70, (186, 120, 190)), (140, (226, 142, 180)),
                     (200, (248, 172, 168)), (HORIZON, (255, 198, 162))], ys)
    far = gradient([(0, (122, 94, 172)), (90, (160, 112, 182)), (170, (204, 136, 178)),
                    (HORIZON, (228, 166, 172))], ys)
    dx = xs - SUN_X
    away = smoothstep(250, 900, np.abs(dx))[..., None]
    sky = lerp(near, far, away)
    dy = ys - SUN_Y
    glow = np.exp(-(dx / 420.0) ** 2 - (dy / 150.0) ** 2)[..., None]
    sky = lerp(sky, np.array([255, 196, 150.0]), 0.45 * glow)
    r = np.hypot(dx, dy * 1.6)
    halo = np.exp(-r / 38.0)[..., None]
    return lerp(sky, np.array([255, 236, 196.0]), 0.8 * halo)


def _sun(img):
    ys, xs = np.mgrid[0:HORIZON, SUN_X - 40:SUN_X + 40].astype(np.float64)
    r = np.hypot(xs + 0.5 - SUN_X, ys + 0.5 - SUN_Y)
    disc = np.clip(SUN_R + 0.5 - r, 0, 1)[..., None]
    core = gradient([(0, (255, 250, 226)), (SUN_R, (255, 220, 168))], r)
    region = img[0:HORIZON, SUN_X - 40:SUN_X + 40]
    region[...] = lerp(region, core, disc)


def _cloud_density(xs, ys):
    n = _noise.fractal(xs / 230.0, ys / 24.0 + 3.1, octaves=5)
    patch = _noise(xs / 520.0 + 40.0, 7.5)
    band = smoothstep(8, 50, ys) * (1 - smoothstep(150, 212, ys))
    return smoothstep(0.50, 0.74, n * (0.7 + 0.6 * patch)) * band


def _cloud_banks(img, xs, ys):
    """Broad soft cloud banks high up, darker than the sky, their undersides catching the sun."""
    def density(y):
        n = _noise.fractal(xs / 340.0 + 70.0, y / 48.0 + 11.0, octaves=5)
        band = smoothstep(0, 30, y) * (1 - smoothstep(90, 160, y))
        return smoothstep(0.47, 0.62, n) * band
    d = density(ys)
    rim = np.clip(d - density(ys + 7), 0, 1)
    sun_near = np.exp(-((xs - SUN_X) / 500.0) ** 2)[..., None]
    body = lerp(np.array([112, 80, 146.0]), np.array([170, 104, 150.0]), sun_near)
    img[...] = lerp(img, lerp(body, img, 0.3), 0.7 * d[..., None])
    img[...] = lerp(img, np.array([255, 190, 170.0]), np.clip(rim * 1.4, 0, 1)[..., None] * (0.35 + 0.4 * sun_near))


def _clouds(img, xs, ys):
    d = _cloud_density(xs, ys)
    below = _cloud_density(xs, ys + 5)
    rim = np.clip(d - below, 0, 1)
    sun_near = np.exp(-((xs - SUN_X) / 380.0) ** 2)
    body = lerp(np.array([134, 92, 152.0]), np.array([196, 120, 150.0]), sun_near[..., None])
    body = lerp(body, img, 0.35)
    img[...] = lerp(img, body, 0.8 * d[..., None])
    lit = np.array([255, 206, 170.0])
    img[...] = lerp(img, lit, (np.clip(rim * (0.7 + 0.8 * sun_near) * 1.3, 0, 1) * 0.85)[..., None])


def _horizon_haze(img, ys):
    haze = smoothstep(190, HORIZON, ys)[..., None] * 0.35
    img[...] = lerp(img, np.array([250, 190, 170.0]), haze)


def coast_height(x):
    """Height in pixels of the distant land above the horizon at panorama column x."""
    x = np.asarray(x, dtype=np.float64)
    rolling = _hills.fractal(x / 90.0, 0.5, octaves=4)
    left = (1 - smoothstep(420, 700, x)) * (6 + 14 * rolling)
    right = smoothstep(1360, 1520, x) * (9 + 17 * rolling)
    cape = 8 * np.exp(-((x - LIGHTHOUSE_X) / 60.0) ** 2)
    return np.maximum(left, right + cape * smoothstep(1360, 1520, x))


def _coast(img):
    xs = np.arange(WIDTH, dtype=np.float64)
    h = coast_height(xs + 0.5)
    top = HORIZON - h
    ys = np.arange(HORIZON, dtype=np.float64)[:, None] + 0.0
    cover = np.clip(ys + 1 - top[None, :], 0, 1)
    far = smoothstep(900, 1500, xs)[None, :]
    land_top = lerp(np.array([150, 100, 150.0]), np.array([138, 92, 140.0]), far[..., None])
    land_base = lerp(np.array([190, 136, 166.0]), np.array([176, 126, 156.0]), far[..., None])
    depth = np.clip((ys - top[None, :]) / np.maximum(h, 1)[None, :], 0, 1)[..., None]
    land = lerp(land_top, land_base, depth)
    img[:HORIZON] = lerp(img[:HORIZON], land, cover[..., None])
    return h


def _lighthouse(img, ground):
    """A small striped lighthouse on the cape, its lamp already lit."""
    base = HORIZON - ground + 1.0
    c = SuperCanvas(24, 48, factor=8)
    cx, bot, tall = 12.0, 46.0, 30.0
    white, red = (236, 216, 222), (178, 78, 96)
    half = lambda y: 3.4 - 1.2 * (bot - y) / tall
    bands = [(bot, bot - 8, white), (bot - 8, bot - 14, red), (bot - 14, bot - 21, white),
             (bot - 21, bot - tall, red)]
    for y0, y1, col in bands:
        c.polygon([(cx - half(y0), y0), (cx + half(y0), y0), (cx + half(y1), y1), (cx - half(y1), y1)], col)
    top = bot - tall
    c.polygon([(cx - 3.2, top), (cx + 3.2, top), (cx + 3.2, top - 0.8), (cx - 3.2, top - 0.8)], (90, 60, 90))
    c.polygon([(cx - 1.8, top - 0.8), (cx + 1.8, top - 0.8), (cx + 1.8, top - 4.2), (cx - 1.8, top - 4.2)], (255, 240, 190))
    c.polygon([(cx - 2.4, top - 4.2), (cx + 2.4, top - 4.2), (cx, top - 7.0)], (96, 62, 96))
    color, alpha = c.overlay()
    x0, y0 = LIGHTHOUSE_X - 12, int(round(base - bot))
    ys, xs = np.mgrid[0:60, 0:60].astype(np.float64)
    lamp = np.exp(-np.hypot(xs - 30, ys - 30) / 6.0) * 0.55
    blend(img, x0 - 18, y0 + int(top - 2.5) - 30, np.full((60, 60, 3), (255, 236, 180.0)), lamp)
    blend(img, x0, y0, color, alpha)


def _sea(img, xs, ys, coast):
    t = (ys - HORIZON) / (HEIGHT - HORIZON)
    base = gradient([(0, (190, 134, 164)), (0.06, (150, 104, 150)), (0.3, (96, 72, 128)),
                     (1.0, (36, 30, 76))], t)
    dx = xs - SUN_X
    width = 50 + 300 * t
    sheen = np.exp(-(dx / width) ** 2) * (1 - t) ** 0.8
    base = base + sheen[..., None] * np.array([96, 60, 24.0])
    # Land reflection: a faint darker smear below the coast.
    ch = coast[xs[0].astype(np.int64)][None, :]
    refl = (ys - HORIZON < ch * 0.6).astype(np.float64) * 0.12
    base = lerp(base, np.array([90, 62, 110.0]), refl[..., None])

    # Waves in perspective: rows near the horizon are far away, so their ripples are small.
    dist = ys - HORIZON + 2.0
    v = 5200.0 / dist
    cell = 0.36 * dist + 1.0
    level = np.log2(cell)
    lo = np.floor(level)
    frac = level - lo
    c0 = 2.0 ** lo
    w0 = _noise.fractal(xs / c0, v, octaves=2)
    w1 = _noise.fractal(xs / (2 * c0) + 91.0, v + 57.0, octaves=2)
    wave = lerp(w0, w1, frac)
    amp = smoothstep(0, 60, ys - HORIZON)
    crest = smoothstep(0.55, 0.78, wave) * amp
    trough = smoothstep(0.45, 0.22, wave) * amp
    sky_tint = np.array([206, 146, 184.0])
    base = lerp(base, sky_tint, (0.18 * crest)[..., None])
    base = base * (1 - 0.18 * trough)[..., None]

    # Sun glitter: sparks on the wave crests in a column that widens towards the viewer.
    gw = 5 + 0.32 * dist
    column = np.exp(-(dx / gw) ** 2) + 0.25 * np.exp(-(dx / (gw * 3.5)) ** 2)
    fine = _noise(xs / np.maximum(c0 / 3, 1) + 13.0, v * 2.3 + 5.0)
    spark = smoothstep(0.60, 0.80, fine) * smoothstep(0.45, 0.7, wave)
    glitter = np.clip(column * spark * (0.45 + 0.55 * (1 - t)) * 1.1, 0, 0.9)
    base = lerp(base, np.array([255, 228, 186.0]), glitter[..., None])
    # A soft bright line where the sea meets the sky.
    line = np.exp(-((ys - HORIZON) / 1.5) ** 2) * 0.35
    return lerp(base, np.array([250, 200, 176.0]), line[..., None])


def panorama():
    """The 1920x480 scene as float RGB."""
    ys, xs = np.mgrid[0:HEIGHT, 0:WIDTH].astype(np.float64)
    img = np.zeros((HEIGHT, WIDTH, 3))
    sky_y, sky_x = ys[:HORIZON], xs[:HORIZON]
    img[:HORIZON] = _sky(sky_x, sky_y)
    _sun(img)
    sky = img[:HORIZON]
    _cloud_banks(sky, sky_x, sky_y)
    _clouds(sky, sky_x, sky_y)
    _horizon_haze(sky, sky_y)
    coast = _coast(img)
    _lighthouse(img, coast[LIGHTHOUSE_X])
    img[HORIZON:] = _sea(img[HORIZON:], xs[HORIZON:], ys[HORIZON:], coast)
    return np.clip(img, 0, 255)
