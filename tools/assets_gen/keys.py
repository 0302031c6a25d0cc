"""Hard-edged sprites on a key colour, and the checks that keep the key unambiguous.

The game shows pictures at 16 bits per pixel (5-6-5 or 5-5-5). A sprite pixel that lands on
the key value after that reduction would turn transparent, so sprites are kept well away
from the key, and sprite edges are never blended into the key colour.
"""
import numpy as np

BLUE = (0, 0, 255)
RED = (255, 0, 0)
BLACK = (0, 0, 0)

# Further than this in some channel from the key: safe under truncation and rounding alike.
MIN_KEY_DISTANCE = 16


def rgb565(rgb):
    rgb = rgb.astype(np.uint32)
    return ((rgb[..., 0] >> 3) << 11) | ((rgb[..., 1] >> 2) << 5) | (rgb[..., 2] >> 3)


def rgb555(rgb):
    rgb = rgb.astype(np.uint32)
    return ((rgb[..., 0] >> 3) << 10) | ((rgb[..., 1] >> 3) << 5) | (rgb[..., 2] >> 3)


def resolve(color_ss, cover_ss, factor, key):
    """Downsample a supersampled drawing into a hard-edged keyed sprite.

    color_ss: (H*f)x(W*f)x3 float colours; cover_ss: (H*f)x(W*f) coverage 0..1.
    A pixel belongs to the sprite when at least half of it is covered; its colour is the
    coverage-weighted mean of the covered subsamples only, so no key colour leaks in.
    """
    h, w = cover_ss.shape[0] // factor, cover_ss.shape[1] // factor
    cov = cover_ss.reshape(h, factor, w, factor).astype(np.float64)
    col = color_ss.reshape(h, factor, w, factor, 3).astype(np.float64)
    weight = cov.sum(axis=(1, 3))
    mean = (col * cov[..., None]).sum(axis=(1, 3)) / np.maximum(weight, 1e-9)[..., None]
    inside = weight >= 0.5 * factor * factor
    out = np.empty((h, w, 3), dtype=np.uint8)
    out[...] = key
    out[inside] = np.clip(np.rint(mean[inside]), 0, 255).astype(np.uint8)
    return keep_off_key(out, inside, key)


def keep_off_key(img, inside, key):
    """Push any sprite pixel that is too close to the key colour away from it."""
    img = img.copy()
    key_arr = np.array(key, dtype=np.int32)
    diff = np.abs(img.astype(np.int32) - key_arr).max(axis=2)
    near = inside & (diff < MIN_KEY_DISTANCE)
    if near.any():
        px = img[near].astype(np.int32)
        # Move the channel that can move furthest away from the key.
        for c in range(3):
            toward = np.where(key_arr[c] > 127, -MIN_KEY_DISTANCE, MIN_KEY_DISTANCE)
            px[:, c] = np.where(np.abs(px[:, c] - key_arr[c]) < MIN_KEY_DISTANCE, key_arr[c] + toward, px[:, c])
        img[near] = np.clip(px, 0, 255).astype(np.uint8)
    return img


def check_keyed(name, img, key, min_share, border_is_key=True):
    """Fail loudly if a keyed picture breaks the rules the game relies on."""
    key_arr = np.array(key, dtype=np.uint8)
    is_key = np.all(img == key_arr, axis=2)
    for layout, fn in (("RGB565", rgb565), ("RGB555", rgb555)):
        key16 = fn(key_arr[None, None, :])[0, 0]
        collide = (fn(img) == key16) & ~is_key
        if collide.any():
            y, x = np.argwhere(collide)[0]
            raise ValueError(f"{name}: pixel ({x},{y}) {tuple(img[y, x])} turns into the key in {layout}")
    share = 1.0 - is_key.mean()
    if share < min_share:
        raise ValueError(f"{name}: only {share:.0%} of the picture is sprite, expected at least {min_share:.0%}")
    if border_is_key:
        edge = np.concatenate([is_key[0], is_key[-1], is_key[:, 0], is_key[:, -1]])
        if not edge.all():
            raise ValueError(f"{name}: the sprite touches the picture's border")
