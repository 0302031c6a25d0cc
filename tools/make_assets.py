#!/usr/bin/python3
"""Make every picture and sound of the game into OUTDIR, and the desktop icons into ICONDIR.

    /usr/bin/python3 tools/make_assets.py OUTDIR [ICONDIR]

Deterministic: fixed seeds and no time-dependent data, so two runs give identical bytes.
Needs Debian's python3-pil and python3-numpy and the fonts-liberation2 fonts.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assets_gen import files, gulls, icon, keys, scene, sounds, sprites, titles  # noqa: E402


def pictures(pano):
    """[(asset name, uint8 image, key colour or None, minimum sprite share, border must be key)]"""
    menu, settings, scores = titles.backgrounds(pano)
    u8 = files.to_u8
    out = [
        ("1.pdk", u8(menu), None, 0, False),
        ("2.pdk", u8(settings), None, 0, False),
        ("3.pdk", u8(scores), None, 0, False),
        ("4.pdk", sprites.cursor(), keys.BLACK, 0.08, False),
        ("5.pdk", u8(pano), None, 0, False),
    ]
    for number in range(6, 12):
        out.append((f"{number}.pdk", gulls.gull(number), keys.BLUE, 0.12, True))
    out += [
        ("12.pdk", sprites.cartridge(), keys.BLUE, 0.15, True),
        ("13.pdk", sprites.splat(), keys.BLUE, 0.2, True),
        ("14.pdk", sprites.ship(), keys.RED, 0.35, False),
    ]
    return out


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    pano = scene.panorama()
    for name, img, key, share, border in pictures(pano):
        if key is not None:
            keys.check_keyed(name, img, key, share, border)
        files.write_bmp(os.path.join(outdir, name), img)
        print(f"{name}: {img.shape[1]}x{img.shape[0]}")
    for name, samples in sounds.make_all():
        files.write_wav(os.path.join(outdir, name), samples)
        print(f"{name}: {len(samples) / files.SAMPLE_RATE:.2f} s")
    if len(argv) == 3:
        icondir = argv[2]
        os.makedirs(icondir, exist_ok=True)
        for size, image in icon.icons(pano):
            name = f"{size}x{size}.png"
            icon.write_png(os.path.join(icondir, name), image)
            print(f"{os.path.join(icondir, name)}: icon")
        name = f"maskable-{icon.MASTER}x{icon.MASTER}.png"
        icon.write_png(os.path.join(icondir, name), icon.maskable(pano))
        print(f"{os.path.join(icondir, name)}: icon")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except (ValueError, OSError) as err:
        print(f"make_assets: {err}", file=sys.stderr)
        sys.exit(1)
