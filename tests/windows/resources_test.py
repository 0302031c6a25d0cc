#!/usr/bin/python3
"""What Explorer, the Start menu and Windows itself read from the built programs.

Usage: resources_test.py GAME_EXE [SETUP_EXE]

- The game's icon holds 16 to 256 pixels, each the very picture of dist/icons/.
- Its version information: German, the project's version, the names a player sees.
- Its manifest: per-monitor DPI awareness, Windows 7 to 11, UTF-8, long paths, no
  administrator.
- The setup program is a 64-bit program with the same icon and the same version, and
  DPI-aware itself.
"""
import io
import re
import struct
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

import numpy as np
import pefile
from PIL import Image

ROOT = Path(__file__).resolve().parents[2]
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ICON_SIZES = [16, 24, 32, 48, 64, 256]
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    if not ok:
        failures.append(what)


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(moewenschuss VERSION ([0-9.]+)", text).group(1)


class Program:
    """A Windows program's machine, version information and resources:
    {(type, id): {language: bytes}}."""

    def __init__(self, path):
        self.pe = pefile.PE(path)
        self.machine = self.pe.FILE_HEADER.Machine
        self.resources = {}
        directory = getattr(self.pe, "DIRECTORY_ENTRY_RESOURCE", None)
        for kind in directory.entries if directory else []:
            for name in kind.directory.entries:
                for language in name.directory.entries:
                    data = language.data.struct
                    self.resources.setdefault((kind.id, name.id), {})[language.id] = \
                        self.pe.get_data(data.OffsetToData, data.Size)

    def one(self, kind, ident):
        """The resource's bytes, or None unless it is there in one language."""
        found = self.resources.get((kind, ident), {})
        return next(iter(found.values())) if len(found) == 1 else None

    def icon_group(self, ident):
        """The icon group as the .ico file it was made from, or None."""
        group = self.one(RT_GROUP_ICON, ident)
        if group is None:
            return None
        _, kind, count = struct.unpack_from("<HHH", group, 0)
        header, images = struct.pack("<HHH", 0, kind, count), []
        offset = 6 + 16 * count
        for i in range(count):
            w, h, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            image = self.one(RT_ICON, icon_id)
            if image is None or len(image) != size:
                return None
            header += struct.pack("<BBBBHHII", w, h, colours, 0, planes, bits, size, offset)
            offset += size
            images.append(image)
        return header + b"".join(images)


def check_icon(program, what):
    groups = [ident for kind, ident in program.resources if kind == RT_GROUP_ICON]
    ico = program.icon_group(groups[0]) if len(groups) == 1 else None
    check(ico is not None, f"{what}: one icon whose pictures are all there (groups {groups})")
    if ico is None:
        return
    with Image.open(io.BytesIO(ico)) as image:
        sizes = sorted(w for w, _ in image.info["sizes"])
        check(sizes == ICON_SIZES, f"{what}: icon sizes {ICON_SIZES} (found {sizes})")
        for size in sizes:
            image.size = (size, size)
            got = np.asarray(image.convert("RGBA"))
            want = np.asarray(Image.open(ROOT / "dist" / "icons" / f"{size}x{size}.png").convert("RGBA"))
            check(np.array_equal(got, want), f"{what}: the {size}-pixel icon is dist/icons/{size}x{size}.png")


def check_version(program, what, names):
    fixed = getattr(program.pe, "VS_FIXEDFILEINFO", None)
    check(fixed is not None and program.one(RT_VERSION, 1) is not None, f"{what}: version information")
    if fixed is None:
        return
    strings, translations = {}, []
    for info in (entry for group in program.pe.FileInfo for entry in group):
        for table in getattr(info, "StringTable", []):
            strings[table.LangID.decode().upper()] = {k.decode(): v.decode() for k, v in table.entries.items()}
        for var in getattr(info, "Var", []):
            translations += var.entry.get(b"Translation", "").split()
    version = project_version()
    quad = [int(p) for p in (version + ".0").split(".")][:4]
    ms, ls = fixed[0].FileVersionMS, fixed[0].FileVersionLS
    check(fixed[0].Signature == 0xFEEF04BD and [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF] == quad,
          f"{what}: file version {'.'.join(map(str, quad))}")
    german = strings.get("040704B0", {})
    check(bool(german), f"{what}: the strings are German, Unicode (040704B0; found {list(strings)})")
    for key, value in names.items():
        value = value.replace("VERSION", version)
        check(german.get(key) == value, f"{what}: {key} is \"{value}\" (found {german.get(key)!r})")
    if translations:
        check([int(t, 16) for t in translations] == [0x0407, 1200], f"{what}: the translation is German, Unicode")


def check_manifest(program):
    data = program.one(RT_MANIFEST, 1)
    check(data is not None, "game: a manifest (resource 24, 1)")
    if data is None:
        return
    root = ET.fromstring(data)

    def text_of(tag):
        found = [e.text.strip() for e in root.iter() if e.tag.endswith("}" + tag) and e.text]
        return found[0] if found else None

    awareness = [p.strip() for p in (text_of("dpiAwareness") or "").split(",")]
    check(awareness[:1] == ["PerMonitorV2"], f"game: DPI awareness per monitor, v2 first ({awareness})")
    check(text_of("dpiAware") == "true/pm", "game: dpiAware for the older Windows versions")
    check(text_of("activeCodePage") == "UTF-8", "game: UTF-8 as the process code page")
    check(text_of("longPathAware") == "true", "game: long path awareness")
    supported = {e.get("Id").lower() for e in root.iter() if e.tag.endswith("}supportedOS")}
    wanted = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
              "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
              "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
              "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}  # 10 and 11
    check(supported == wanted, "game: supports Windows 7, 8, 8.1 and 10/11")
    levels = [e.get("level") for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
    check(levels == ["asInvoker"], "game: starts without asking for an administrator")
    identity = [e.get("version") for e in root.iter() if e.tag.endswith("}assemblyIdentity")]
    check(identity == [project_version() + ".0"], f"game: the manifest names version {identity}")


def main(game_path, setup_path=None):
    game = Program(game_path)
    check(game.machine == 0x8664, "game: a 64-bit program")
    check_icon(game, "game")
    check_version(game, "game", {
        "ProductName": "Möwenschuss", "FileDescription": "Möwenschuss",
        "FileVersion": "VERSION", "ProductVersion": "VERSION",
        "OriginalFilename": "moewenschuss.exe", "InternalName": "moewenschuss"})
    check_manifest(game)

    if setup_path is not None:
        check_setup(Program(setup_path))
    if failures:
        print(f"resources_test: FAILED, {len(failures)} check(s)")
        return 1
    print("resources_test: passed")
    return 0


def check_setup(setup):
    check(setup.machine == 0x8664, "setup: a 64-bit program (Wine's wine64 runs it)")
    check_icon(setup, "setup")
    check_version(setup, "setup", {"ProductName": "Möwenschuss", "ProductVersion": "VERSION"})
    setup_manifest = setup.one(RT_MANIFEST, 1)
    check(setup_manifest is not None and b"dpiAware" in setup_manifest,
          "setup: a DPI-aware manifest of its own")


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    try:
        sys.exit(main(*sys.argv[1:]))
    except (pefile.PEFormatError, OSError, struct.error, ET.ParseError) as err:
        print(f"resources_test: FAILED, {err}")
        sys.exit(1)
