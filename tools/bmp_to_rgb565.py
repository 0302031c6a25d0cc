#!/usr/bin/python3
"""Copy the game's picture and sound files into OUTDIR, each 24-bit BMP picture
rewritten as a 16-bit RGB565 BMP (BI_BITFIELDS); other files unchanged.

    /usr/bin/python3 tools/bmp_to_rgb565.py OUTDIR FILE...

For the browser's build, whose display is RGB565: the program converts every
picture to that layout as it loads it, by dropping the low bits of each
colour as SDL does, so the 16-bit file gives the same pixels. It is a third
of the 24-bit file's size with gzip (the dropped bits are the noise that
does not compress), and SDL reads it with a plain copy.
A file whose bytes would not change is not written again.
"""
import os
import struct
import sys

BI_RGB = 0
BI_BITFIELDS = 3


def rgb565_bmp(data):
    """The 16-bit BMP of a 24-bit BMP's bytes, or None for any other file."""
    if len(data) < 54 or data[:2] != b"BM":
        return None
    offset, header_size, width, height, planes, bits, compression = struct.unpack_from(
        "<I I i i H H I", data, 10)
    if header_size < 40 or bits != 24 or compression != BI_RGB or planes != 1 or width <= 0:
        return None
    rows = abs(height)
    in_stride = (width * 3 + 3) & ~3
    if offset + in_stride * rows > len(data):
        raise ValueError("the picture's pixels are cut short")
    out_stride = (width * 2 + 3) & ~3
    padding = bytes(out_stride - width * 2)
    # The low byte of a pixel holds green's low 3 bits and blue's top 5, the
    # high byte red's top 5 and green's top 3.
    low = bytes(((g >> 2) & 7) << 5 for g in range(256))
    pixels = bytearray()
    for row in range(rows):  # kept in the file's own order (bottom-up or not)
        start = offset + row * in_stride
        line = data[start:start + width * 3]
        blue, green, red = line[0::3], line[1::3], line[2::3]
        out = bytearray(width * 2)
        out[0::2] = bytes(low[g] | (b >> 3) for g, b in zip(green, blue))
        out[1::2] = bytes((r & 0xF8) | (g >> 5) for r, g in zip(red, green))
        pixels += out + padding
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    pixel_offset = 14 + 40 + len(masks)
    info = struct.pack("<I i i H H I I i i I I", 40, width, height, 1, 16, BI_BITFIELDS,
                       len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2s I H H I", b"BM", pixel_offset + len(pixels), 0, 0,
                              pixel_offset)
    return file_header + info + masks + bytes(pixels)


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for path in sys.argv[2:]:
        with open(path, "rb") as f:
            data = f.read()
        try:
            converted = rgb565_bmp(data)
        except (ValueError, struct.error) as error:
            print(f"{path}: {error}", file=sys.stderr)
            return 1
        out = os.path.join(out_dir, os.path.basename(path))
        content = converted if converted is not None else data
        if os.path.exists(out):
            with open(out, "rb") as f:
                if f.read() == content:
                    continue
        with open(out, "wb") as f:
            f.write(content)
    return 0


if __name__ == "__main__":
    sys.exit(main())
