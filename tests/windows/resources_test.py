#!/usr/bin/python3
"""What Explorer, the Start menu and Windows itself read from the built programs.

Usage: resources_test.py GAME_EXE [SETUP_EXE]

- The game's icon holds 16 to 256 pixels, each the very picture of dist/icons/.
- Its version information: German, the project's version, the names a player sees.
- Its manifest: per-monitor DPI awareness, Windows 7 to 11, UTF-8, long paths, no
  administrator.
- The setup program: 64-bit, with the same icon and version, and DPI-aware itself.
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
VERSION = re.search(r"project\(moewenschuss VERSION ([0-9.]+)",
                    (ROOT / "CMakeLists.txt").read_text()).group(1)
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ICON_SIZES = [16, 24, 32, 48, 64, 256]
SETUP_NAMES = {"ProductName": "Möwenschuss", "ProductVersion": VERSION}
GAME_NAMES = dict(SETUP_NAMES, FileDescription="Möwenschuss", FileVersion=VERSION,
                  OriginalFilename="moewenschuss.exe", InternalName="moewenschuss")
# The ids by which a manifest names the Windows versions it supports.
WINDOWS_7_TO_11 = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",   # 7
                   "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",   # 8
                   "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",   # 8.1
                   "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}  # 10 and 11
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    if not ok:
        failures.append(what)
    return ok


class Program:
    """A Windows program's headers and version information (pe), and its resources:
    {(type, id): {language: bytes}}."""

    def __init__(self, path):
        self.pe = pefile.PE(path)
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
            w, h, colours, _, planes, bits, size, icon_id = \
                struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            image = self.one(RT_ICON, icon_id)
            if image is None or len(image) != size:
                return None
            header += struct.pack("<BBBBHHII", w, h, colours, 0, planes, bits, size, offset)
            offset += size
            images.append(image)
        return header + b"".join(images)


def check_program(path, what, names):
    """A 64-bit program (Wine's wine64 runs the setup program too) with the game's icon and
    version information."""
    program = Program(path)
    check(program.pe.FILE_HEADER.Machine == 0x8664, f"{what}: a 64-bit program")
    groups = [ident for kind, ident in program.resources if kind == RT_GROUP_ICON]
    ico = program.icon_group(groups[0]) if len(groups) == 1 else None
    if check(ico is not None, f"{what}: one icon whose pictures are all there (groups {groups})"):
        with Image.open(io.BytesIO(ico)) as image:
            sizes = sorted(w for w, _ in image.info["sizes"])
            check(sizes == ICON_SIZES, f"{what}: icon sizes {ICON_SIZES} (found {sizes})")
            for size in sizes:
                image.size = (size, size)
                png = Image.open(ROOT / "dist" / "icons" / f"{size}x{size}.png")
                check(np.array_equal(*(np.asarray(i.convert("RGBA")) for i in (image, png))),
                      f"{what}: the {size}-pixel icon is dist/icons/{size}x{size}.png")
    check_version(program, what, names)
    return program


def check_version(program, what, names):
    fixed = getattr(program.pe, "VS_FIXEDFILEINFO", None)
    check(fixed is not None and program.one(RT_VERSION, 1) is not None,
          f"{what}: version information")
    if fixed is None:
        return
    strings, translations = {}, []
    for info in (entry for group in program.pe.FileInfo for entry in group):
        for table in getattr(info, "StringTable", []):
            strings[table.LangID.decode().upper()] = {k.decode(): v.decode()
                                                      for k, v in table.entries.items()}
        for var in getattr(info, "Var", []):
            translations += var.entry.get(b"Translation", "").split()
    quad = [int(p) for p in (VERSION + ".0").split(".")][:4]
    ms, ls = fixed[0].FileVersionMS, fixed[0].FileVersionLS
    check(fixed[0].Signature == 0xFEEF04BD and
          [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF] == quad,
          f"{what}: file version {'.'.join(map(str, quad))}")
    german = strings.get("040704B0", {})
    check(bool(german),
          f"{what}: the strings are German, Unicode (040704B0; found {list(strings)})")
    for key, value in names.items():
        check(german.get(key) == value, f"{what}: {key} is \"{value}\" (found {german.get(key)!r})")
    if translations:
        check([int(t, 16) for t in translations] == [0x0407, 1200],
              f"{what}: the translation is German, Unicode")


def check_manifest(program):
    data = program.one(RT_MANIFEST, 1)
    if not check(data is not None, "game: a manifest (resource 24, 1)"):
        return
    root = ET.fromstring(data)

    def found(tag, attribute=None):
        """The texts of the elements `tag`, whatever their name space, or their `attribute`."""
        elements = [e for e in root.iter() if e.tag.endswith("}" + tag)]
        return [e.get(attribute) if attribute else (e.text or "").strip() for e in elements]

    awareness = [p.strip() for p in "".join(found("dpiAwareness")[:1]).split(",")]
    check(awareness[:1] == ["PerMonitorV2"],
          f"game: DPI awareness per monitor, v2 first ({awareness})")
    check(found("dpiAware") == ["true/pm"], "game: dpiAware for the older Windows versions")
    check(found("activeCodePage") == ["UTF-8"], "game: UTF-8 as the process code page")
    check(found("longPathAware") == ["true"], "game: long path awareness")
    check({i.lower() for i in found("supportedOS", "Id")} == WINDOWS_7_TO_11,
          "game: supports Windows 7, 8, 8.1 and 10/11")
    check(found("requestedExecutionLevel", "level") == ["asInvoker"],
          "game: starts without asking for an administrator")
    identity = found("assemblyIdentity", "version")
    check(identity == [VERSION + ".0"], f"game: the manifest names version {identity}")


def main(game_path, setup_path=None):
    game = check_program(game_path, "game", GAME_NAMES)
    check_manifest(game)
    if setup_path is not None:
        setup = check_program(setup_path, "setup", SETUP_NAMES)
        manifest = setup.one(RT_MANIFEST, 1)
        check(manifest is not None and b"dpiAware" in manifest,
              "setup: a DPI-aware manifest of its own")
    print("resources_test: " + (f"FAILED, {len(failures)} check(s)" if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    try:
        sys.exit(main(*sys.argv[1:]))
    except (pefile.PEFormatError, OSError, struct.error, ET.ParseError) as err:
        print(f"resources_test: FAILED, {err}")
        sys.exit(1)
