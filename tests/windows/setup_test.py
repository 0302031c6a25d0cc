#!/usr/bin/python3
"""The setup program as an administrator uses it, silently, in a fresh Wine prefix.

Usage: setup_test.py SETUP_EXE GAME_EXE

- A first install, then a second one into another folder with umlauts and spaces:
  the second replaces the first (one folder, one entry in "Apps", one Start menu
  link), and holds the very program of the zip with its texts.
- The entry in "Apps" (Wine's registry): name, version, publisher, icon, size,
  uninstaller; the Start menu and desktop links point at the program.
- The silent uninstall removes the files, the links and the entry, and keeps the
  players' tables: the one in the game's folder and the one in %APPDATA%.
- /CURRENTUSER installs for the one user (Wine runs everything as an administrator):
  into his programs folder, his Start menu and desktop, the entry in HKCU; and its
  uninstaller removes it all again.
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
WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Moewenschuss"
FIRST = r"C:\Alte Spiele\Möwenschuss"
SECOND = r"C:\Spiele für alle\Möwen Schuß"
INSTALLED = ["moewenschuss.exe", "LIESMICH.txt", "LICENSE.txt",
             "Liberation-Schriften-Lizenz.txt", "Deinstallieren.exe"]
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    if not ok:
        failures.append(what)


class Prefix:
    """A Wine prefix of its own, with its own home, so nothing of the user's is touched."""

    def __init__(self, work):
        self.root = work / "prefix"
        home = work / "home"
        home.mkdir()
        self.env = dict(os.environ, WINEPREFIX=str(self.root), HOME=str(home), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", SDL_AUDIODRIVER="dummy",
                        SDL_VIDEODRIVER="dummy")
        self.env.pop("DISPLAY", None)
        self.wine("wineboot", "--init")
        self.wait()

    def wine(self, *args, cwd=None, timeout=300):
        return subprocess.run([WINE, *args], env=self.env, cwd=cwd, capture_output=True,
                              timeout=timeout)

    def wait(self):
        """Until every program of the prefix has ended (an uninstaller starts a copy of itself)."""
        subprocess.run([WINESERVER, "-w"], env=self.env, timeout=300)

    def path(self, windows_path):
        """The Linux path of a path on drive C:."""
        assert windows_path[:3].upper() == "C:\\"
        return self.root / "drive_c" / windows_path[3:].replace("\\", "/")

    def command(self, line):
        """A command line as Windows' cmd hands it on: NSIS wants /D=... unquoted, spaces and all."""
        result = self.wine("cmd", "/c", line)
        self.wait()
        return result.returncode

    def uninstall_entries(self):
        """{hive: {value: text}} of the uninstall entry, for each hive that has one."""
        entries = {}
        for hive in ("HKLM", "HKCU"):
            out = Path(self.env["HOME"]) / f"{hive}.reg"
            result = self.wine("reg", "export", f"{hive}\\{KEY}", f"Z:{out}", "/y")
            if result.returncode != 0 or not out.exists():
                continue
            text = out.read_bytes().decode("utf-16").replace("\r\n", "\n")
            out.unlink()
            values = {}
            for name, value in re.findall(r'^"([^"]+)"=(.*)$', text, re.M):
                if value.startswith("dword:"):
                    values[name] = int(value[6:], 16)
                else:
                    values[name] = re.sub(r'\\(.)', r'\1', value[1:-1])
            entries[hive] = values
        return entries

    def links(self):
        """The game's links in the Start menus and on the desktops, the common ones and the
        user's (Wine makes the user's desktop a link to the home folder)."""
        drive = self.root / "drive_c"
        user = self.appdata().parents[1]
        places = [drive / "ProgramData/Microsoft/Windows/Start Menu/Programs",
                  drive / "users/Public/Desktop",
                  user / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs",
                  user / "Desktop"]
        return [place / "Möwenschuss.lnk" for place in places
                if (place / "Möwenschuss.lnk").exists()]

    def appdata(self):
        users = [p for p in (self.root / "drive_c" / "users").iterdir()
                 if p.name != "Public" and not p.is_symlink()]
        return users[0] / "AppData" / "Roaming"


def links_point_at(link, exe_windows_path):
    data = link.read_bytes()
    return (exe_windows_path.encode("utf-16-le") in data or
            exe_windows_path.encode("cp1252", "replace") in data)


def install(prefix, setup, folder):
    status = prefix.command(f"{setup} /S /D={folder}")
    check(status == 0, f"a silent install into {folder} (status {status})")


