#!/usr/bin/python3
"""The Linux program and another build of it play the same game: the Windows
program under Wine, or the browser's build under Node.js.

Usage: cross_system_test.py LINUX_EXE WINDOWS_EXE
       cross_system_test.py LINUX_EXE --node NODE_PROGRAM.js

- Every golden script gives the same event log, byte for byte, the same
  pictures, pixel for pixel, and the same high-score file on both systems.
- A recording made on either system replays on the other with the same log.
- A table written by either system is read by the other as clean: a visit
  saves it unchanged.
- The other program killed at random instants while it saves leaves the old
  or the new table (KILLED_SAVES kills, 20 unless set).
"""
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from PIL import Image

GOLDEN = Path(__file__).resolve().parent / "golden"
WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
ENV = dict(os.environ, SDL_AUDIODRIVER="dummy", SDL_VIDEODRIVER="dummy", WINEDEBUG="-all")
# How each system runs its program; Emscripten's loader would take Node's
# fetch() for the .wasm file.
RUNNERS = {"linux": [], "windows": [WINE], "node": ["node", "--no-experimental-fetch"]}
# Menu -> "Highscores" -> leave (the table is saved) -> "Ende".
VISIT = "0 mouse 320 350\n100 press mouse-left\n400 press escape\n800 press escape\n"
failures = []
EXE = {}


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    if not ok:
        failures.append(what)


def run(system, folder, *args, wait=True):
    """The program of `system` in `folder` (made if need be), the table kept there (OEDIR=./)."""
    folder.mkdir(parents=True, exist_ok=True)
    process = subprocess.Popen([*RUNNERS[system], EXE[system], *args], cwd=folder,
                               env=dict(ENV, OEDIR="./"), stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    if not wait:
        return process
    _, err = process.communicate(timeout=300)
    if process.returncode != 0:
        print(f"  {system} {' '.join(args)}: status {process.returncode}\n  {err.decode()}")
    return process.returncode


def pixels(png):
    return Image.open(png).convert("RGB").tobytes()


def same_game(work):
    for script in sorted(GOLDEN.glob("*.script")):
        name, table = script.stem, script.with_suffix(".table")
        args = ["--headless", str(script), "--events", "log.jsonl", "--shots", "shots"]
        if script.read_text().startswith("# --no-sound-device"):
            args.append("--no-sound-device")
        linux, other = work / name / "linux", work / name / OTHER
        for system, folder in (("linux", linux), (OTHER, other)):
            folder.mkdir(parents=True)
            if table.exists():
                shutil.copy(table, folder / "highscores.pdk")
            run(system, folder, *args)
        check((linux / "log.jsonl").read_bytes() == (other / "log.jsonl").read_bytes(),
              f"{name}: the same event log")
        shots = sorted(p.name for p in (linux / "shots").glob("*.png"))
        check(shots == sorted(p.name for p in (other / "shots").glob("*.png")),
              f"{name}: the same pictures taken")
        for shot in shots:
            check(pixels(linux / "shots" / shot) == pixels(other / "shots" / shot),
                  f"{name}: {shot} the same, pixel for pixel")
        tables = [folder / "highscores.pdk" for folder in (linux, other)]
        check(len({table.read_bytes() if table.exists() else None for table in tables}) == 1,
              f"{name}: the same high-score file, or none on either")


def recordings_cross(work):
    # The game by mouse and keys, and a visit by game pad.
    for name in ("game", "pad"):
        for recorder, player in (("linux", OTHER), (OTHER, "linux")):
            folder = work / f"record-{name}-{recorder}"
            run(recorder, folder, "--headless", str(GOLDEN / f"{name}.script"),
                "--events", "recorded.jsonl", "--record", "run.rec")
            status = run(player, folder, "--replay", "run.rec", "--no-window",
                         "--events", "replayed.jsonl")
            check(status == 0 and (folder / "recorded.jsonl").read_bytes() ==
                  (folder / "replayed.jsonl").read_bytes(),
                  f"{name}.script recorded on {recorder} replays on {player} with the same log")


def tables_cross(work):
    for writer, reader in (("linux", OTHER), (OTHER, "linux")):
        folder = work / f"table-{writer}"
        run(writer, folder, "--headless", str(GOLDEN / "highscores.script"))
        written = (folder / "highscores.pdk").read_bytes()
        (folder / "visit.script").write_text(VISIT)
        status = run(reader, folder, "--headless", "visit.script", "--events", "visit.jsonl")
        check(status == 0 and '"action":"saved"' in (folder / "visit.jsonl").read_text() and
              (folder / "highscores.pdk").read_bytes() == written,
              f"a table written on {writer} is read on {reader} as clean and kept unchanged")


def killed_saves(work, kills):
    folder, table = work / "killed", work / "killed" / "highscores.pdk"
    # The old table has a sixth record that every save drops, so old and new
    # differ in their bytes.
    run("linux", folder, "--headless", str(GOLDEN / "highscores.script"))
    new = table.read_bytes()
    old = new + new[:24]
    visits = "".join(f"{100 + 600 * i} press mouse-left\n{400 + 600 * i} press escape\n"
                     for i in range(8))
    (folder / "saves.script").write_text(f"0 mouse 320 350\n{visits}5000 press escape\n")
    table.write_bytes(old)
    started = time.monotonic()
    run(OTHER, folder, "--headless", "saves.script")
    whole = time.monotonic() - started
    check(table.read_bytes() == new, f"the {OTHER} program saves")
    chance = random.Random(20261207)  # the same instants on every run
    seen = {"old": 0, "new": 0, "other": 0}
    for _ in range(kills):
        table.write_bytes(old)
        process = run(OTHER, folder, "--headless", "saves.script", wait=False)
        time.sleep(chance.uniform(0.2, whole))
        process.send_signal(signal.SIGKILL)
        process.wait()
        left = table.read_bytes()
        seen["old" if left == old else "new" if left == new else "other"] += 1
    print(f"  {kills} kills of the {OTHER} program: {seen}")
    check(seen["other"] == 0,
          f"every killed save of the {OTHER} program left the old or the new table")


def main():
    global OTHER
    OTHER = "node" if sys.argv[2] == "--node" else "windows"
    EXE.update(linux=os.path.abspath(sys.argv[1]), **{OTHER: os.path.abspath(sys.argv[-1])})
    kills = int(os.environ.get("KILLED_SAVES", "20"))
    with tempfile.TemporaryDirectory(prefix="mw_cross_") as temporary:
        work = Path(temporary)
        same_game(work)
        recordings_cross(work)
        tables_cross(work)
        killed_saves(work, kills)
    print(f"cross-system: {'FAILED' if failures else 'passed'}, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
