"""The three shell backgrounds: a window of the evening scene with lettering on top,
and darker quiet zones where the game writes its menu, settings and score lines."""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

from .canvas import SuperCanvas, blend
from .noise import gradient, lerp, smoothstep

FONT_DIR = "/usr/share/fonts/truetype/liberation2/"
TITLE_FONT = FONT_DIR + "LiberationSerif-BoldItalic.ttf"
WINDOW_X = 560   # the backgrounds show the panorama's columns 560..1199, sun right of centre


def _font(path, size):
    try:
        return ImageFont.truetype(path, size)
    except OSError as err:
        raise SystemExit(f"cannot open font {path}: {err} (install fonts-liberation2)")


def _text_mask(text, font, size, centre_x, top):
    """Coverage mask 0..1 of the text on a 640x480 field; returns mask and its box."""
    layer = Image.new("L", size, 0)
    draw = ImageDraw.Draw(layer)
    box = draw.textbbox((0, 0), text, font=font)
    x = centre_x - (box[0] + box[2]) / 2
    y = top - box[1]
    draw.text((x, y), text, font=font, fill=255)
    return layer, (x + box[0], y + box[1], x + box[2], y + box[3])


def _letter(img, text, font_size, top):
    """Golden lettering with a dark violet outline, soft shadow and a warm glow."""
    h, w = img.shape[:2]
    ss = 4
    font = _font(TITLE_FONT, font_size * ss)
    mask, box = _text_mask(text, font, (w * ss, h * ss), w * ss / 2, top * ss)
    outline = mask.filter(ImageFilter.MaxFilter(2 * ss * 2 + 1))
    down = lambda m: np.asarray(m.resize((w, h), Image.BOX), dtype=np.float64) / 255.0
    fill_a, line_a = down(mask), down(outline)
    glow = np.asarray(outline.resize((w, h), Image.BOX).filter(ImageFilter.GaussianBlur(10)), dtype=np.float64) / 255.0
    shadow = np.asarray(outline.resize((w, h), Image.BOX).filter(ImageFilter.GaussianBlur(3)), dtype=np.float64) / 255.0
    shadow = np.roll(np.roll(shadow, 5, axis=0), 4, axis=1)

    img[...] = lerp(img, np.array([255, 214, 160.0]), (0.45 * glow)[..., None])
    img[...] = lerp(img, np.array([30, 14, 44.0]), (0.6 * shadow)[..., None])
    img[...] = lerp(img, np.array([58, 24, 72.0]), line_a[..., None])
    ys = np.arange(h, dtype=np.float64)[:, None] * np.ones((1, w))
    t0, t1 = box[1] / ss, box[3] / ss
    rel = (ys - t0) / max(t1 - t0, 1)
    fill = gradient([(0.0, (255, 250, 214)), (0.45, (255, 206, 96)), (0.55, (246, 164, 64)),
                     (1.0, (226, 96, 92))], rel)
    img[...] = lerp(img, fill, fill_a[..., None])


def _side_shade(img, y0, y1, reach):
    """Darken the left side softly, fading out to the right, for the menu lines."""
    h, w = img.shape[:2]
    ys, xs = np.mgrid[0:h, 0:w].astype(np.float64)
    a = (1 - smoothstep(reach * 0.35, reach, xs)) * smoothstep(y0 - 2, y0 + 12, ys) * (1 - smoothstep(y1 - 8, y1 + 24, ys))
    img[...] = lerp(img, np.array([34, 20, 58.0]), (0.62 * a)[..., None])


def _banner(img, y0, y1):
    """A full-width band of tinted glass with fine light edges: the table stands on it."""
    band = img[y0:y1]
    band[...] = lerp(band, np.array([26, 14, 58.0]), 0.66)
    for y, a in ((y0, 0.55), (y0 + 1, 0.2), (y1 - 1, 0.55), (y1 - 2, 0.2)):
        img[y] = lerp(img[y], np.array([255, 214, 196.0]), a)
    shadow = np.exp(-np.arange(10) / 3.0)[:, None, None] * 0.25
    img[y1:y1 + 10] *= 1 - shadow


def _distant_gulls(img):
    """A few far gulls against the sun: the game's promise in three strokes each."""
    c = SuperCanvas(200, 80, factor=8)
    for x, y, span in ((70.0, 40.0, 9.0), (104.0, 24.0, 6.5), (126.0, 50.0, 5.0)):
        c.line([(x - span, y - span * 0.25), (x - span * 0.45, y - span * 0.42), (x, y)], (64, 36, 76), span * 0.16)
        c.line([(x, y), (x + span * 0.45, y - span * 0.42), (x + span, y - span * 0.25)], (64, 36, 76), span * 0.16)
    color, alpha = c.overlay()
    blend(img, 300, 130, color, alpha * 0.85)


def backgrounds(pano):
    """(menu, settings, high scores) as float RGB 640x480 from the panorama."""
    window = pano[:, WINDOW_X:WINDOW_X + 640].copy()
    menu = window.copy()
    _side_shade(menu, 230, 420, 330)
    _distant_gulls(menu)
    _letter(menu, "Möwenschuss", 104, 52)

    settings = window.copy()
    _banner(settings, 122, 374)
    _letter(settings, "Einstellungen", 70, 26)

    scores = window.copy()
    _banner(scores, 122, 424)
    _letter(scores, "Highscores", 70, 26)
    return menu, settings, scores
