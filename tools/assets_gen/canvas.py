"""A supersampled drawing surface: PIL shapes drawn at a multiple of the final size,
with a coverage mask, reduced either to a hard-edged keyed sprite or to a soft overlay."""
import numpy as np
from PIL import Image, ImageDraw

from . import keys


class SuperCanvas:
    def __init__(self, width, height, factor=8):
        self.width, self.height, self.f = width, height, factor
        self.color = Image.new("RGB", (width * factor, height * factor), (128, 128, 128))
        self.mask = Image.new("L", (width * factor, height * factor), 0)
        self._dc = ImageDraw.Draw(self.color)
        self._dm = ImageDraw.Draw(self.mask)

    def _pts(self, pts):
        return [(x * self.f, y * self.f) for x, y in pts]

    def polygon(self, pts, fill):
        p = self._pts(pts)
        self._dc.polygon(p, fill=tuple(int(c) for c in fill))
        self._dm.polygon(p, fill=255)

    def ellipse(self, cx, cy, rx, ry, fill):
        box = [(cx - rx) * self.f, (cy - ry) * self.f, (cx + rx) * self.f, (cy + ry) * self.f]
        self._dc.ellipse(box, fill=tuple(int(c) for c in fill))
        self._dm.ellipse(box, fill=255)

    def line(self, pts, fill, width):
        p = self._pts(pts)
        w = max(1, int(round(width * self.f)))
        self._dc.line(p, fill=tuple(int(c) for c in fill), width=w, joint="curve")
        self._dm.line(p, fill=255, width=w, joint="curve")

    def arrays(self):
        return np.asarray(self.color, dtype=np.float64), np.asarray(self.mask, dtype=np.float64) / 255.0

    def keyed(self, key):
        color, cover = self.arrays()
        return keys.resolve(color, cover, self.f, key)

    def overlay(self):
        """Soft (anti-aliased) result: float colour and coverage at the final size."""
        color, cover = self.arrays()
        h, w, f = self.height, self.width, self.f
        cov = cover.reshape(h, f, w, f)
        weight = cov.sum(axis=(1, 3))
        col = (color.reshape(h, f, w, f, 3) * cov[..., None]).sum(axis=(1, 3))
        col /= np.maximum(weight, 1e-9)[..., None]
        return col, weight / (f * f)


def blend(img, x0, y0, color, alpha):
    """Alpha-blend a float overlay into a float image at (x0, y0), clipped to the image."""
    h, w = alpha.shape
    H, W = img.shape[:2]
    xa, ya = max(0, x0), max(0, y0)
    xb, yb = min(W, x0 + w), min(H, y0 + h)
    if xa >= xb or ya >= yb:
        return
    a = alpha[ya - y0:yb - y0, xa - x0:xb - x0, None]
    c = color[ya - y0:yb - y0, xa - x0:xb - x0]
    img[ya:yb, xa:xb] = img[ya:yb, xa:xb] * (1 - a) + c * a