def check_installation(prefix, game_exe, folder):
    where = prefix.path(folder)
    check(sorted(p.name for p in where.iterdir()) == sorted(INSTALLED),
          f"{folder} holds the program, its texts and the uninstaller")
    check((where / "moewenschuss.exe").read_bytes() == Path(game_exe).read_bytes(),
          "the installed program is the one of the zip")
    stage = Path(game_exe).parent / "zip"
    for text in ("LIESMICH.txt", "LICENSE.txt"):
        staged = list(stage.glob(f"*/{text}"))
        check(len(staged) == 1 and (where / text).read_bytes() == staged[0].read_bytes(),
              f"{text} is the zip's")

    entries = prefix.uninstall_entries()
    check(len(entries) == 1, f"one entry in \"Apps\" (in {sorted(entries)})")
    entry = next(iter(entries.values()), {})
    version = re.search(r"project\(moewenschuss VERSION ([0-9.]+)",
                        (ROOT / "CMakeLists.txt").read_text()).group(1)
    exe = folder + "\\moewenschuss.exe"
    check(entry.get("DisplayName") == "Möwenschuss", f"its name ({entry.get('DisplayName')!r})")
    check(entry.get("DisplayVersion") == version, f"its version {version}")
    check(entry.get("Publisher") == "Möwenschuss-Team", "its publisher")
    check(entry.get("DisplayIcon") == exe + ",0", "its icon is the program's")
    check(entry.get("InstallLocation") == folder, "its folder")
    check(entry.get("UninstallString") == f'"{folder}\\Deinstallieren.exe"', "its uninstaller")
    size_kib = sum(p.stat().st_size for p in where.iterdir()) // 1024
    check(abs(entry.get("EstimatedSize", 0) - size_kib) <= 8,
          f"its size, {entry.get('EstimatedSize')} KiB (the folder: {size_kib} KiB)")

    links = prefix.links()
    start = [link for link in links if "Start Menu" in str(link)]
    desktop = [link for link in links if "Desktop" in str(link)]
    check(all("/users/Public/" in str(link) or "/ProgramData/" in str(link) for link in links),
          "the links are every user's")
    check(len(start) == 1 and links_point_at(start[0], exe), "one Start menu link to the program")
    check(len(desktop) == 1 and links_point_at(desktop[0], exe), "one desktop link to the program")


def tables_of_players(prefix, folder, work):
    """A game whose table the program keeps where it chooses (the game's folder, as it is
    writable under Wine), and a table in %APPDATA% as the game keeps it where it is not."""
    exe = str(prefix.path(folder) / "moewenschuss.exe")
    run = work / "table-run"
    run.mkdir()
    env = {k: v for k, v in prefix.env.items() if k != "OEDIR"}
    subprocess.run([WINE, exe, "--headless", str(GOLDEN / "highscores.script")], cwd=run, env=env,
                   capture_output=True, timeout=300)
    in_folder = prefix.path(folder) / "highscores.pdk"
    check(in_folder.exists(), "the installed program saves its table beside itself")
    in_appdata = prefix.appdata() / "moewenschuss" / "highscores.pdk"
    in_appdata.parent.mkdir(parents=True, exist_ok=True)
    shutil.copy(GOLDEN / "highscores.table", in_appdata)
    return {path: path.read_bytes() for path in (in_folder, in_appdata) if path.exists()}


def for_one_user(prefix, setup):
    status = prefix.command(f"{setup} /S /CURRENTUSER")
    check(status == 0, f"a silent install for the one user (status {status})")
    entries = prefix.uninstall_entries()
    check(sorted(entries) == ["HKCU"], f"its entry is the user's own (in {sorted(entries)})")
    folder = entries.get("HKCU", {}).get("InstallLocation", "")
    user = prefix.appdata().parents[1].name
    expected = f"C:\\users\\{user}\\AppData\\Local\\Programs\\Möwenschuss"
    check(folder.lower() == expected.lower(), f"into his programs folder ({folder})")
    links = prefix.links()
    mine = [link for link in links if f"/users/{user}/" in str(link)]
    check(len(links) == 2 and mine == links, "a link in his Start menu and one on his desktop")
    if folder:
        prefix.wine(folder + "\\Deinstallieren.exe", "/S")
        prefix.wait()
        check(not prefix.path(folder).exists() and prefix.uninstall_entries() == {} and
              prefix.links() == [], "his uninstaller removes the folder, the links and the entry")


def main(setup_exe, game_exe):
    work = Path(tempfile.mkdtemp(prefix="setup-test-"))
    try:
        prefix = Prefix(work)
        setup = "C:\\" + Path(setup_exe).name
        shutil.copy(setup_exe, prefix.path(setup))

        install(prefix, setup, FIRST)
        check(prefix.path(FIRST).joinpath("moewenschuss.exe").exists(), "the first install is there")
        install(prefix, setup, SECOND)
        check(not prefix.path(FIRST).exists(), "the second install removed the first one")
        check_installation(prefix, game_exe, SECOND)
        tables = tables_of_players(prefix, SECOND, work)

        status = prefix.wine(f"{SECOND}\\Deinstallieren.exe", "/S").returncode
        prefix.wait()
        check(status == 0, f"the silent uninstall (status {status})")
        left = sorted(p.name for p in prefix.path(SECOND).iterdir()) if prefix.path(SECOND).exists() else []
        check(left == ["highscores.pdk"], f"the uninstall removed its files and kept the table ({left})")
        check(prefix.uninstall_entries() == {}, "the entry in \"Apps\" is gone")
        check(prefix.links() == [], "the Start menu and desktop links are gone")
        for path, data in tables.items():
            check(path.exists() and path.read_bytes() == data, f"the table {path.name} in "
                  f"{path.parent.name} is kept unchanged")
        for_one_user(prefix, setup)
    finally:
        subprocess.run([WINESERVER, "-k"], env=dict(os.environ, WINEPREFIX=str(work / "prefix")),
                       capture_output=True)
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print(f"setup_test: FAILED, {len(failures)} check(s)")
        return 1
    print("setup_test: passed")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*(str(Path(arg).resolve()) for arg in sys.argv[1:])))
