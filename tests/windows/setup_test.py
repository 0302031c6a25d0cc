#!/usr/bin/python3
"""The setup program as an administrator uses it, silently, in a fresh Wine prefix.

Usage: setup_test.py SETUP_EXE GAME_EXE

- A second install, into a folder with umlauts and spaces, replaces the first: one
  folder with the zip's program and texts, one entry in "Apps" (Wine's registry: name,
  version, publisher, icon, size, uninstaller), a Start menu and a desktop link to it.
- The silent uninstall removes the files, the links and the entry, and keeps the
  players' tables: the one in the game's folder and the one in %APPDATA%.
- /CURRENTUSER does the same for the one user (Wine runs everything as an
  administrator): his programs folder, Start menu and desktop, the entry in HKCU.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
GOLDEN = ROOT / "tests" / "golden"
VERSION = re.search(r"project\(moewenschuss VERSION ([0-9.]+)",
                    (ROOT / "CMakeLists.txt").read_text()).group(1)
WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Moewenschuss"
FIRST = r"C:\Alte Spiele\Möwenschuss"
SECOND = r"C:\Spiele für alle\Möwen Schuß"
INSTALLED = ["moewenschuss.exe", "LIESMICH.txt", "LICENSE.txt",
             "Liberation-Schriften-Lizenz.txt", "Deinstallieren.exe"]
START_MENU, LINK = "Microsoft/Windows/Start Menu/Programs", "Möwenschuss.lnk"
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    if not ok:
        failures.append(what)


class Prefix:
    """A Wine prefix of its own, with its own home, so nothing of the user's is touched."""

    def __init__(self, work):
        self.root = work / "prefix"
        (work / "home").mkdir()
        # No OEDIR: the installed game keeps its table where it chooses.
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "OEDIR")}
        self.env.update(WINEPREFIX=str(self.root), HOME=str(work / "home"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", SDL_AUDIODRIVER="dummy",
                        SDL_VIDEODRIVER="dummy")
        self.run("wineboot", "--init")
        drive = self.root / "drive_c"
        self.user = next(p for p in (drive / "users").iterdir()
                         if p.name != "Public" and not p.is_symlink())
        # The game's links, in the Start menu and on the desktop, for every user (an entry
        # in HKLM) and for the one user (in HKCU; Wine makes his desktop a link to the home
        # folder).
        self.links_of = {"HKLM": [drive / "ProgramData" / START_MENU / LINK,
                                  drive / "users/Public/Desktop" / LINK],
                         "HKCU": [self.user / "AppData/Roaming" / START_MENU / LINK,
                                  self.user / "Desktop" / LINK]}

    def wine(self, *args, cwd=None):
        return subprocess.run([WINE, *args], env=self.env, cwd=cwd, capture_output=True,
                              timeout=300)

    def run(self, *args):
        """A program's status once every program of the prefix has ended (an uninstaller
        starts a copy of itself)."""
        status = self.wine(*args).returncode
        subprocess.run([WINESERVER, "-w"], env=self.env, timeout=300)
        return status

    def path(self, windows_path):
        assert windows_path[:3].upper() == "C:\\"
        return self.root / "drive_c" / windows_path[3:].replace("\\", "/")

    def uninstall_entries(self):
        """{hive: {value: text or number}} of the uninstall entry, for each hive that has one."""
        entries = {}
        for hive in ("HKLM", "HKCU"):
            out = Path(self.env["HOME"]) / f"{hive}.reg"
            result = self.wine("reg", "export", f"{hive}\\{KEY}", f"Z:{out}", "/y")
            if result.returncode != 0 or not out.exists():
                continue
            text = out.read_text(encoding="utf-16")  # its "\r\n" read as "\n"
            out.unlink()
            entries[hive] = {name: int(value[6:], 16) if value.startswith("dword:")
                             else re.sub(r'\\(.)', r'\1', value[1:-1])
                             for name, value in re.findall(r'^"([^"]+)"=(.*)$', text, re.M)}
        return entries

    def links(self):
        return [link for links in self.links_of.values() for link in links if link.exists()]


def install(prefix, setup, option, where):
    # Through cmd, as it hands a command line on: NSIS wants /D=... unquoted, spaces and all.
    status = prefix.run("cmd", "/c", f"{setup} /S {option}")
    check(status == 0, f"a silent install {where} (status {status})")


def check_installation(prefix, game_exe, folder, hive):
    where, exe = prefix.path(folder), folder + "\\moewenschuss.exe"
    check(sorted(p.name for p in where.iterdir()) == sorted(INSTALLED),
          f"{folder} holds the program, its texts and the uninstaller")
    check((where / "moewenschuss.exe").read_bytes() == Path(game_exe).read_bytes(),
          "the installed program is the one of the zip")
    for text in ("LIESMICH.txt", "LICENSE.txt"):
        staged = list((Path(game_exe).parent / "zip").glob(f"*/{text}"))
        check(len(staged) == 1 and (where / text).read_bytes() == staged[0].read_bytes(),
              f"{text} is the zip's")

    entries = prefix.uninstall_entries()
    check(sorted(entries) == [hive], f"one entry in \"Apps\", in {hive} (in {sorted(entries)})")
    entry = entries.get(hive, {})
    check(entry.get("DisplayName") == "Möwenschuss", f"its name ({entry.get('DisplayName')!r})")
    check(entry.get("DisplayVersion") == VERSION, f"its version {VERSION}")
    check(entry.get("Publisher") == "Möwenschuss-Team", "its publisher")
    check(entry.get("DisplayIcon") == exe + ",0", "its icon is the program's")
    check(entry.get("InstallLocation") == folder, "its folder")
    check(entry.get("UninstallString") == f'"{folder}\\Deinstallieren.exe"', "its uninstaller")
    size_kib = sum(p.stat().st_size for p in where.iterdir()) // 1024
    check(abs(entry.get("EstimatedSize", 0) - size_kib) <= 8,
          f"its size, {entry.get('EstimatedSize')} KiB (the folder: {size_kib} KiB)")

    links, whose = prefix.links(), {"HKLM": "every user's", "HKCU": "his own"}[hive]
    check(links == prefix.links_of[hive], f"one Start menu and one desktop link, {whose}")
    for link in links:
        data = link.read_bytes()
        check(exe.encode("utf-16-le") in data or exe.encode("cp1252", "replace") in data,
              f"{link.parent.name}/{link.name} starts the program")


def uninstall(prefix, folder, kept, whose):
    """The silent uninstall leaves of the folder only the files `kept` (None: no folder)."""
    status = prefix.run(folder + "\\Deinstallieren.exe", "/S")
    where = prefix.path(folder)
    left = sorted(p.name for p in where.iterdir()) if where.exists() else None
    check(status == 0, f"{whose} silent uninstall (status {status})")
    check(left == kept, f"{whose} uninstall left {kept or 'no folder'} ({left})")
    check(prefix.uninstall_entries() == {}, f"{whose} uninstall removed the entry in \"Apps\"")
    check(prefix.links() == [], f"{whose} uninstall removed the Start menu and desktop links")


def tables_of_players(prefix, folder, work):
    """A game whose table the program keeps where it chooses (the game's folder, as it is
    writable under Wine), and a table in %APPDATA% as the game keeps it where it is not."""
    prefix.wine(str(prefix.path(folder) / "moewenschuss.exe"), "--headless",
                str(GOLDEN / "highscores.script"), cwd=work)
    in_folder = prefix.path(folder) / "highscores.pdk"
    check(in_folder.exists(), "the installed program saves its table beside itself")
    in_appdata = prefix.user / "AppData/Roaming/moewenschuss/highscores.pdk"
    in_appdata.parent.mkdir(parents=True, exist_ok=True)
    shutil.copy(GOLDEN / "highscores.table", in_appdata)
    return {path: path.read_bytes() for path in (in_folder, in_appdata) if path.exists()}


def main(setup_exe, game_exe):
    work = Path(tempfile.mkdtemp(prefix="setup-test-"))
    try:
        prefix = Prefix(work)
        setup = "C:\\" + Path(setup_exe).name
        shutil.copy(setup_exe, prefix.path(setup))

        install(prefix, setup, f"/D={FIRST}", f"into {FIRST}")
        check((prefix.path(FIRST) / "moewenschuss.exe").exists(), "the first install is there")
        install(prefix, setup, f"/D={SECOND}", f"into {SECOND}")
        check(not prefix.path(FIRST).exists(), "the second install removed the first one")
        check_installation(prefix, game_exe, SECOND, "HKLM")
        tables = tables_of_players(prefix, SECOND, work)
        uninstall(prefix, SECOND, ["highscores.pdk"], "the")
        for path, data in tables.items():
            check(path.exists() and path.read_bytes() == data,
                  f"the table {path.name} in {path.parent.name} is kept unchanged")

        install(prefix, setup, "/CURRENTUSER", "for the one user")
        # From either hive, so that an entry in the wrong one still has its checks.
        folder = next(iter(prefix.uninstall_entries().values()), {}).get("InstallLocation", "")
        mine = f"C:\\users\\{prefix.user.name}\\AppData\\Local\\Programs\\Möwenschuss"
        check(folder.lower() == mine.lower(), f"into his programs folder ({folder})")
        if folder:
            check_installation(prefix, game_exe, folder, "HKCU")
            uninstall(prefix, folder, None, "his")
    finally:
        subprocess.run([WINESERVER, "-k"], env=dict(os.environ, WINEPREFIX=str(work / "prefix")),
                       capture_output=True)
        shutil.rmtree(work, ignore_errors=True)
    print(f"setup_test: FAILED, {len(failures)} check(s)" if failures else "setup_test: passed")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*(str(Path(arg).resolve()) for arg in sys.argv[1:])))
