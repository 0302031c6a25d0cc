#!/usr/bin/python3
"""Pack the desktop icons of ICONDIR (NxN.png, made by make_assets.py) into one Windows .ico.

    /usr/bin/python3 tools/make_ico.py ICONDIR OUT.ico

The sizes Explorer, the Start menu and the taskbar ask for: 16 to 64 pixels as 32-bit
bitmaps with their transparency mask, which every Windows reads, and 256 pixels as PNG,
as Windows expects the large one. The same PNGs always give the same bytes.
"""
import io
import os
import struct
import sys

import numpy as np
from PIL import Image

BITMAP_SIZES = (16, 24, 32, 48, 64)
PNG_SIZES = (256,)


def _bitmap_entry(image):
    """A BITMAPINFOHEADER, the BGRA rows bottom-up, then the 1-bit mask (1 = transparent)."""
    rgba = np.asarray(image.convert("RGBA"), dtype=np.uint8)
    size = rgba.shape[0]
    bgra = rgba[::-1, :, [2, 1, 0, 3]].tobytes()
    row_bytes = (size + 31) // 32 * 4
    transparent = rgba[::-1, :, 3] == 0
    mask = np.zeros((size, row_bytes * 8), dtype=bool)
    mask[:, :size] = transparent
    mask_bytes = np.packbits(mask, axis=1).tobytes()
    # The height counts the colour rows and the mask rows together.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0,
                         len(bgra) + len(mask_bytes), 0, 0, 0, 0)
    return header + bgra + mask_bytes


def _png_entry(path):
    with open(path, "rb") as source:
        data = source.read()
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        raise ValueError(f"{path} is no PNG file")
    return data


def ico_bytes(icondir):
    entries = []
    for size in BITMAP_SIZES + PNG_SIZES:
        path = os.path.join(icondir, f"{size}x{size}.png")
        with Image.open(path) as image:
            if image.size != (size, size):
                raise ValueError(f"{path} is {image.size[0]}x{image.size[1]}, not {size}x{size}")
            data = _bitmap_entry(image) if size in BITMAP_SIZES else _png_entry(path)
        entries.append((size, data))
    out = io.BytesIO()
    out.write(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        # A width or height of 256 is written as 0.
        side = size % 256
        out.write(struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset))
        offset += len(data)
    for _, data in entries:
        out.write(data)
    return out.getvalue()


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    data = ico_bytes(argv[1])
    # Written beside and renamed, so a build stopped halfway leaves no broken icon.
    partial = argv[2] + ".part"
    with open(partial, "wb") as out:
        out.write(data)
    os.replace(partial, argv[2])
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except (ValueError, OSError) as err:
        print(f"make_ico: {err}", file=sys.stderr)
        sys.exit(1)
