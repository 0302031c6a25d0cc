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
    """A PE32+ file's machine and resources: {(type, id): {language: bytes}}."""

    def __init__(self, path):
        self.data = Path(path).read_bytes()
        d = self.data
        if d[:2] != b"MZ":
            raise ValueError(f"{path}: no Windows program")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: no PE header")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", d, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", d, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        resource_rva, _ = struct.unpack_from("<II", d, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, vaddr, rsize, raddr = struct.unpack_from("<8sIIII", d, table + 40 * i)
            self.sections.append((name.rstrip(b"\0"), vaddr, max(vsize, rsize), raddr))
        self.resources = {}
        if resource_rva:
            base = self.offset(resource_rva)
            for type_id, type_dir in self._entries(base, base):
                for name_id, name_dir in self._entries(base, type_dir):
                    for lang, leaf in self._entries(base, name_dir):
                        rva, size = struct.unpack_from("<II", d, leaf)
                        start = self.offset(rva)
                        self.resources.setdefault((type_id, name_id), {})[lang] = d[start:start + size]

    def offset(self, rva):
        for _, vaddr, size, raddr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raddr
        raise ValueError(f"address {rva:#x} in no section")

    def _entries(self, base, directory):
        named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
        for i in range(named + numbered):
            ident, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
            if ident & 0x80000000:
                length = struct.unpack_from("<H", self.data, base + (ident & 0x7FFFFFFF))[0]
                start = base + (ident & 0x7FFFFFFF) + 2
                ident = self.data[start:start + 2 * length].decode("utf-16-le")
            yield ident, base + (target & 0x7FFFFFFF)

    def one(self, kind, ident):
        """The resource's bytes and language, or (None, None)."""
        found = self.resources.get((kind, ident), {})
        if len(found) != 1:
            return None, None
        (lang, data), = found.items()
        return data, lang

    def icon_group(self, ident):
        """The icon group as the .ico file it was made from, or None."""
        group, _ = self.one(RT_GROUP_ICON, ident)
        if group is None:
            return None
        _, kind, count = struct.unpack_from("<HHH", group, 0)
        entries, images = [], []
        for i in range(count):
            w, h, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group,
                                                                              6 + 14 * i)
            image, _ = self.one(RT_ICON, icon_id)
            if image is None or len(image) != size:
                return None
            entries.append((w, h, colours, planes, bits, size))
            images.append(image)
        out = io.BytesIO()
        out.write(struct.pack("<HHH", 0, kind, count))
        offset = 6 + 16 * count
        for (w, h, colours, planes, bits, size) in entries:
            out.write(struct.pack("<BBBBHHII", w, h, colours, 0, planes, bits, size, offset))
            offset += size
        for image in images:
            out.write(image)
        return out.getvalue()


def version_info(block):
    """VS_VERSIONINFO as (fixed file info, {language block: {key: value}}, translations)."""

    def node(at):
        length, value_length, text = struct.unpack_from("<HHH", block, at)
        end_key = at + 6
        while block[end_key:end_key + 2] != b"\0\0":
            end_key += 2
        key = block[at + 6:end_key].decode("utf-16-le")
        value_at = (end_key + 2 + 3) & ~3
        value_size = value_length * 2 if text else value_length
        value = block[value_at:value_at + value_size]
        children, child = [], (value_at + value_size + 3) & ~3
        while child < at + length:
            children.append(node(child))
            child = (child + children[-1][3] + 3) & ~3
        return key, value, children, length

    key, fixed, children, _ = node(0)
    if key != "VS_VERSION_INFO":
        raise ValueError("no VS_VERSION_INFO")
    strings, translations = {}, []
    for name, _, blocks, _ in children:
        if name == "StringFileInfo":
            for language, _, values, _ in blocks:
                strings[language] = {k: v.decode("utf-16-le").rstrip("\0") for k, v, _, _ in values}
        elif name == "VarFileInfo":
            for _, value, _, _ in blocks:
                translations += [struct.unpack_from("<HH", value, i) for i in range(0, len(value), 4)]
    return fixed, strings, translations


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
    block, _ = program.one(RT_VERSION, 1)
    check(block is not None, f"{what}: version information")
    if block is None:
        return
    fixed, strings, translations = version_info(block)
    signature, _, ms, ls = struct.unpack_from("<IIII", fixed, 0)
    version = project_version()
    quad = [int(p) for p in (version + ".0").split(".")][:4]
    check(signature == 0xFEEF04BD and [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF] == quad,
          f"{what}: file version {'.'.join(map(str, quad))}")
    german = strings.get("040704B0") or strings.get("040704b0") or {}
    check(bool(german), f"{what}: the strings are German, Unicode (040704B0; found {list(strings)})")
    for key, value in names.items():
        value = value.replace("VERSION", version)
        check(german.get(key) == value, f"{what}: {key} is \"{value}\" (found {german.get(key)!r})")
    if translations:
        check(translations == [(0x0407, 1200)], f"{what}: the translation is German, Unicode")


def check_manifest(program):
    data, _ = program.one(RT_MANIFEST, 1)
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
    setup_manifest, _ = setup.one(RT_MANIFEST, 1)
    check(setup_manifest is not None and b"dpiAware" in setup_manifest,
          "setup: a DPI-aware manifest of its own")


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    try:
        sys.exit(main(*sys.argv[1:]))
    except (ValueError, OSError, struct.error, ET.ParseError) as err:
        print(f"resources_test: FAILED, {err}")
        sys.exit(1)
