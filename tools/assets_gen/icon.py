"""The desktop icon: the gull with raised wings against the evening sun, on a rounded tile.

One master is painted at 512 pixels from the same panorama and gull drawing the game uses,
with the title lettering's dark violet as outline; every icon size is reduced from it. The
page's home-screen icon that a phone cuts to its own shape (a "maskable" one) is painted apart:
the sky to every edge and the whole gull inside the middle circle that every shape keeps.
"""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from . import gulls, scene
from .files import to_u8

SIZES = (16, 24, 32, 48, 64, 128, 192, 256, 512)
MASTER = 512
OUTLINE = (58, 24, 72)     # the title lettering's outline
POSE = 10                  # wings up: reads as a gull even at 16 pixels


def _sky_tile(pano):
    """A square of the panorama around the sun, sea in the lower part, at master size."""
    side = 300
    x0 = scene.SUN_X - side // 2
    y0 = scene.HORIZON - side * 5 // 8
    crop = Image.fromarray(to_u8(pano[y0:y0 + side, x0:x0 + side]), "RGB")
    return crop.resize((MASTER, MASTER), Image.LANCZOS).convert("RGBA")


def _tile_mask(margin, radius):
    mask = Image.new("L", (MASTER, MASTER), 0)
    ImageDraw.Draw(mask).rounded_rectangle(
        [margin, margin, MASTER - 1 - margin, MASTER - 1 - margin], radius=radius, fill=255)
    return mask


def _gull_layer(width, centre_y, outline):
    """The gull, `width` pixels wide, with a dark outline `outline` pixels thick, as RGBA."""
    canvas = gulls.drawn(POSE, factor=8)
    color, cover = canvas.arrays()
    big = Image.fromarray(to_u8(color), "RGB")
    big.putalpha(Image.fromarray(to_u8(cover * 255.0), "L"))
    height = round(width * gulls.H / gulls.W)
    body = big.resize((width, height), Image.LANCZOS)
    alpha = body.getchannel("A")
    ring = alpha.filter(ImageFilter.MaxFilter(2 * outline + 1))
    layer = Image.new("RGBA", (MASTER, MASTER), (0, 0, 0, 0))
    x0, y0 = (MASTER - width) // 2, centre_y - height // 2
    dark = Image.new("RGBA", body.size, OUTLINE + (255,))
    dark.putalpha(ring)
    layer.alpha_composite(dark, (x0, y0))
    layer.alpha_composite(body, (x0, y0))
    return layer


def master(pano):
    margin, radius, border = 16, 96, 10
    tile = _sky_tile(pano)
    mask = _tile_mask(margin, radius)
    inner = _tile_mask(margin + border, radius - border)
    frame = Image.new("RGBA", (MASTER, MASTER), OUTLINE + (255,))
    frame.alpha_composite(Image.composite(tile, frame, inner))
    frame.alpha_composite(_gull_layer(MASTER - 40, MASTER // 2 - 6, 9))
    frame.putalpha(mask)
    return frame


def icons(pano):
    """[(size, RGBA image)] for every icon size."""
    big = master(pano)
    return [(size, big if size == MASTER else big.resize((size, size), Image.LANCZOS))
            for size in SIZES]


# A phone may cut a maskable icon down to the circle of 40 % of its side around the middle.
SAFE_RADIUS = MASTER * 2 // 5


def maskable(pano):
    """The opaque square icon whose gull, outline included, lies inside the safe circle."""
    outline = 7
    # The gull's box, outline included, fits the circle with a few pixels to spare.
    half_diagonal = SAFE_RADIUS - outline - 6
    width = int(2 * half_diagonal / (1 + (gulls.H / gulls.W) ** 2) ** 0.5)
    frame = _sky_tile(pano)
    frame.alpha_composite(_gull_layer(width, MASTER // 2, outline))
    return frame


def write_png(path, image):
    """PNG without time or text chunks, so the same picture always gives the same bytes."""
    image.save(path, format="PNG", optimize=False, compress_level=9)
