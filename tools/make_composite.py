#!/usr/bin/python3
"""Compose a 640x480 look at a game screen from the generated assets, as a PNG.

    /usr/bin/python3 tools/make_composite.py OUT.png [ASSETDIR]

Panorama window, gulls at several distances, the ship in two lanes, splats, cartridges and
the crosshair, all scaled nearest-neighbour and keyed the way the game draws them.
"""
import os
import sys

import numpy as np
from PIL import Image

KEYS = {"blue": (0, 0, 255), "red": (255, 0, 0), "black": (0, 0, 0)}


def load(assets, name):
    path = os.path.join(assets, name)
    try:
        with Image.open(path) as im:
            return np.asarray(im.convert("RGB"))
    except OSError as err:
        raise SystemExit(f"make_composite: cannot read {path}: {err}")


def scale(img, w, h):
    """Nearest-neighbour like the game's scaled copy."""
    sy = (np.arange(h) * img.shape[0]) // h
    sx = (np.arange(w) * img.shape[1]) // w
    return img[sy][:, sx]


def put(screen, img, x, y, key):
    h, w = img.shape[:2]
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(screen.shape[1], x + w), min(screen.shape[0], y + h)
    if x0 >= x1 or y0 >= y1:
        return
    part = img[y0 - y:y1 - y, x0 - x:x1 - x]
    opaque = ~np.all(part == np.array(KEYS[key], dtype=np.uint8), axis=2)
    screen[y0:y1, x0:x1][opaque] = part[opaque]


def gull_size(distance):
    f = 1.0 / (distance * 0.25 + 0.5)
    return int(round(100 * f)), int(round(50 * f))


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    assets = argv[2] if len(argv) == 3 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")
    screen = load(assets, "5.pdk")[:, 640:1280].copy()
    gulls = {n: load(assets, f"{n}.pdk") for n in range(6, 12)}

    ship = load(assets, "14.pdk")
    put(screen, scale(ship, 133, 67), 60, 307 - 67, "red")
    put(screen, ship, 380, 420 - 100, "red")

    # Distance, frame, screen position: far ones high near the horizon, near ones low and big.
    flock = [(50, 7, 300, 224), (50, 9, 520, 215), (50, 6, 180, 226), (20, 8, 420, 190), (20, 10, 90, 170),
             (8, 11, 230, 120), (8, 9, 540, 140), (3, 7, 380, 60), (3, 10, 30, 250), (1, 8, 170, 300)]
    for distance, frame, x, y in flock:
        w, h = gull_size(distance)
        put(screen, scale(gulls[frame], w, h), x, y, "blue")

    splat = scale(load(assets, "13.pdk"), 50, 50)
    for x, y in ((470, 40), (40, 380), (300, 330)):
        put(screen, splat, x, y, "blue")
    cart = load(assets, "12.pdk")
    for i in range(1, 9):
        put(screen, cart, 600 - 20 * (i - 1), 420, "blue")
    put(screen, load(assets, "4.pdk"), 320 - 16, 200 - 16, "black")
    Image.fromarray(screen).save(argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
